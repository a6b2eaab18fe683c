#pragma once

#include <QChar>
#include <QString>
#include <QStringView>

#include <optional>

// An exact decimal for report values and totals: a whole count of units of 10^-scale, so a sum
// of 0.10 three times is 0.30 and never 0.30000000000000004. Printed with any separators,
// whatever the machine's locale.
class NumeroRelatorio
{
public:
    static constexpr int maxEscala = 18;

    // Reads a number in statement form ("-1234.5", "12"); blanks around are ignored. Digits past
    // maxEscala are dropped. Empty or malformed text gives nullopt.
    static std::optional<NumeroRelatorio> le(QStringView texto);
    // A value a NUMERIC column of that scale gave (already rounded to it), taken exactly.
    static NumeroRelatorio deNumeric(double valor, int escala);

    NumeroRelatorio &operator+=(const NumeroRelatorio &outro);
    bool isZero() const { return m_unidades == 0; }
    double toDouble() const;

    // The value rounded half away from zero to 'decimais', with the thousands separator every
    // three digits (none when milhar is null): formata(2, ',', '.') of 1234.5 is "1.234,50".
    QString formata(int decimais, QChar decimal, QChar milhar) const;

private:
    using Unidades = __int128;
    Unidades naEscala(int escala) const;

    Unidades m_unidades = 0;
    int m_escala = 0;
};
