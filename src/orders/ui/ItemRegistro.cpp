#include "ItemRegistro.h"

#include "ClientDataSetPlus.h"
#include "PedidoDados.h"

namespace ItemRegistro {

namespace {

Decimal d(const TClientDataSetPlus *ds, const char *campo)
{
    return PedidoDados::decimal(ds, QLatin1String(campo));
}

void poe(TClientDataSetPlus *ds, const char *campo, const Decimal &valor)
{
    ds->setValue(QLatin1String(campo), valor.toString());
}

// The item columns that are plain copies of ItemValues members, in one list for reading and
// writing alike.
struct CampoDecimal
{
    const char *nome;
    Decimal ItemValues::*membro;
};
const CampoDecimal kDecimais[] = {
    {"QTDPRO", &ItemValues::QTDPRO}, {"VLRUNT", &ItemValues::VLRUNT}, {"VLRTOT", &ItemValues::VLRTOT},
    {"USOFLX", &ItemValues::USOFLX}, {"GERFLX", &ItemValues::GERFLX}, {"PRCTAB", &ItemValues::PRCTAB},
    {"PRCVEN", &ItemValues::PRCVEN}, {"MAXDCT", &ItemValues::MAXDCT}, {"FATPRO", &ItemValues::FATPRO},
    {"VLRSTB", &ItemValues::VLRSTB}, {"TABCOS", &ItemValues::TABCOS}, {"QTDFAT", &ItemValues::QTDFAT},
    {"VLRFAT", &ItemValues::VLRFAT},
};

struct CampoTexto
{
    const char *nome;
    QString ItemValues::*membro;
};
const CampoTexto kTextos[] = {
    {"ITMPRM", &ItemValues::ITMPRM}, {"SITIPF", &ItemValues::SITIPF},
    {"SITFLX", &ItemValues::SITFLX}, {"VLDITM", &ItemValues::VLDITM},
};

} // namespace

ItemValues le(const TClientDataSetPlus *itens)
{
    ItemValues v;
    for (const CampoDecimal &c : kDecimais)
        v.*c.membro = d(itens, c.nome);
    for (const CampoTexto &c : kTextos)
        v.*c.membro = itens->asString(QLatin1String(c.nome));
    v.VLRPRM = PedidoDados::decimalOpcional(itens, QStringLiteral("VLRPRM"));
    v.PRZMAX = d(itens, "PRZMAX").toInteger(Decimal::Rounding::HalfEven);
    return v;
}

void grava(TClientDataSetPlus *itens, const ItemValues &v)
{
    for (const CampoDecimal &c : kDecimais)
        poe(itens, c.nome, v.*c.membro);
    for (const CampoTexto &c : kTextos)
        itens->setValue(QLatin1String(c.nome), v.*c.membro);
    if (v.VLRPRM)
        poe(itens, "VLRPRM", *v.VLRPRM);
    else
        itens->clearValue(QStringLiteral("VLRPRM"));
    itens->setValue(QStringLiteral("PRZMAX"), QString::number(v.PRZMAX));
}

PriceBasis basePrecos(const TClientDataSetPlus *p)
{
    PriceBasis b;
    b.PRCTAB = d(p, "PRCTAB");
    b.PRCVEN = d(p, "PRCVEN");
    b.MAXDCT = d(p, "MAXDCT");
    b.FATPRO = d(p, "FATPRO");
    b.RJTTAB = d(p, "RJTTAB");
    b.VLRPRM = PedidoDados::decimalOpcional(p, QStringLiteral("VLRPRM"));
    b.PRZMAX = d(p, "PRZMAX").toInteger(Decimal::Rounding::HalfEven);
    return b;
}

} // namespace ItemRegistro
