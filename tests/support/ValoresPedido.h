#pragma once

#include "Decimal.h"
#include "BasePreco.h"

#include <QString>

// Literal values for the tests of the order rules.

// A decimal written as text ("10.526"); the text must be a number.
inline Decimal d(const char *texto)
{
    return *Decimal::parse(QString::fromLatin1(texto));
}

// A product's price basis from its texts, in the order of BasePreco; a null text leaves the
// field at its default.
inline BasePreco basePreco(const char *prctab, const char *prcven, const char *maxdct, const char *fatpro = nullptr,
                            const char *rjttab = nullptr)
{
    const auto valor = [](const char *texto) { return texto ? d(texto) : Decimal(); };
    return {valor(prctab), valor(prcven), valor(maxdct), valor(fatpro), valor(rjttab), std::nullopt, 0};
}
