#include "RoteiroClientes.h"

#include "ClientDataSetPlus.h"
#include "DatabaseError.h"
#include "Formatos.h"

#include <array>

// The company filter keeps the customers of other companies delivered in the same file out
// of the seller's route (an order started for one would name the wrong customer).
const QString RoteiroClientes::kSelectRoteiro = QStringLiteral(
    "SELECT DISTINCT C.CODCLI, C.RAZCLI, C.OBSCLI, C.EMIAVS, C.CODVEN, "
    "'('||C.DDAEND||') '||C.TEAEND TELEND, "
    "C.ENDEND||','||C.NUMEND ENDCLI, "
    "COALESCE(P.CODCLI,0) TEMPED, "
    "(SELECT NOMCID FROM f501CID A WHERE A.CODCID = C.CODCID AND A.CODEMP = C.CODEMP) NOMCID "
    "FROM F510CLI C LEFT JOIN "
    "(SELECT CODEMP, CODCLI FROM F530PDF WHERE SITPDF <> 'C' AND DATPDF = :PDATPDV) P "
    "ON C.CODEMP = P.CODEMP AND C.CODCLI = P.CODCLI "
    ", F510ROT R "
    "WHERE C.CODCLI = R.CODCLI "
    "AND      C.CODEMP = R.CODEMP "
    "AND      C.CODEMP = :PCODEMP "
    "AND      C.SITCLI <> 'B' "
    "AND      R.DIASEM LIKE :PDIASEM "
    "AND      R.SEMMES LIKE :PSEMMES "
    "order by TEMPED desc");

// The server's procedure has no SUSPEND: it can only be executed, never selected from.
const QString RoteiroClientes::kExecuteSemanaMes = QStringLiteral("EXECUTE PROCEDURE SEMANA_MES(:DATA)");

RoteiroClientes::RoteiroClientes(FirebirdConnection &connection)
    : m_roteiro(std::make_unique<TClientDataSetPlus>())
    , m_semana(std::make_unique<TClientDataSetPlus>())
{
    m_roteiro->setConnection(&connection);
    m_roteiro->setCommandText(kSelectRoteiro);
    m_semana->setConnection(&connection);
    m_semana->setCommandText(kExecuteSemanaMes);
}

RoteiroClientes::~RoteiroClientes() = default;

QString RoteiroClientes::nomeDia(int diaSemana)
{
    static const std::array<QString, 7> nomes = {
        QStringLiteral("Segunda"), QStringLiteral("Terça"),  QStringLiteral("Quarta"), QStringLiteral("Quinta"),
        QStringLiteral("Sexta"),   QStringLiteral("Sábado"), QStringLiteral("Domigo")};
    return diaSemana >= 1 && diaSemana <= 7 ? nomes.at(static_cast<size_t>(diaSemana - 1)) : QString();
}

int RoteiroClientes::semanaMes(const QDate &data)
{
    m_semana->close();
    m_semana->setParam(QStringLiteral("DATA"), Formatos::formatDate(data, QStringLiteral("yyyy-mm-dd")));
    m_semana->open();
    if (m_semana->isEmpty() || m_semana->isNull(QStringLiteral("SEMANA")))
        throw DatabaseError(QStringLiteral("SEMANA_MES não devolveu a semana do mês."));
    const int semana = static_cast<int>(m_semana->asInteger(QStringLiteral("SEMANA")));
    m_semana->close();
    return semana;
}

int RoteiroClientes::pesquisa(const QString &codEmp, const QDate &data)
{
    const int semana = semanaMes(data);
    m_roteiro->close();
    m_roteiro->setParam(QStringLiteral("PDATPDV"), Formatos::formatDate(data, QStringLiteral("yyyy-mm-dd")));
    m_roteiro->setParam(QStringLiteral("PCODEMP"), codEmp);
    m_roteiro->setParam(QStringLiteral("PDIASEM"), QString::number(data.dayOfWeek()));
    m_roteiro->setParam(QStringLiteral("PSEMMES"), QString::number(semana));
    m_roteiro->open();
    return semana;
}
