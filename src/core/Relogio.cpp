#include "Relogio.h"

namespace {
std::function<QDateTime()> s_fonte;
}

QDateTime Relogio::agora()
{
    return s_fonte ? s_fonte() : QDateTime::currentDateTime();
}

void Relogio::setFonte(std::function<QDateTime()> source)
{
    s_fonte = std::move(source);
}
