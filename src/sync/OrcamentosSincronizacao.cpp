#include "OrcamentosSincronizacao.h"

#include "ClientDataSetPlus.h"
#include "DatabaseError.h"
#include "FirebirdConnection.h"
#include "U500CAD.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>

#include <exception>

const QString OrcamentosSincronizacao::kSelectOrcamentos = QStringLiteral("SELECT * FROM F530PDF WHERE PDFORC = 'S'");

// Joined on the order key, driven by the few budget orders through the items' index; DISTINCT
// keeps one copy of each item even when two budget rows share a key.
const QString OrcamentosSincronizacao::kSelectItensOrcamentos = QStringLiteral(
    "SELECT 'N' AS VLDITM, I.* FROM (SELECT DISTINCT CODEMP, CODPDF, CODINT FROM F530PDF WHERE PDFORC = 'S') P "
    "JOIN F530IPF I ON I.CODEMP = P.CODEMP AND I.CODPDF = P.CODPDF AND I.CODINT = P.CODINT");

const QString OrcamentosSincronizacao::arquivoPedidos = QStringLiteral("ORCPED.XML");
const QString OrcamentosSincronizacao::arquivoItens = QStringLiteral("ORCITM.XML");
const QString OrcamentosSincronizacao::arquivoRecuperadoPedido = QStringLiteral("BKPPED.XML");
const QString OrcamentosSincronizacao::arquivoRecuperadoItens = QStringLiteral("BKPITEM.XML");
const QString OrcamentosSincronizacao::arquivoRestauracaoPendente = QStringLiteral("ORCPED.PEN");

namespace {

const QString kSelectPedidoExistente = QStringLiteral(
    "SELECT COUNT(*) FROM F530PDF WHERE CODEMP = :CODEMP AND CODPDF = :CODPDF AND CODINT = :CODINT");

std::unique_ptr<TClientDataSetPlus> criaDataSet(FirebirdConnection &conexao, const QString &sql,
                                                 const QString &tabela)
{
    auto ds = std::make_unique<TClientDataSetPlus>();
    ds->setConnection(&conexao);
    ds->setCommandText(sql);
    ds->setTableName(tabela);
    // The owner applies explicitly, one row at a time.
    ds->AutoApplyUpdates = false;
    return ds;
}

// Closes without posting a row left half-copied by a failure.
void descarta(TClientDataSetPlus &ds) noexcept
{
    try {
        if (ds.state() == TClientDataSetPlus::State::Edit || ds.state() == TClientDataSetPlus::State::Insert)
            ds.cancel();
        ds.close();
    } catch (const std::exception &) {
    }
}

QString chavePedido(const TClientDataSetPlus &ds)
{
    return ds.asString(QStringLiteral("CODEMP")) + QLatin1Char('-') + ds.asString(QStringLiteral("CODPDF"))
           + QLatin1Char('-') + ds.asString(QStringLiteral("CODINT"));
}

} // namespace

OrcamentosSincronizacao::OrcamentosSincronizacao(FirebirdConnection &conexao)
    : m_orcPedido(criaDataSet(conexao, kSelectOrcamentos, QStringLiteral("F530PDF")))
    , m_orcItem(criaDataSet(conexao, kSelectItensOrcamentos, QStringLiteral("F530IPF")))
    , m_cadPedido(criaDataSet(conexao, D500CAD::kSelectPedido, QStringLiteral("F530PDF")))
    , m_cadItem(criaDataSet(conexao, D500CAD::kSelectItensPedido, QStringLiteral("F530IPF")))
{
}

OrcamentosSincronizacao::~OrcamentosSincronizacao() = default;

void OrcamentosSincronizacao::salvaOrcamentos(const QString &pasta)
{
    const QDir dir(pasta);
    if (restauracaoPendente(pasta)) {
        try {
            restaura(pasta, QStringLiteral("-1"), false);
        } catch (...) {
            fechaTodos();
            throw;
        }
    }
    // What is saved now comes from this database.
    desmarcaRestauracaoPendente(pasta);
    m_orcPedido->close();
    m_orcPedido->setCommandText(kSelectOrcamentos);
    m_orcPedido->open();
    if (m_orcPedido->isEmpty()) {
        m_orcPedido->close();
        QFile::remove(dir.filePath(arquivoPedidos));
        QFile::remove(dir.filePath(arquivoItens));
        return;
    }
    m_orcPedido->saveToFile(dir.filePath(arquivoPedidos));
    m_orcItem->close();
    m_orcItem->setCommandText(kSelectItensOrcamentos);
    m_orcItem->open();
    m_orcItem->saveToFile(dir.filePath(arquivoItens));
    m_orcPedido->close();
    m_orcItem->close();
}

void OrcamentosSincronizacao::marcaRestauracaoPendente(const QString &pasta)
{
    const QDir dir(pasta);
    if (!QFile::exists(dir.filePath(arquivoPedidos)))
        return;
    QSaveFile marca(dir.filePath(arquivoRestauracaoPendente));
    if (!marca.open(QIODevice::WriteOnly) || marca.write("ORCPED.XML ORCITM.XML\r\n") < 0 || !marca.commit())
        throw DatabaseError(QStringLiteral("Não foi possível gravar ") + marca.fileName());
}

void OrcamentosSincronizacao::desmarcaRestauracaoPendente(const QString &pasta)
{
    QFile::remove(QDir(pasta).filePath(arquivoRestauracaoPendente));
}

