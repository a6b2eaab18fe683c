#pragma once

#include "D500DAT.h"

#include <QObject>

#include <functional>
#include <type_traits>

// Connects a signal to a window's handler through the program's one error boundary
// (D500DAT::executaAcao), so a failing handler shows its message instead of escaping Qt's
// event loop. handler is a member function of receiver or any callable; it receives the
// signal's arguments when it takes them and is called without them otherwise.
template <typename Sender, typename Signal, typename Receiver, typename Handler>
QMetaObject::Connection ligaAcao(Sender *sender, Signal signal, Receiver *receiver, Handler handler)
{
    return QObject::connect(sender, signal, receiver, [receiver, handler](const auto &...argumentos) {
        dat().executaAcao([&] {
            // A callable taking a bool must not be handed the receiver pointer: members first.
            if constexpr (std::is_member_function_pointer_v<Handler>) {
                if constexpr (std::is_invocable_v<Handler, Receiver *, decltype(argumentos)...>)
                    std::invoke(handler, receiver, argumentos...);
                else
                    std::invoke(handler, receiver);
            } else if constexpr (std::is_invocable_v<Handler, decltype(argumentos)...>) {
                std::invoke(handler, argumentos...);
            } else {
                std::invoke(handler);
            }
        });
    });
}
