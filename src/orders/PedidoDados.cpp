#include "PedidoDados.h"

#include "ClientDataSetPlus.h"
#include "CondicoesCliente.h"
#include "ConsultasValidacaoGravacao.h"
#include "ItemRegistro.h"
#include "SqlText.h"
#include "U500CAD.h"

#include <QSet>

namespace {

bool editando(const TClientDataSetPlus *ds)
{
    return ds->state() == TClientDataSetPlus::State::Edit || ds->state() == TClientDataSetPlus::State::Insert;
}

qint64 inteiro(const TClientDataSetPlus *ds, const QString &campo)
{
    return ds->isNull(campo) ? 0 : ds->asInteger(campo);
}

} // namespace

// "P.CODCLI+0" keeps the engine from walking every customer and probing each one's orders:
// the period picks the orders and the customers are hashed, which halves the list's refresh
// after "Salvar" on a year of orders. The rows are the same. A customer code may also exist in
// another company, so the customer is joined on the company too (the same "+0" on the order's side).
const QString PedidoDados::kSelectPesPedido = QStringLiteral(
    "SELECT P.CODEMP, P.CODPDF, P.CODINT, P.DATPDF, P.PDFORC, P.CODCLI, C.RAZCLI, P.TOTPDF, P.SITPDF, "
    "SUM(I.QTDFAT*I.VLRFAT) TOTFAT "
    "FROM F530PDF P, F530IPF I, F510CLI C "
    "WHERE P.CODEMP = I.CODEMP AND P.CODPDF = I.CODPDF AND P.CODCLI+0 = C.CODCLI AND P.CODNOV = C.CODNOV "
    "AND C.CODEMP = P.CODEMP+0 "
    "AND P.CODEMP = :PCODEMP AND P.CODPDF LIKE :PCODPDF AND C.RAZCLI LIKE :PRAZCLI "
    "AND P.DATPDF >= :PDATINI AND P.DATPDF <= :PDATFIM AND P.SITPDF LIKE :PSITPDF "
    "AND IIF(P.PDFORC IS NULL,'N',P.PDFORC) LIKE :PPDFORC "
    "GROUP BY P.CODEMP, P.CODPDF, P.CODINT, P.DATPDF, P.CODCLI, C.RAZCLI, P.TOTPDF, P.SITPDF, P.PDFORC");

const QString PedidoDados::kSelectTransacao = QStringLiteral("SELECT * FROM F513TRA ORDER BY CODTRA");

const QString PedidoDados::kSelectOperacao = QStringLiteral(
    "SELECT CODEMP, CODOPE, NOMOPE, TEMFLU FROM F513OPE "
    "WHERE CODOPE IN (SELECT CODOPE FROM F510OPC WHERE CODCLI = :PCODCLI AND CODEMP = :PCODEMP) "
    "AND CODEMP = :PCODEMP ORDER BY 3");

const QString PedidoDados::kSelectCliente = QStringLiteral(
    "SELECT DISTINCT C.CODCLI, C.RAZCLI, C.FANCLI, TRIM(D.NOMCID)||'-'||D.ESTCID CIDADE, C.LIMCRE, C.CODTAB, "
    "T.DESTAB, D.ESTCID FROM F510CLI C, F511TAB T, F501CID D "
    "WHERE C.CODTAB = T.CODTAB AND C.CODCID = D.CODCID "
    "AND C.CODEMP = :PCODEMP AND C.CODCLI = :PCODCLI AND C.CODNOV = :PCODNOV");

// The open and overdue amounts of this company's customer: the same code in another company is
// another customer, with its own credit.
const QString PedidoDados::kSelectFinanceiro = QStringLiteral(
    "SELECT CODCLI, IIF(ABTCLI IS NULL,0,ABTCLI) AS ABERTO, IIF(ATRCLI IS NULL, 0, ATRCLI) AS VENCIDO "
    "FROM F510CLI WHERE CODCLI = :PCODCLI AND CODEMP = :PCODEMP");

