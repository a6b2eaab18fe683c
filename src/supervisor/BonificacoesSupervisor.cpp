#include "BonificacoesSupervisor.h"

#include "ClientDataSetPlus.h"
#include "FirebirdConnection.h"
#include "SqlText.h"

const QString BonificacoesSupervisor::kSelectPESVEN = QStringLiteral(
    "SELECT CODVEN, NOMVEN "
    "FROM F512VEN "
    "WHERE CODEMP = :PCODEMP "
    "ORDER BY NOMVEN");

const QString BonificacoesSupervisor::kSelectPESBON = QStringLiteral(
    "SELECT P.CODEMP, P.CODCCU, P.CODPDV, P.DATPDF, P.CODCLI, "
    "P.RAZCLI, P.TOTPDF, P.AUTBON, P.CODVEN, V.NOMVEN "
    "FROM F530BON P, F512VEN V "
    "WHERE P.CODVEN = V.CODVEN "
    "AND P.CODEMP = V.CODEMP "
    "AND P.CODEMP = :PCODEMP "
    "AND P.CODVEN LIKE :PCODVEN "
    "AND P.DATPDF >= :PDATINI AND P.DATPDF <= :PDATFIM "
    "AND P.AUTBON LIKE :PAUTBON "
    "ORDER BY P.DATPDF, P.CODPDV");

// The names come through outer joins matched within the company: a transaction, operation or
// condition missing from the file leaves its name empty instead of hiding the order.
const QString BonificacoesSupervisor::kSelectCADBON = QStringLiteral(
    "SELECT P.CODPDV, P.DATPDF, P.CODCLI, P.RAZCLI, P.CODTRA, T.DESTRA, P.CODOPE, O.NOMOPE, P.CODCON, C.DESCON "
    "FROM F530BON P "
    "LEFT JOIN F513TRA T ON P.CODTRA = T.CODTRA AND T.CODEMP = P.CODEMP "
    "LEFT JOIN F513OPE O ON P.CODOPE = O.CODOPE AND O.CODEMP = P.CODEMP "
    "LEFT JOIN F513CON C ON P.CODCON = C.CODCON AND C.CODEMP = P.CODEMP "
    "WHERE P.CODEMP = :PCODEMP "
    "AND P.CODPDV = :PCODPDV "
    "AND P.CODCCU = :PCODCCU");

const QString BonificacoesSupervisor::kSelectITMBON = QStringLiteral(
    "SELECT * "
    "FROM F530IBO "
    "WHERE CODEMP = :PCODEMP "
    "AND CODPDV = :PCODPDV "
    "AND CODCCU = :PCODCCU");

const QString BonificacoesSupervisor::kUpdateAutorizacao = QStringLiteral(
    "UPDATE F530BON SET AUTBON = :PAUTBON WHERE CODPDV = :PCODPDV AND CODCCU = :PCODCCU AND CODEMP = :PCODEMP");

namespace {

std::unique_ptr<TClientDataSetPlus> novoDataSet(FirebirdConnection &connection, const QString &sql)
{
    auto ds = std::make_unique<TClientDataSetPlus>();
    ds->setConnection(&connection);
    ds->setCommandText(sql);
    return ds;
}

} // namespace

BonificacoesSupervisor::BonificacoesSupervisor(FirebirdConnection &connection)
    : m_connection(connection)
    , m_pesven(novoDataSet(connection, kSelectPESVEN))
    , m_pesbon(novoDataSet(connection, kSelectPESBON))
    , m_cadbon(novoDataSet(connection, kSelectCADBON))
    , m_itmbon(novoDataSet(connection, kSelectITMBON))
{
}

BonificacoesSupervisor::~BonificacoesSupervisor() = default;

void BonificacoesSupervisor::abreVendedores(const QString &codEmp)
{
    m_pesven->close();
    m_pesven->setParam(QStringLiteral("PCODEMP"), codEmp);
    m_pesven->open();
}

QString BonificacoesSupervisor::pesquisa(const QString &codEmp, const Filtro &filtro, const QDate &hoje)
{
    QDate inicio(1900, 1, 1);
    QDate fim = hoje.addYears(100);
    if (filtro.porPeriodo) {
        const SqlText::ParsedDate de = SqlText::parseDate(filtro.inicio);
        if (!de)
            return de.message;
        const SqlText::ParsedDate ate = SqlText::parseDate(filtro.fim);
        if (!ate)
            return ate.message;
        inicio = *de.date;
        fim = *ate.date;
    }
    // The first seller by name stands for "Representante:" when none was chosen.
    QString codVen = filtro.codVen;
    if (filtro.porVendedor && codVen.isEmpty() && m_pesven->active() && !m_pesven->isEmpty()) {
        m_pesven->first();
        codVen = m_pesven->asString(QStringLiteral("CODVEN"));
    }
    TClientDataSetPlus &ds = *m_pesbon;
    ds.close();
    ds.setParam(QStringLiteral("PCODEMP"), codEmp);
    ds.setParam(QStringLiteral("PCODVEN"), filtro.porVendedor ? codVen : QStringLiteral("%"));
    // Parameters travel as text and the driver reads a date parameter only in the ISO form.
    ds.setParam(QStringLiteral("PDATINI"), inicio.toString(Qt::ISODate));
    ds.setParam(QStringLiteral("PDATFIM"), fim.toString(Qt::ISODate));
    ds.setParam(QStringLiteral("PAUTBON"), filtro.situacao);
    ds.open();
    const std::pair<const char *, const char *> formatos[] = {
        {"CODPDV", "000000"}, {"CODCLI", "00000"}, {"TOTPDF", "###,###,##0.00"}, {"DATPDF", "dd/mm/yyyy"}};
    for (const auto &[campo, mascara] : formatos)
        ds.fieldDef(QLatin1String(campo)).displayFormat = QLatin1String(mascara);
    return {};
}

QString BonificacoesSupervisor::abrePedido(const QString &codEmp)
{
    if (!m_pesbon->active() || m_pesbon->isEmpty())
        return QStringLiteral("Selecione um pedido antes de editar!");
    m_codPdv = m_pesbon->asString(QStringLiteral("CODPDV"));
    m_codCcu = m_pesbon->asString(QStringLiteral("CODCCU"));
    for (TClientDataSetPlus *ds : {m_cadbon.get(), m_itmbon.get()}) {
        ds->close();
        ds->setParam(QStringLiteral("PCODEMP"), codEmp);
        ds->setParam(QStringLiteral("PCODPDV"), m_codPdv);
        ds->setParam(QStringLiteral("PCODCCU"), m_codCcu);
        ds->open();
    }
    const std::pair<const char *, const char *> formatos[] = {
        {"QTDPRO", "###,##0.00"}, {"VLRUNT", "###,##0.000"}, {"VLRTOT", "###,###,##0.00"}, {"CODPRO", "0000000"}};
    for (const auto &[campo, mascara] : formatos)
        m_itmbon->fieldDef(QLatin1String(campo)).displayFormat = QLatin1String(mascara);
    return {};
}

void BonificacoesSupervisor::decide(const QString &autorizacao, const QString &codEmp)
{
    if (m_codPdv.isEmpty())
        return;
    // The header may be missing (a transaction or condition absent from the file): the order
    // number is the one opened, not a value read from an empty header.
    m_connection.execute(kUpdateAutorizacao, {{QStringLiteral("PAUTBON"), autorizacao},
                                              {QStringLiteral("PCODPDV"), m_codPdv},
                                              {QStringLiteral("PCODCCU"), m_codCcu},
                                              {QStringLiteral("PCODEMP"), codEmp}});
}