bool OrcamentosSincronizacao::restauracaoPendente(const QString &pasta) const
{
    const QDir dir(pasta);
    return QFile::exists(dir.filePath(arquivoRestauracaoPendente)) && QFile::exists(dir.filePath(arquivoPedidos));
}

void OrcamentosSincronizacao::fechaTodos() noexcept
{
    descarta(*m_orcPedido);
    descarta(*m_orcItem);
    descarta(*m_cadItem);
    descarta(*m_cadPedido);
}

void OrcamentosSincronizacao::avanca(Etapa etapa)
{
    if (aoAvancar)
        aoAvancar(etapa);
}

QSet<QString> OrcamentosSincronizacao::copiaLinhas(TClientDataSetPlus &origem, TClientDataSetPlus &destino,
                                                   const QString &codigoEmpresa, const std::function<bool()> &aceita)
{
    QSet<QString> chaves;
    if (origem.isEmpty())
        return chaves;
    // The destination is opened once, on an empty result: a query per row searched the whole
    // table for every restored row.
    destino.close();
    destino.setParam(QStringLiteral("PCODEMP"), codigoEmpresa);
    destino.setParam(QStringLiteral("PCODPDF"), QStringLiteral("-1"));
    destino.setParam(QStringLiteral("PCODINT"), QStringLiteral("-1"));
    destino.open();

    QStringList campos;
    campos.reserve(origem.fieldCount());
    for (int i = 0; i < origem.fieldCount(); ++i) {
        const QString campo = origem.fieldDef(i).name;
        if (!destino.hasField(campo))
            throw DatabaseError(QStringLiteral("Campo não encontrado: ") + campo);
        campos.append(campo);
    }

    for (origem.first(); !origem.eof(); origem.next()) {
        if (!aceita())
            continue;
        destino.append();
        for (int i = 0; i < campos.size(); ++i) {
            if (origem.isNull(i))
                destino.clearValue(campos.at(i));
            else
                destino.setValue(campos.at(i), origem.value(i));
        }
        destino.post();
        chaves.insert(chavePedido(origem));
    }
    destino.applyUpdatesInTransaction();
    return chaves;
}

void OrcamentosSincronizacao::restaura(const QString &pasta, const QString &codigoEmpresa, bool apagaRecuperacao)
{
    const QDir dir(pasta);
    const QString pedidos = dir.filePath(arquivoPedidos);
    const QString itens = dir.filePath(arquivoItens);
    if (!QFile::exists(pedidos)) {
        desmarcaRestauracaoPendente(pasta);
        return;
    }
    avanca(Etapa::Inicio);

    m_orcPedido->close();
    m_orcPedido->loadFromFile(pedidos);
    m_orcItem->close();
    const bool temItens = QFile::exists(itens);
    if (temItens)
        m_orcItem->loadFromFile(itens);

    // Orders and items in one transaction: an order never comes back without its items. An
    // order already in the database came back in a restore whose files outlived its commit.
    FirebirdConnection &conexao = *m_cadPedido->connection();
    TransactionGuard transacao(conexao);
    QSqlQuery existente = conexao.query();
    if (!existente.prepare(kSelectPedidoExistente))
        throw DatabaseError(existente.lastError().text());
    const QSet<QString> restaurados = copiaLinhas(*m_orcPedido, *m_cadPedido, codigoEmpresa, [&] {
        for (const char *campo : {"CODEMP", "CODPDF", "CODINT"})
            existente.bindValue(QLatin1Char(':') + QLatin1String(campo), m_orcPedido->asString(QLatin1String(campo)));
        if (!existente.exec() || !existente.next())
            throw DatabaseError(existente.lastError().text());
        const bool jaExiste = existente.value(0).toLongLong() > 0;
        existente.finish();
        return !jaExiste;
    });
    avanca(Etapa::PedidosGravados);
    if (temItens)
        copiaLinhas(*m_orcItem, *m_cadItem, codigoEmpresa,
                    [&] { return restaurados.contains(chavePedido(*m_orcItem)); });
    avanca(Etapa::ItensGravados);
    transacao.commit();
    for (TClientDataSetPlus *ds : {m_cadPedido.get(), m_cadItem.get()}) {
        if (ds->active())
            ds->mergeChangeLog();
    }
    avanca(Etapa::Confirmada);

    fechaTodos();
    // The orders file goes first: an items file left alone is never restored.
    QFile::remove(pedidos);
    avanca(Etapa::PedidosApagados);
    QFile::remove(itens);
    desmarcaRestauracaoPendente(pasta);
    if (apagaRecuperacao) {
        QFile::remove(dir.filePath(arquivoRecuperadoPedido));
        QFile::remove(dir.filePath(arquivoRecuperadoItens));
    }
}

void OrcamentosSincronizacao::restauraOrcamentos(const QString &pasta, const QString &codigoEmpresa)
{
    const QDir dir(pasta);
    try {
        restaura(pasta, codigoEmpresa, true);
    } catch (const std::exception &) {
        // Nothing was written; the files wait for the next synchronisation.
        fechaTodos();
        QFile::remove(dir.filePath(arquivoRecuperadoPedido));
        QFile::remove(dir.filePath(arquivoRecuperadoItens));
    }
}

void OrcamentosSincronizacao::restauraPendentes(const QString &pasta, const QString &codigoEmpresa)
{
    if (!restauracaoPendente(pasta))
        return;
    try {
        restaura(pasta, codigoEmpresa, false);
    } catch (const std::exception &) {
        // The next synchronisation tries again before it builds its package.
        fechaTodos();
    }
}