const QString PedidoDados::kSelectUltimaCompra = QStringLiteral(
    "SELECT P.DATPDF, I.CODPRO, I.CODCCU, MAX(I.QTDPRO) QTDPRO, MAX(I.VLRUNT) VLRUNT "
    "FROM F530PDF P, F530IPF I, F513TRA T, "
    "(SELECT MAX(P.DATPDF) ULTIMA_COMPRA, I.CODPRO FROM F530PDF P, F530IPF I, F513TRA T "
    " WHERE P.CODPDF = I.CODPDF AND P.CODEMP = I.CODEMP AND P.CODINT = I.CODINT "
    " AND P.CODTRA = T.CODTRA AND P.CODEMP = T.CODEMP AND T.GERBON = 'N' AND P.CODCLI = :PCODCLI "
    " AND I.CODPRO IS NOT NULL GROUP BY I.CODPRO) X "
    "WHERE P.CODPDF = I.CODPDF AND P.CODEMP = I.CODEMP AND P.CODINT = I.CODINT "
    "AND P.CODTRA = T.CODTRA AND P.CODEMP = T.CODEMP AND T.GERBON = 'N' AND P.CODCLI = :PCODCLI "
    "AND I.CODPRO IS NOT NULL AND I.CODPRO = X.CODPRO AND P.DATPDF = X.ULTIMA_COMPRA "
    "GROUP BY P.DATPDF, I.CODPRO, I.CODCCU");

const QString PedidoDados::kSelectImposto = QStringLiteral(
    "SELECT * FROM F511IMP WHERE CODEMP = :PCODEMP AND UPPER(ESTCID) LIKE UPPER(:PESTCID)");

const QString PedidoDados::kSelectVendedores = QStringLiteral(
    "SELECT MAX(VEN) NOMVEN, MAX(SUB) NOMSUB FROM ("
    "SELECT NOMVEN VEN, CAST('' AS VARCHAR(50)) SUB FROM F512VEN WHERE CODEMP = :PCODEMP "
    "AND UPPER(CODVEN) LIKE UPPER(:PCODVEN) "
    "UNION SELECT CAST('' AS VARCHAR(50)) VEN, NOMVEN SUB FROM F512VEN WHERE CODEMP = :PCODEMP "
    "AND UPPER(CODVEN) LIKE UPPER(:PCODSUB))");

const QString PedidoDados::kSelectComissao = QStringLiteral(
    "SELECT CODCOS, COALESCE(PCTDCT,0) PCTDCT FROM F512COS WHERE CODCOS LIKE :PCODCOS AND CODEMP = :PCODEMP "
    "ORDER BY 2");

const QString PedidoDados::kSelectGrupo = QStringLiteral(
    "SELECT CODGFA, CODCCU, CODEMP, DESGFA FROM F511GFA ORDER BY DESGFA");

const QString PedidoDados::kSelectFamilia = QStringLiteral(
    "SELECT F.CODFAM, F.DESFAM, G.CODGFA FROM F511FAM F, F511IFA G "
    "WHERE F.CODEMP = G.CODEMP AND F.CODCCU = G.CODCCU AND F.CODFAM = G.CODFAM "
    "AND ") + SqlText::zeroPaddedColumn(QStringLiteral("G.CODGFA"), 5) + QStringLiteral(" LIKE :CODGFA||'%' "
    "ORDER BY F.DESFAM");

