#include "GravacaoPedido.h"

#include "FirebirdConnection.h"
#include "SqlText.h"
#include "StatementRun.h"

namespace {

QString sourceCondition(const GravacaoPedido::Chave &source)
{
    return QStringLiteral(" WHERE CODEMP = ") + SqlText::quoted(source.CODEMP) + QStringLiteral(" AND   CODPDF = ")
        + SqlText::quoted(source.CODPDF) + QStringLiteral(" AND   CODINT = ") + SqlText::quoted(source.CODINT);
}

// The new number enters the statements as a number, never as typed text.
QString numberText(const QString &N)
{
    return QString::number(N.trimmed().toLongLong());
}

} // namespace

bool GravacaoPedido::temItensPendentes(FirebirdConnection &connection, const Chave &source)
{
    QSqlQuery q = StatementRun::run(connection,
                                    QStringLiteral("SELECT COUNT(*) FROM F530IPF WHERE QTDPRO > QTDFAT AND CODEMP = :E "
                                                   "AND CODPDF = :P AND CODINT = :I"),
                                    {{QStringLiteral("E"), source.CODEMP},
                                     {QStringLiteral("P"), source.CODPDF},
                                     {QStringLiteral("I"), source.CODINT}});
    return q.next() && q.value(0).toLongLong() > 0;
}

QString GravacaoPedido::instrucaoCopiaItens(const Chave &source, const QString &N, bool pendingOnly)
{
    QString sql = QStringLiteral(
        " INSERT INTO F530IPF (CODEMP,CODCCU,CODPDF,CODPRO,CODINT,DESPRO,UNDPRO,QTDPRO,VLRUNT,VLRTOT,USOFLX,"
        "QTDFAT,VLRFAT,FATPRO,MAXDCT,PRCVEN,PRCTAB,TABCOS,CODCOS,GERFLX,ITMPRM,SITFLX,SITIPF)");
    if (pendingOnly)
        sql += QStringLiteral(" SELECT CODEMP,CODCCU,") + numberText(N)
            + QStringLiteral(" AS CODPDF,CODPRO,0 AS CODINT,DESPRO,UNDPRO,(QTDPRO-QTDFAT) QTD,VLRUNT,"
                             "((QTDPRO-QTDFAT) * VLRUNT) TOT,(USOFLX/QTDPRO)*(QTDPRO-QTDFAT) FLX,0 AS QTDFAT,"
                             "0 AS VLRFAT, FATPRO,MAXDCT,PRCVEN,PRCTAB,TABCOS,CODCOS,"
                             " (GERFLX/QTDPRO)*(QTDPRO-QTDFAT) GERFLX, ITMPRM, 'S', 'D' ");
    else
        sql += QStringLiteral(" SELECT CODEMP,CODCCU,") + numberText(N)
            + QStringLiteral(" AS CODPDF,CODPRO,0 AS CODINT,DESPRO,UNDPRO,QTDPRO,VLRUNT,VLRTOT,USOFLX,0 AS QTDFAT,"
                             "0 AS VLRFAT, FATPRO,MAXDCT,PRCVEN,PRCTAB,TABCOS,CODCOS, GERFLX, ITMPRM, 'S', 'D' ");
    sql += QStringLiteral(" FROM F530IPF ") + sourceCondition(source);
    if (pendingOnly)
        sql += QStringLiteral(" AND   QTDPRO > QTDFAT ");
    return sql;
}

QString GravacaoPedido::instrucaoCopiaCabecalho(const Chave &source, const QString &N, const QDate &today)
{
    return QStringLiteral(" INSERT INTO F530PDF (CODEMP,CODPDF,CODINT,CODTAB,DATPDF,CODCLI,CODNOV,TOTPDF,TOTFLX,CODTRA,"
                          "CODCON,CODOPE,SITPDF,CODVEN,OBSCLI,MOTCAN,SITFLX,PDFORC,RETPDV,VENSUB) ")
        + QStringLiteral(" SELECT CODEMP,") + numberText(N) + QStringLiteral(" AS CODPDF,0 AS CODINT,CODTAB,")
        + SqlText::dateLiteral(today, SqlText::DateForm::AmericanDash)
        + QStringLiteral(" AS DATPDF,CODCLI,CODNOV,TOTPDF,TOTFLX,CODTRA,CODCON,CODOPE,'D' AS SITPDF,CODVEN,OBSCLI,"
                         " NULL AS MOTCAN,'N' SITFLX, PDFORC, RETPDV, VENSUB ")
        + QStringLiteral(" FROM F530PDF ") + sourceCondition(source);
}

bool GravacaoPedido::copia(FirebirdConnection &connection, const Chave &source, const QString &N, bool pendingOnly,
                      const QDate &today)
{
    TransactionGuard transaction(connection);
    StatementRun::run(connection, instrucaoCopiaItens(source, N, pendingOnly));
    if (StatementRun::run(connection, instrucaoCopiaCabecalho(source, N, today)).numRowsAffected() <= 0)
        return false;
    transaction.commit();
    return true;
}

void GravacaoPedido::exclui(FirebirdConnection &connection, const QString &CODEMP, const QString &CODPDF)
{
    const QString condition = QStringLiteral(" WHERE CODEMP = ") + SqlText::quoted(CODEMP)
        + QStringLiteral(" AND   CODPDF = ") + SqlText::quoted(CODPDF);
    TransactionGuard transaction(connection);
    StatementRun::run(connection, QStringLiteral(" DELETE FROM F530IPF ") + condition);
    StatementRun::run(connection, QStringLiteral(" DELETE FROM F530PDF ") + condition);
    transaction.commit();
}

void GravacaoPedido::excluiExato(FirebirdConnection &connection, const Chave &order)
{
    TransactionGuard transaction(connection);
    StatementRun::run(connection, QStringLiteral(" DELETE FROM F530IPF ") + sourceCondition(order));
    StatementRun::run(connection, QStringLiteral(" DELETE FROM F530PDF ") + sourceCondition(order));
    transaction.commit();
}
