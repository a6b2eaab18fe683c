#include "TaxNumbers.h"

#include "DemoRandom.h"

namespace {

int checkDigit(const QString &digits, bool cnpj)
{
    // CPF weights run down from length+1 to 2; CNPJ weights cycle 2..9 from the right.
    int sum = 0;
    const int n = int(digits.size());
    for (int i = 0; i < n; ++i) {
        const int digit = digits.at(i).digitValue();
        const int weight = cnpj ? 2 + ((n - 1 - i) % 8) : n + 1 - i;
        sum += digit * weight;
    }
    const int rest = sum % 11;
    return rest < 2 ? 0 : 11 - rest;
}

QString randomDigits(DemoRandom &random, int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar(u'0' + random.between(0, 9));
    // All-equal sequences pass the arithmetic but are refused as tax numbers.
    if (text == QString(count, text.front()))
        text[0] = QChar(text.front() == u'1' ? u'2' : u'1');
    return text;
}

} // namespace

namespace TaxNumbers {

QString withCheckDigits(const QString &baseDigits)
{
    const bool cnpj = baseDigits.size() == 12;
    QString digits = baseDigits;
    digits += QChar(u'0' + checkDigit(digits, cnpj));
    digits += QChar(u'0' + checkDigit(digits, cnpj));
    return digits;
}

QString cpf(DemoRandom &random)
{
    const QString d = withCheckDigits(randomDigits(random, 9));
    return d.left(3) + u'.' + d.mid(3, 3) + u'.' + d.mid(6, 3) + u'-' + d.mid(9, 2);
}

QString cnpj(DemoRandom &random)
{
    // Head office: branch number 0001.
    const QString d = withCheckDigits(randomDigits(random, 8) + QStringLiteral("0001"));
    return d.left(2) + u'.' + d.mid(2, 3) + u'.' + d.mid(5, 3) + u'/' + d.mid(8, 4) + u'-' + d.mid(12, 2);
}

} // namespace TaxNumbers