PedidoDados::PedidoDados(FirebirdConnection &connection, QObject *parent)
    : QObject(parent)
    , m_connection(connection)
{
    cdsPesPedido = cria(kSelectPesPedido);
    cdsCADPEDIDO = cria(D500CAD::kSelectPedido, QStringLiteral("F530PDF"));
    cdsCADITEM = cria(D500CAD::kSelectItensPedido, QStringLiteral("F530IPF"));
    cdsCADPEDIDO->AutoApplyUpdates = false;
    cdsCADITEM->AutoApplyUpdates = false;
    FieldDef situacao;
    situacao.name = QStringLiteral("CA_SITIPF");
    situacao.kind = FieldKind::String;
    situacao.size = 10;
    situacao.calculated = true;
    situacao.inUpdate = false;
    cdsCADITEM->addCalculatedField(situacao, [](const DataRow &r) -> QVariant {
        const QString sit = r.asString(QStringLiteral("SITIPF"));
        if (sit == QLatin1String("D"))
            return QStringLiteral("Digitado");
        if (sit == QLatin1String("E"))
            return QStringLiteral("Enviado");
        if (sit == QLatin1String("C"))
            return QStringLiteral("Cancelado");
        if (sit == QLatin1String("F"))
            return QStringLiteral("Faturado");
        return QString();
    });
    cdsTransacao = cria(kSelectTransacao);
    cdsOperacao = cria(kSelectOperacao);
    cdsCondicao = cria(CondicoesCliente::instrucao());
    cdsCliente = cria(kSelectCliente);
    cdsFinanceiro = cria(kSelectFinanceiro);
    cdsUltimaCompra = cria(kSelectUltimaCompra);
    cdsImposto = cria(kSelectImposto);
    cdsVendedores = cria(kSelectVendedores);
    cdsComissao = cria(kSelectComissao);
    cdsGrupo = cria(kSelectGrupo);
    cdsFamilia = cria(kSelectFamilia);
    cdsPESPRODUTO = new TClientDataSetPlus(this);
    cdsPESPRODUTO->setConnection(&connection);
}

PedidoDados::~PedidoDados() = default;

TClientDataSetPlus *PedidoDados::cria(const QString &sql, const QString &table)
{
    auto *ds = new TClientDataSetPlus(this);
    ds->setConnection(&m_connection);
    ds->setCommandText(sql);
    if (!table.isEmpty())
        ds->setTableName(table);
    return ds;
}

void PedidoDados::reabre(TClientDataSetPlus *ds, const QList<QPair<QString, QString>> &params)
{
    ds->close();
    for (const auto &p : params)
        ds->setParam(p.first, p.second);
    ds->open();
}

void PedidoDados::abrePedido(const QString &CODEMP, const QString &CODPDF, const QString &CODINT, bool editar)
{
    const QList<QPair<QString, QString>> params = {
        {QStringLiteral("PCODEMP"), CODEMP}, {QStringLiteral("PCODPDF"), CODPDF}, {QStringLiteral("PCODINT"), CODINT}};
    reabre(cdsCADPEDIDO, params);
    if (editar && !cdsCADPEDIDO->isEmpty())
        cdsCADPEDIDO->edit();
    reabre(cdsCADITEM, params);
    marcaColunasDeTrabalho();
}

void PedidoDados::marcaColunasDeTrabalho()
{
    // The correction mark lives only in memory.
    if (cdsCADITEM->hasField(QStringLiteral("VLDITM")))
        cdsCADITEM->fieldDef(QStringLiteral("VLDITM")).inUpdate = false;
}

std::optional<bool> PedidoDados::operacaoComImposto() const
{
    if (!cdsOperacao->active() || cdsOperacao->isEmpty())
        return std::nullopt;
    return cdsOperacao->asString(QStringLiteral("TEMFLU")) == QLatin1String("S");
}

std::optional<CalculoItem::LinhaImposto> PedidoDados::imposto(qint64 CODCCU, qint64 CODPRO) const
{
    if (!cdsImposto->active())
        return std::nullopt;
    cdsImposto->setFilter([CODCCU, CODPRO](const DataRow &r) {
        return r.asInteger(QStringLiteral("CODPRO")) == CODPRO && r.asInteger(QStringLiteral("CODCCU")) == CODCCU;
    });
    if (cdsImposto->isEmpty())
        return std::nullopt;
    return CalculoItem::LinhaImposto{decimal(cdsImposto, QStringLiteral("ALISTR")), decimal(cdsImposto, QStringLiteral("ALIICM")),
                                   decimal(cdsImposto, QStringLiteral("ALIINA")), decimal(cdsImposto, QStringLiteral("CFTICM"))};
}

