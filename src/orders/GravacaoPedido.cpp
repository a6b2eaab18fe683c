#include "GravacaoPedido.h"

#include "FirebirdConnection.h"
#include "SqlText.h"
#include "StatementRun.h"

namespace {

QString condicaoOrigem(const GravacaoPedido::Chave &origem)
{
    return QStringLiteral(" WHERE CODEMP = ") + SqlText::quoted(origem.CODEMP) + QStringLiteral(" AND   CODPDF = ")
        + SqlText::quoted(origem.CODPDF) + QStringLiteral(" AND   CODINT = ") + SqlText::quoted(origem.CODINT);
}

// The new number enters the statements as a number, never as typed text.
QString textoNumero(const QString &N)
{
    return QString::number(N.trimmed().toLongLong());
}

} // namespace

bool GravacaoPedido::temItensPendentes(FirebirdConnection &connection, const Chave &origem)
{
    QSqlQuery q = StatementRun::run(connection,
                                    QStringLiteral("SELECT COUNT(*) FROM F530IPF WHERE QTDPRO > QTDFAT AND CODEMP = :E "
                                                   "AND CODPDF = :P AND CODINT = :I"),
                                    {{QStringLiteral("E"), origem.CODEMP},
                                     {QStringLiteral("P"), origem.CODPDF},
                                     {QStringLiteral("I"), origem.CODINT}});
    return q.next() && q.value(0).toLongLong() > 0;
}

QString GravacaoPedido::instrucaoCopiaItens(const Chave &origem, const QString &N, bool somentePendentes)
{
    QString sql = QStringLiteral(
        " INSERT INTO F530IPF (CODEMP,CODCCU,CODPDF,CODPRO,CODINT,DESPRO,UNDPRO,QTDPRO,VLRUNT,VLRTOT,USOFLX,"
        "QTDFAT,VLRFAT,FATPRO,MAXDCT,PRCVEN,PRCTAB,TABCOS,CODCOS,GERFLX,ITMPRM,SITFLX,SITIPF)");
    if (somentePendentes)
        sql += QStringLiteral(" SELECT CODEMP,CODCCU,") + textoNumero(N)
            + QStringLiteral(" AS CODPDF,CODPRO,0 AS CODINT,DESPRO,UNDPRO,(QTDPRO-QTDFAT) QTD,VLRUNT,"
                             "((QTDPRO-QTDFAT) * VLRUNT) TOT,(USOFLX/QTDPRO)*(QTDPRO-QTDFAT) FLX,0 AS QTDFAT,"
                             "0 AS VLRFAT, FATPRO,MAXDCT,PRCVEN,PRCTAB,TABCOS,CODCOS,"
                             " (GERFLX/QTDPRO)*(QTDPRO-QTDFAT) GERFLX, ITMPRM, 'S', 'D' ");
    else
        sql += QStringLiteral(" SELECT CODEMP,CODCCU,") + textoNumero(N)
            + QStringLiteral(" AS CODPDF,CODPRO,0 AS CODINT,DESPRO,UNDPRO,QTDPRO,VLRUNT,VLRTOT,USOFLX,0 AS QTDFAT,"
                             "0 AS VLRFAT, FATPRO,MAXDCT,PRCVEN,PRCTAB,TABCOS,CODCOS, GERFLX, ITMPRM, 'S', 'D' ");
    sql += QStringLiteral(" FROM F530IPF ") + condicaoOrigem(origem);
    if (somentePendentes)
        sql += QStringLiteral(" AND   QTDPRO > QTDFAT ");
    return sql;
}

QString GravacaoPedido::instrucaoCopiaCabecalho(const Chave &origem, const QString &N, const QDate &hoje)
{
    return QStringLiteral(" INSERT INTO F530PDF (CODEMP,CODPDF,CODINT,CODTAB,DATPDF,CODCLI,CODNOV,TOTPDF,TOTFLX,CODTRA,"
                          "CODCON,CODOPE,SITPDF,CODVEN,OBSCLI,MOTCAN,SITFLX,PDFORC,RETPDV,VENSUB) ")
        + QStringLiteral(" SELECT CODEMP,") + textoNumero(N) + QStringLiteral(" AS CODPDF,0 AS CODINT,CODTAB,")
        + SqlText::dateLiteral(hoje, SqlText::DateForm::AmericanDash)
        + QStringLiteral(" AS DATPDF,CODCLI,CODNOV,TOTPDF,TOTFLX,CODTRA,CODCON,CODOPE,'D' AS SITPDF,CODVEN,OBSCLI,"
                         " NULL AS MOTCAN,'N' SITFLX, PDFORC, RETPDV, VENSUB ")
        + QStringLiteral(" FROM F530PDF ") + condicaoOrigem(origem);
}

bool GravacaoPedido::copia(FirebirdConnection &connection, const Chave &origem, const QString &N, bool somentePendentes,
                      const QDate &hoje)
{
    TransactionGuard transaction(connection);
    StatementRun::run(connection, instrucaoCopiaItens(origem, N, somentePendentes));
    if (StatementRun::run(connection, instrucaoCopiaCabecalho(origem, N, hoje)).numRowsAffected() <= 0)
        return false;
    transaction.commit();
    return true;
}

void GravacaoPedido::exclui(FirebirdConnection &connection, const QString &CODEMP, const QString &CODPDF)
{
    const QString condicao = QStringLiteral(" WHERE CODEMP = ") + SqlText::quoted(CODEMP)
        + QStringLiteral(" AND   CODPDF = ") + SqlText::quoted(CODPDF);
    TransactionGuard transaction(connection);
    StatementRun::run(connection, QStringLiteral(" DELETE FROM F530IPF ") + condicao);
    StatementRun::run(connection, QStringLiteral(" DELETE FROM F530PDF ") + condicao);
    transaction.commit();
}

void GravacaoPedido::excluiExato(FirebirdConnection &connection, const Chave &pedido)
{
    TransactionGuard transaction(connection);
    StatementRun::run(connection, QStringLiteral(" DELETE FROM F530IPF ") + condicaoOrigem(pedido));
    StatementRun::run(connection, QStringLiteral(" DELETE FROM F530PDF ") + condicaoOrigem(pedido));
    transaction.commit();
}
