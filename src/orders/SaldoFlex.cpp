#include "SaldoFlex.h"

#include "StatementRun.h"

SaldoFlex::Exibicao SaldoFlex::calcula(const std::optional<Decimal> &saldo, const Decimal &flexAbertura,
                                          const Decimal &usado, const Decimal &previsto)
{
    Exibicao display;
    display.disponivel = saldo.value_or(Decimal::fromUnits(0, 2)) + flexAbertura;
    display.usado = usado;
    display.total = display.disponivel - usado;
    display.previsto = previsto;
    if (display.total.sign() >= 0) {
        display.corTotal = Cor::Verde;
        display.suficiente = true;
    } else {
        display.corTotal = Cor::Vermelho;
        // An order that uses no flex can be saved even when the balance is negative.
        display.suficiente = usado.sign() <= 0;
    }
    return display;
}

QString SaldoFlex::instrucao()
{
    return QStringLiteral(
        "SELECT COALESCE(U.CNTSAL,0) - COALESCE(A.FLXABERTO,0) SALDOFLX "
        "FROM F512VEN U, "
        "(SELECT SUM(I.USOFLX) FLXABERTO FROM F530PDF P, F530IPF I "
        "WHERE P.CODEMP = I.CODEMP AND P.CODPDF = I.CODPDF AND P.CODINT = I.CODINT "
        "AND P.SITFLX = 'N' AND P.CODEMP = :PCODEMP AND P.CODVEN = :PCODVEN) A "
        "WHERE U.CODEMP = :PCODEMP AND U.CODVEN = :PCODVEN");
}

std::optional<Decimal> SaldoFlex::le(FirebirdConnection &connection, const QString &CODEMP,
                                         const QString &CODVEN)
{
    QSqlQuery consulta = StatementRun::run(connection, instrucao(),
                                        {{QStringLiteral("PCODEMP"), CODEMP}, {QStringLiteral("PCODVEN"), CODVEN}});
    if (!consulta.next())
        return std::nullopt;
    return Decimal::fromText(consulta.value(0).toString(), 2);
}

const QString SaldoFlex::kSelectFlexPedidoGravado = QStringLiteral(
    "SELECT COALESCE(SUM(I.USOFLX),0) FROM F530PDF P, F530IPF I "
    "WHERE P.CODEMP = I.CODEMP AND P.CODPDF = I.CODPDF AND P.CODINT = I.CODINT "
    "AND P.SITFLX = 'N' AND P.CODEMP = :PCODEMP AND P.CODPDF = :PCODPDF AND P.CODINT = :PCODINT");

Decimal SaldoFlex::leFlexAbertura(FirebirdConnection &connection, const QString &CODEMP, const QString &CODPDF,
                                     const QString &CODINT)
{
    if (CODPDF.isEmpty())
        return Decimal::fromUnits(0, 2);
    QSqlQuery consulta = StatementRun::run(connection, kSelectFlexPedidoGravado,
                                        {{QStringLiteral("PCODEMP"), CODEMP},
                                         {QStringLiteral("PCODPDF"), CODPDF},
                                         {QStringLiteral("PCODINT"), CODINT.isEmpty() ? QStringLiteral("0") : CODINT}});
    return consulta.next() ? Decimal::fromText(consulta.value(0).toString(), 2) : Decimal::fromUnits(0, 2);
}
