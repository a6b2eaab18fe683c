#include "MovimentacaoFlex.h"

#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "Formatos.h"
#include "SqlText.h"

const QString MovimentacaoFlex::kSelectVendedor = QStringLiteral(
    "SELECT * "
    "FROM F512VEN "
    "WHERE CODEMP = :PCODEMP "
    "ORDER BY NOMVEN");

// Seller names are matched within the movement's company, so a seller code used by another
// company of the file does not repeat the movement.
const QString MovimentacaoFlex::kSelectMovFlex = QStringLiteral(
    "SELECT M.*, O.NOMVEN \"NOMORI\", D.NOMVEN \"NOMDES\" "
    "FROM F512MTF M LEFT JOIN F512VEN D ON M.VENDES = D.CODVEN AND D.CODEMP = M.CODEMP , F512VEN O "
    "WHERE M.VENORI = O.CODVEN "
    "AND O.CODEMP = M.CODEMP "
    "AND M.CODEMP = :PCODEMP "
    "AND M.CODSUP = :PCODSUP "
    "ORDER BY M.DATMOV DESC");

MovimentacaoFlex::MovimentacaoFlex(D500DAT &dat)
    : m_dat(dat)
    , m_vendedor(std::make_unique<TClientDataSetPlus>())
    , m_movFlex(std::make_unique<TClientDataSetPlus>())
{
    m_vendedor->setConnection(&dat.cnxFirebird);
    m_vendedor->setCommandText(kSelectVendedor);
    m_movFlex->setConnection(&dat.cnxFirebird);
    m_movFlex->setCommandText(kSelectMovFlex);
    m_movFlex->setTableName(QStringLiteral("F512MTF"));
}

MovimentacaoFlex::~MovimentacaoFlex() = default;

void MovimentacaoFlex::reabreMovimentos()
{
    TClientDataSetPlus &ds = *m_movFlex;
    ds.close();
    ds.setParam(QStringLiteral("PCODEMP"), m_dat.sessao.CODEMP);
    ds.setParam(QStringLiteral("PCODSUP"), m_dat.sessao.CODSUP);
    ds.open();
    for (const char *campo : {"NOMORI", "NOMDES"})
        ds.fieldDef(QLatin1String(campo)).inUpdate = false;
    ds.fieldDef(QStringLiteral("VLRMOV")).displayFormat = QStringLiteral("###,###,##0.00");
    ds.fieldDef(QStringLiteral("DATMOV")).displayFormat = QStringLiteral("dd/mm/yyyy");
    for (const char *campo : {"VENORI", "VENDES"})
        ds.fieldDef(QLatin1String(campo)).displayFormat = QStringLiteral("00000");
    ds.first();
}

void MovimentacaoFlex::abre()
{
    TClientDataSetPlus &ven = *m_vendedor;
    ven.close();
    ven.setParam(QStringLiteral("PCODEMP"), m_dat.sessao.CODEMP);
    ven.open();
    ven.fieldDef(QStringLiteral("CODVEN")).displayFormat = QStringLiteral("00000");
    for (const char *campo : {"CNTSAL", "CNTACU"})
        ven.fieldDef(QLatin1String(campo)).displayFormat = QStringLiteral("###,###,##0.00");
    ven.first();
    reabreMovimentos();
}

MovimentacaoFlex::Recusa MovimentacaoFlex::inclui(Tipo tipo, const QString &destino, double valor, const QDate &hoje)
{
    if (!m_vendedor->active() || m_vendedor->isEmpty())
        return {QStringLiteral("Selecione um vendedor que será feita a movimentação!")};
    if (!(valor > 0))
        return {QStringLiteral("Valor da movimentação tem que ser maior que zero!"), true};
    if (tipo == Tipo::Movimentacao && destino.trimmed().isEmpty())
        return {QStringLiteral(" Selecione o vendedor que receberá a verba movimentada!")};

    const QString &emp = m_dat.sessao.CODEMP;
    const QString codMov = m_dat.proximoCodigo(QStringLiteral("F512MTF"), QStringLiteral("CODMOV"),
                                               QStringLiteral("CODEMP = ") + SqlText::quoted(emp));
    TClientDataSetPlus &ds = *m_movFlex;
    ds.append();
    ds.setValue(QStringLiteral("CODMOV"), codMov);
    ds.setValue(QStringLiteral("CODEMP"), emp);
    ds.setValue(QStringLiteral("CODSUP"), m_dat.sessao.CODSUP);
    ds.setValue(QStringLiteral("DATMOV"), hoje);
    ds.setValue(QStringLiteral("VENORI"), m_vendedor->asString(QStringLiteral("CODVEN")));
    if (tipo == Tipo::Movimentacao)
        ds.setValue(QStringLiteral("VENDES"), destino.trimmed());
    else
        ds.clearValue(QStringLiteral("VENDES"));
    ds.setValue(QStringLiteral("TIPMOV"), tipo == Tipo::Movimentacao ? QStringLiteral("M") : QStringLiteral("A"));
    ds.setValue(QStringLiteral("SITMOV"), QStringLiteral("D"));
    ds.setValue(QStringLiteral("VLRMOV"), valor);
    ds.post();
    reabreMovimentos();
    return {};
}

MovimentacaoFlex::Recusa MovimentacaoFlex::recusaExclusao() const
{
    if (!m_movFlex->active() || m_movFlex->isEmpty())
        return {QStringLiteral("Selecione a movimentação que deseja excluir!")};
    if (m_movFlex->asString(QStringLiteral("SITMOV")) != QLatin1String("D"))
        return {QStringLiteral("Somente movimentações não enviadas pode ser excluida!")};
    return {};
}

QString MovimentacaoFlex::perguntaExclusao() const
{
    return QStringLiteral("Confirma a exclusão da movimentação de Flex no valor de ")
        + Formatos::formatMask(m_movFlex->asFloat(QStringLiteral("VLRMOV")), QStringLiteral("##,###,##0.00"))
        + QStringLiteral(" ?");
}

void MovimentacaoFlex::exclui()
{
    if (!recusaExclusao())
        m_movFlex->deleteRecord();
}