std::optional<Decimal> PedidoDados::substituicaoTributaria(qint64 CODCCU, qint64 CODPRO, const Decimal &VLRTOT) const
{
    const std::optional<bool> temImposto = operacaoComImposto();
    if (!temImposto)
        return std::nullopt;
    return CalculoItem::substituicaoTributaria(VLRTOT, *temImposto, *temImposto ? imposto(CODCCU, CODPRO) : std::nullopt);
}

void PedidoDados::gravaItemDoProduto(const PrecificacaoItem &precificacao, const PrecificacaoItem::Entrada &entrada,
                                     const Decimal &quantidade, const Decimal &TABCOS, const QString &CODCOS)
{
    TClientDataSetPlus *p = cdsPESPRODUTO;
    TClientDataSetPlus *itens = cdsCADITEM;
    TClientDataSetPlus *cab = cdsCADPEDIDO;
    const qint64 ccu = inteiro(p, QStringLiteral("CODCCU"));
    const qint64 pro = inteiro(p, QStringLiteral("CODPRO"));

    const bool temImposto = operacaoComImposto().value_or(false);
    const std::optional<CalculoItem::LinhaImposto> tributo = temImposto ? imposto(ccu, pro) : std::nullopt;
    const ValoresItem valores = CalculoItem::doProduto(precificacao, entrada.preco, quantidade, TABCOS,
                                                         entrada.promocao, temImposto, tributo);
    const QString pedido = codigo(cab, QStringLiteral("CODPDF"));
    itens->setFilter([ccu, pro, pedido](const DataRow &r) {
        return r.asInteger(QStringLiteral("CODCCU")) == ccu && r.asInteger(QStringLiteral("CODPRO")) == pro
            && QString::number(r.asInteger(QStringLiteral("CODPDF"))) == pedido;
    });
    if (itens->isEmpty())
        itens->append();
    else
        itens->edit();
    itens->setValue(QStringLiteral("CODEMP"), codigo(cab, QStringLiteral("CODEMP")));
    itens->setValue(QStringLiteral("CODPDF"), pedido);
    itens->setValue(QStringLiteral("CODINT"), codigo(cab, QStringLiteral("CODINT")));
    itens->setValue(QStringLiteral("CODCCU"), QString::number(ccu));
    itens->setValue(QStringLiteral("CODPRO"), QString::number(pro));
    itens->setValue(QStringLiteral("DESPRO"), p->asString(QStringLiteral("DESPRO")));
    itens->setValue(QStringLiteral("UNDPRO"), p->asString(QStringLiteral("UNDPRO")));
    ItemRegistro::grava(itens, valores);
    itens->setValue(QStringLiteral("CODCOS"), CODCOS);
    itens->post();
    itens->clearFilter();
}

