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

// The item columns that are plain copies of ValoresItem members, in one list for reading and
// writing alike.
struct CampoDecimal
{
    const char *nome;
    Decimal ValoresItem::*membro;
};
const CampoDecimal kDecimais[] = {
    {"QTDPRO", &ValoresItem::QTDPRO}, {"VLRUNT", &ValoresItem::VLRUNT}, {"VLRTOT", &ValoresItem::VLRTOT},
    {"USOFLX", &ValoresItem::USOFLX}, {"GERFLX", &ValoresItem::GERFLX}, {"PRCTAB", &ValoresItem::PRCTAB},
    {"PRCVEN", &ValoresItem::PRCVEN}, {"MAXDCT", &ValoresItem::MAXDCT}, {"FATPRO", &ValoresItem::FATPRO},
    {"VLRSTB", &ValoresItem::VLRSTB}, {"TABCOS", &ValoresItem::TABCOS}, {"QTDFAT", &ValoresItem::QTDFAT},
    {"VLRFAT", &ValoresItem::VLRFAT},
};

struct CampoTexto
{
    const char *nome;
    QString ValoresItem::*membro;
};
const CampoTexto kTextos[] = {
    {"ITMPRM", &ValoresItem::ITMPRM}, {"SITIPF", &ValoresItem::SITIPF},
    {"SITFLX", &ValoresItem::SITFLX}, {"VLDITM", &ValoresItem::VLDITM},
};

} // namespace

ValoresItem le(const TClientDataSetPlus *itens)
{
    ValoresItem v;
    for (const CampoDecimal &c : kDecimais)
        v.*c.membro = d(itens, c.nome);
    for (const CampoTexto &c : kTextos)
        v.*c.membro = itens->asString(QLatin1String(c.nome));
    v.VLRPRM = PedidoDados::decimalOpcional(itens, QStringLiteral("VLRPRM"));
    v.PRZMAX = d(itens, "PRZMAX").toInteger(Decimal::Rounding::HalfEven);
    return v;
}

void grava(TClientDataSetPlus *itens, const ValoresItem &v)
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

BasePreco basePrecos(const TClientDataSetPlus *p)
{
    BasePreco b;
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
