#pragma once

#include <functional>

// The one way the program ends on its own (login abandoned, no configured user, a second
// instance, "Sair"): every such end goes through encerraPrograma, so a test can replace what
// ending does and the windows can see that the end was asked for and stop what they do.
class Encerramento
{
public:
    using Gancho = std::function<void()>;

    // Marks the end as asked for and runs the hook (by default: leave the event loop).
    static void encerraPrograma();
    // True once encerraPrograma was called.
    static bool solicitado();

    // Replaces what ending does; an empty hook restores the default.
    static void setGancho(Gancho hook);
    // Forgets an earlier request (tests start each case clean).
    static void reinicia();
};
