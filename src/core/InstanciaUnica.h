#pragma once

#include <QString>

#include <memory>

class QLockFile;

// Keeps a second program from working on the same program folder (and so on the same
// database file and order-recovery files): a lock file in the folder, held for the whole run.
// A lock left by a program that no longer runs is taken over.
class InstanciaUnica
{
public:
    explicit InstanciaUnica(const QString &folder);
    ~InstanciaUnica();
    InstanciaUnica(const InstanciaUnica &) = delete;
    InstanciaUnica &operator=(const InstanciaUnica &) = delete;

    // True when this program now holds the folder; false when another one does.
    bool trava();
    bool travada() const;

    static QString nomeArquivo(); // "korvex.lock"
    static QString mensagemJaAberto();

private:
    std::unique_ptr<QLockFile> m_lock;
};
