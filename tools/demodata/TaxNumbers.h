#pragma once

#include <QString>

class DemoRandom;

// Brazilian tax numbers with valid modulo-11 check digits, written with the registry's mask
// punctuation: CPF "000.000.000-00", CNPJ "00.000.000/0000-00".
namespace TaxNumbers {

// Check digits appended to the given base digits (9 for a CPF, 12 for a CNPJ).
QString withCheckDigits(const QString &baseDigits);

QString cpf(DemoRandom &random);
QString cnpj(DemoRandom &random);

} // namespace TaxNumbers
