#pragma once

#include <QDateTime>

#include <functional>

// The program's idea of "now" (local time). Tests set a fixed moment to check rules that
// depend on the clock, such as the expiry of the last update.
class Relogio
{
public:
    static QDateTime agora();
    // Replaces the clock; an empty function restores the system clock.
    static void setFonte(std::function<QDateTime()> source);
};
