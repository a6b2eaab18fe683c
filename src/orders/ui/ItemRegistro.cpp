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

} // namespace

ItemValues le(const TClientDataSetPlus *itens)
{
    ItemValues v;
    v.QTDPRO = d(itens, "QTDPRO");
    v.VLRUNT = d(itens, "VLRUNT");
    v.VLRTOT = d(itens, "VLRTOT");
    v.USOFLX = d(itens, "USOFLX");
    v.GERFLX = d(itens, "GERFLX");
    v.PRCTAB = d(itens, "PRCTAB");
    v.PRCVEN = d(itens, "PRCVEN");
    v.MAXDCT = d(itens, "MAXDCT");
    v.FATPRO = d(itens, "FATPRO");
    v.VLRSTB = d(itens, "VLRSTB");
    v.TABCOS = d(itens, "TABCOS");
    v.QTDFAT = d(itens, "QTDFAT");
    v.VLRFAT = d(itens, "VLRFAT");
    v.VLRPRM = PedidoDados::decimalOpcional(itens, QStringLiteral("VLRPRM"));
    v.PRZMAX = d(itens, "PRZMAX").toInteger(Decimal::Rounding::HalfEven);
    v.ITMPRM = itens->asString(QStringLiteral("ITMPRM"));
    v.SITIPF = itens->asString(QStringLiteral("SITIPF"));
    v.SITFLX = itens->asString(QStringLiteral("SITFLX"));
    v.VLDITM = itens->asString(QStringLiteral("VLDITM"));
    return v;
}

void grava(TClientDataSetPlus *itens, const ItemValues &v)
{
    poe(itens, "QTDPRO", v.QTDPRO);
    poe(itens, "VLRUNT", v.VLRUNT);
    poe(itens, "VLRTOT", v.VLRTOT);
    poe(itens, "USOFLX", v.USOFLX);
    poe(itens, "GERFLX", v.GERFLX);
    poe(itens, "PRCTAB", v.PRCTAB);
    poe(itens, "PRCVEN", v.PRCVEN);
    poe(itens, "MAXDCT", v.MAXDCT);
    poe(itens, "FATPRO", v.FATPRO);
    poe(itens, "VLRSTB", v.VLRSTB);
    poe(itens, "TABCOS", v.TABCOS);
    poe(itens, "QTDFAT", v.QTDFAT);
    poe(itens, "VLRFAT", v.VLRFAT);
    if (v.VLRPRM)
        poe(itens, "VLRPRM", *v.VLRPRM);
    else
        itens->clearValue(QStringLiteral("VLRPRM"));
    itens->setValue(QStringLiteral("PRZMAX"), QString::number(v.PRZMAX));
    itens->setValue(QStringLiteral("ITMPRM"), v.ITMPRM);
    itens->setValue(QStringLiteral("SITIPF"), v.SITIPF);
    itens->setValue(QStringLiteral("SITFLX"), v.SITFLX);
    itens->setValue(QStringLiteral("VLDITM"), v.VLDITM);
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
