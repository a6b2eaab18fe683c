#include "NumeroRelatorio.h"

#include <algorithm>
#include <cmath>
#include <iterator>

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

NumeroRelatorio NumeroRelatorio::deNumeric(double valor, int escala)
{
    NumeroRelatorio n;
    n.m_escala = std::clamp(escala, 0, maxEscala);
    n.m_unidades = Unidades(std::llround(valor * double(potencia10(n.m_escala))));
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
    // Written from the last digit backwards into a buffer wide enough for 39 digits,
    // their separators and the sign.
    char16_t buffer[96];
    char16_t *fim = buffer + std::size(buffer);
    char16_t *p = fim;
    int posicao = 0;
    const bool negativo = m_unidades < 0 && u != 0;
    do {
        if (posicao == decimais && decimais > 0)
            *--p = decimal.unicode();
        else if (posicao > decimais && (posicao - decimais) % 3 == 0 && !milhar.isNull())
            *--p = milhar.unicode();
        *--p = char16_t(u'0' + int(u % 10));
        u /= 10;
        ++posicao;
    } while (u > 0 || posicao <= decimais);
    if (negativo)
        *--p = u'-';
    return QString(reinterpret_cast<const QChar *>(p), fim - p);
}