ValidacaoGravacaoPedido::Entrada PedidoDados::entradaGravacao(const QString &CODEMP) const
{
    const TClientDataSetPlus *cab = cdsCADPEDIDO;
    ValidacaoGravacaoPedido::Entrada in;
    in.CODPDF = codigo(cab, QStringLiteral("CODPDF"));
    in.CODVEN = codigo(cab, QStringLiteral("CODVEN"));
    in.VENSUB = codigo(cab, QStringLiteral("VENSUB"));
    // A code that is not among the customer's offered ones (kept from another customer, say) is
    // no choice: its rules would read nothing, so "Salvar" asks for it as for an empty one.
    auto escolhido = [cab](const TClientDataSetPlus *lista, const QString &campo) {
        return lista->active() && !lista->isEmpty() ? codigo(cab, campo) : QString();
    };
    in.CODTRA = escolhido(cdsTransacao, QStringLiteral("CODTRA"));
    in.CODOPE = escolhido(cdsOperacao, QStringLiteral("CODOPE"));
    in.CODCON = escolhido(cdsCondicao, QStringLiteral("CODCON"));
    in.DATPDF = cab->asDate(QStringLiteral("DATPDF"));
    in.PDFORC = cab->asString(QStringLiteral("PDFORC"));
    if (!cdsTransacao->isEmpty()) {
        in.GERBON = cdsTransacao->asString(QStringLiteral("GERBON"));
        in.GERTIT = cdsTransacao->asString(QStringLiteral("GERTIT"));
    }
    if (!cdsCondicao->isEmpty()) {
        in.SEMDBT = cdsCondicao->asString(QStringLiteral("SEMDBT"));
        in.PDVMIN = decimal(cdsCondicao, QStringLiteral("PDVMIN"));
    }
    in.LIMCRE = decimal(cdsCliente, QStringLiteral("LIMCRE"));
    in.ABERTO = decimal(cdsFinanceiro, QStringLiteral("ABERTO"));
    in.VENCIDO = decimal(cdsFinanceiro, QStringLiteral("VENCIDO"));
    QSet<qint64> centros;
    TClientDataSetPlus *it = cdsCADITEM;
    for (it->first(); !it->eof(); it->next()) {
        const qint64 ccu = it->asInteger(QStringLiteral("CODCCU"));
        in.itens.append({ccu, decimal(it, QStringLiteral("VLRTOT")), decimal(it, QStringLiteral("USOFLX"))});
        centros.insert(ccu);
    }
    if (!in.CODOPE.isEmpty() && !in.itens.isEmpty())
        in.centrosCusto = ConsultasValidacaoGravacao::carrega(m_connection, CODEMP, in.CODOPE,
                                                          codigo(cab, QStringLiteral("CODCLI")), centros);
    return in;
}

void PedidoDados::gravaPedido(const ValidacaoGravacaoPedido::Resultado &resultado)
{
    TClientDataSetPlus *cab = cdsCADPEDIDO;
    if (!editando(cab))
        cab->edit();
    cab->setValue(QStringLiteral("PDFORC"), resultado.PDFORC);
    if (resultado.VENSUB.isEmpty())
        cab->clearValue(QStringLiteral("VENSUB"));
    else
        cab->setValue(QStringLiteral("VENSUB"), resultado.VENSUB);
    cab->setValue(QStringLiteral("TOTFLX"), resultado.TOTFLX.toString());
    cab->setValue(QStringLiteral("TOTPDF"), resultado.TOTPDF.toString());
    cab->post();
    TClientDataSetPlus::applyUpdatesTogether({cdsCADITEM, cab});
}

Decimal PedidoDados::decimal(const TClientDataSetPlus *ds, const QString &field)
{
    if (!ds->active() || (ds->isEmpty() && ds->state() == TClientDataSetPlus::State::Browse) || ds->isNull(field))
        return Decimal();
    return Decimal::fromText(ds->asString(field), ds->fieldDef(field).scale);
}

std::optional<Decimal> PedidoDados::decimalOpcional(const TClientDataSetPlus *ds, const QString &field)
{
    if (!ds->active() || (ds->isEmpty() && ds->state() == TClientDataSetPlus::State::Browse) || ds->isNull(field))
        return std::nullopt;
    return Decimal::fromText(ds->asString(field), ds->fieldDef(field).scale);
}

QString PedidoDados::codigo(const TClientDataSetPlus *ds, const QString &field)
{
    if (!ds->active() || (ds->isEmpty() && ds->state() == TClientDataSetPlus::State::Browse) || ds->isNull(field))
        return QString();
    return QString::number(ds->asInteger(field));
}
