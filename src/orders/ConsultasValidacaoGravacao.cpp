#include "ConsultasValidacaoGravacao.h"

#include "Decimal.h"
#include "StatementRun.h"

namespace {

// An empty code is bound as 0, which no row carries, instead of text a NUMERIC cannot take.
QString codigo(const QString &valor)
{
    const QString trimmed = valor.trimmed();
    return trimmed.isEmpty() ? QStringLiteral("0") : trimmed;
}

} // namespace

QString ConsultasValidacaoGravacao::instrucaoCentrosCusto()
{
    return QStringLiteral("SELECT DISTINCT CODCCU, DESCCU FROM F515CCU WHERE CODEMP = :PCODEMP");
}

QString ConsultasValidacaoGravacao::instrucaoOperacaoPermitida()
{
    return QStringLiteral("SELECT * FROM F513OCU WHERE CODEMP = :PCODEMP AND CODCCU = :PCODCCU AND CODOPE = :PCODOPE");
}

QString ConsultasValidacaoGravacao::instrucaoOperacoesPermitidas()
{
    return QStringLiteral("SELECT DISTINCT O.NOMOPE FROM F513OPE O, F510OPC C "
                          "WHERE O.CODOPE = C.CODOPE AND O.CODEMP = C.CODEMP AND C.CODCLI = :PCODCLI "
                          "AND O.CODOPE IN (SELECT CODOPE FROM F513OCU WHERE CODEMP = :PCODEMP AND CODCCU = :PCODCCU)");
}

QVector<ValidacaoGravacaoPedido::CentroCusto> ConsultasValidacaoGravacao::carrega(FirebirdConnection &connection, const QString &CODEMP,
                                                               const QString &CODOPE, const QString &CODCLI,
                                                               const QSet<qint64> &centrosCustoItens)
{
    QVector<ValidacaoGravacaoPedido::CentroCusto> centres;
    QSqlQuery list = StatementRun::run(connection, instrucaoCentrosCusto(), {{QStringLiteral("PCODEMP"), codigo(CODEMP)}});
    while (list.next()) {
        ValidacaoGravacaoPedido::CentroCusto centre;
        centre.CODCCU = Decimal::fromText(list.value(0).toString(), 0).toInteger(Decimal::Rounding::HalfAwayFromZero);
        centre.DESCCU = list.value(1).toString();
        centres.append(centre);
    }
    for (ValidacaoGravacaoPedido::CentroCusto &centre : centres) {
        if (!centrosCustoItens.contains(centre.CODCCU))
            continue;
        const QString centreCode = QString::number(centre.CODCCU);
        QSqlQuery allowed = StatementRun::run(connection, instrucaoOperacaoPermitida(),
                                              {{QStringLiteral("PCODEMP"), codigo(CODEMP)},
                                               {QStringLiteral("PCODCCU"), centreCode},
                                               {QStringLiteral("PCODOPE"), codigo(CODOPE)}});
        centre.operacaoPermitida = allowed.next();
        if (centre.operacaoPermitida)
            continue;
        QSqlQuery names = StatementRun::run(connection, instrucaoOperacoesPermitidas(),
                                            {{QStringLiteral("PCODCLI"), codigo(CODCLI)},
                                             {QStringLiteral("PCODEMP"), codigo(CODEMP)},
                                             {QStringLiteral("PCODCCU"), centreCode}});
        while (names.next())
            centre.nomesOperacoesPermitidas.append(names.value(0).toString());
    }
    return centres;
}
