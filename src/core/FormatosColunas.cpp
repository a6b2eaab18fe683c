#include "FormatosColunas.h"

#include "Formatos.h"

#include <QHash>

namespace {

const QString kCodigo = QStringLiteral("00000");
const QString kProduto = QStringLiteral("0000000");
const QString kDinheiro = QStringLiteral("###,###,##0.00");
const QString kValor = QStringLiteral("##,###,##0.00");
const QString kPreco = QStringLiteral("##,###,##0.000");
const QString kDoisDigitos = QStringLiteral("00");

const QHash<QString, QString> &tabela()
{
    static const QHash<QString, QString> mascaras = {
        // codes
        {QStringLiteral("CODCLI"), kCodigo},
        {QStringLiteral("CODTIP"), kCodigo},
        {QStringLiteral("CODVEN"), kCodigo},
        {QStringLiteral("CODPDF"), kCodigo},
        {QStringLiteral("CODPDV"), kCodigo},
        {QStringLiteral("NUMTRC"), kCodigo},
        {QStringLiteral("CODGFA"), kCodigo},
        {QStringLiteral("CODFAM"), QStringLiteral("0000")},
        {QStringLiteral("CODPRO"), kProduto},
        // customers and titles
        {QStringLiteral("LIMCRE"), kValor},
        {QStringLiteral("ABERTO"), kValor},
        {QStringLiteral("VENCIDO"), kValor},
        {QStringLiteral("VLRTRC"), kDinheiro},
        {QStringLiteral("TOTTIT"), kDinheiro},
        {QStringLiteral("DIAVCT"), kDoisDigitos},
        {QStringLiteral("SEMANA"), kDoisDigitos},
        // products, prices and promotions
        {QStringLiteral("PRCVEN"), kPreco},
        {QStringLiteral("NOVPRV"), kPreco},
        {QStringLiteral("PESPRO"), kPreco},
        {QStringLiteral("VLRPRM"), QStringLiteral("##,##0.000")},
        {QStringLiteral("DISPRO"), kDoisDigitos},
        {QStringLiteral("FATPRO"), kDoisDigitos},
        {QStringLiteral("PRZMAX"), kDoisDigitos},
        // orders and their items
        {QStringLiteral("TOTPDF"), kDinheiro},
        {QStringLiteral("TOTFAT"), kDinheiro},
        {QStringLiteral("TOTGER"), kDinheiro},
        {QStringLiteral("VLRTOT"), kDinheiro},
        {QStringLiteral("VLRUNT"), kPreco},
        {QStringLiteral("QTDPRO"), kValor},
        {QStringLiteral("QTDFAT"), kValor},
        {QStringLiteral("USOFLX"), kValor},
        {QStringLiteral("VLRSTB"), kValor},
        {QStringLiteral("QTDITM"), QStringLiteral("000")},
        // flex accounts
        {QStringLiteral("CNTSAL"), kDinheiro},
        {QStringLiteral("CNTACU"), kDinheiro},
        {QStringLiteral("VLRMOV"), kValor},
    };
    return mascaras;
}

} // namespace

namespace FormatosColunas {

QString mascara(const QString &coluna)
{
    return tabela().value(coluna.trimmed().toUpper());
}

QString formata(const QString &coluna, double valor)
{
    const QString m = mascara(coluna);
    return m.isEmpty() ? Formatos::number(valor) : Formatos::formatMask(valor, m);
}

int casas(const QString &coluna)
{
    static const QHash<QString, int> decimais = {
        {QStringLiteral("PRCVEN"), 3}, {QStringLiteral("PRCTAB"), 3}, {QStringLiteral("NOVPRV"), 3},
        {QStringLiteral("VLRPRM"), 3}};
    return decimais.value(coluna.trimmed().toUpper(), -1);
}

} // namespace FormatosColunas
