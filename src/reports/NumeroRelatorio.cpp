#include "NumeroRelatorio.h"

#include <algorithm>

namespace {

using Unidades = __int128;

Unidades potencia10(int n)
{
    Unidades p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

} // namespace

std::optional<NumeroRelatorio> NumeroRelatorio::le(QStringView texto)
{
    texto = texto.trimmed();
    if (texto.isEmpty())
        return std::nullopt;
    bool negativo = false;
    qsizetype i = 0;
    if (texto.at(0) == QLatin1Char('-') || texto.at(0) == QLatin1Char('+')) {
        negativo = texto.at(0) == QLatin1Char('-');
        ++i;
    }
    Unidades unidades = 0;
    int escala = 0;
    bool ponto = false;
    bool digitos = false;
    for (; i < texto.size(); ++i) {
        const QChar c = texto.at(i);
        if (c == QLatin1Char('.') && !ponto) {
            ponto = true;
        } else if (c.isDigit()) {
            digitos = true;
            if (ponto && escala == maxEscala)
                continue;
            if (unidades > potencia10(36))
                return std::nullopt; // beyond what a report value can be
            unidades = unidades * 10 + c.digitValue();
            if (ponto)
                ++escala;
        } else {
            return std::nullopt;
        }
    }
    if (!digitos)
        return std::nullopt;
    NumeroRelatorio n;
    n.m_unidades = negativo ? -unidades : unidades;
    n.m_escala = escala;
    return n;
}

NumeroRelatorio::Unidades NumeroRelatorio::naEscala(int escala) const
{
    return m_unidades * potencia10(escala - m_escala);
}

NumeroRelatorio &NumeroRelatorio::operator+=(const NumeroRelatorio &outro)
{
    const int escala = std::max(m_escala, outro.m_escala);
    m_unidades = naEscala(escala) + outro.naEscala(escala);
    m_escala = escala;
    return *this;
}

double NumeroRelatorio::toDouble() const
{
    return double(m_unidades) / double(potencia10(m_escala));
}

QString NumeroRelatorio::formata(int decimais, QChar decimal, QChar milhar) const
{
    decimais = std::clamp(decimais, 0, maxEscala);
    Unidades u = m_unidades < 0 ? -m_unidades : m_unidades;
    if (decimais >= m_escala) {
        u *= potencia10(decimais - m_escala);
    } else {
        const Unidades divisor = potencia10(m_escala - decimais);
        const Unidades resto = u % divisor;
        u /= divisor;
        if (resto * 2 >= divisor)
            ++u;
    }
    QString digitos;
    do {
        digitos.prepend(QChar(u'0' + int(u % 10)));
        u /= 10;
    } while (u > 0);
    if (digitos.size() <= decimais)
        digitos.prepend(QString(decimais - digitos.size() + 1, QLatin1Char('0')));
    const QString inteira = digitos.left(digitos.size() - decimais);
    QString saida;
    saida.reserve(digitos.size() + digitos.size() / 3 + 2);
    if (m_unidades < 0 && digitos.count(QLatin1Char('0')) != digitos.size())
        saida += QLatin1Char('-');
    for (qsizetype i = 0; i < inteira.size(); ++i) {
        if (i > 0 && !milhar.isNull() && (inteira.size() - i) % 3 == 0)
            saida += milhar;
        saida += inteira.at(i);
    }
    if (decimais > 0) {
        saida += decimal;
        saida += QStringView(digitos).right(decimais);
    }
    return saida;
}
