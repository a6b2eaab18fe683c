#pragma once

#include <exception>

// Ends an action silently after its refusal was already shown with exibeMensagem: the
// handler boundary (D500DAT::executaAcao) swallows it without a further box.
class AcaoInterrompida : public std::exception
{
public:
    const char *what() const noexcept override { return "ação interrompida"; }
};
