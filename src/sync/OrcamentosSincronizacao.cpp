#include "OrcamentosSincronizacao.h"

#include "ClientDataSetPlus.h"
#include "DatabaseError.h"
#include "FirebirdConnection.h"

#include <QDir>
#include <QFile>

#include <exception>

const QString OrcamentosSincronizacao::selectOrcamentos = QStringLiteral("SELECT * FROM F530PDF WHERE PDFORC = 'S'");

// Joined on the order key, driven by the few budget orders through the items' index; DISTINCT
// keeps one copy of each item even when two budget rows share a key.
const QString OrcamentosSincronizacao::selectItensOrcamentos = QStringLiteral(
    "SELECT 'N' AS VLDITM, I.* FROM (SELECT DISTINCT CODEMP, CODPDF, CODINT FROM F530PDF WHERE PDFORC = 'S') P "
    "JOIN F530IPF I ON I.CODEMP = P.CODEMP AND I.CODPDF = P.CODPDF AND I.CODINT = P.CODINT");

const QString OrcamentosSincronizacao::selectPedido = QStringLiteral(
    "SELECT * FROM F530PDF WHERE CODEMP = :PCODEMP AND CODPDF = :PCODPDF AND CODINT = :PCODINT");

const QString OrcamentosSincronizacao::selectItensPedido = QStringLiteral(
    "SELECT 'N' AS VLDITM, I.* FROM F530IPF I WHERE I.CODEMP = :PCODEMP AND I.CODPDF = :PCODPDF "
    "AND I.CODINT = :PCODINT");

const QString OrcamentosSincronizacao::arquivoPedidos = QStringLiteral("ORCPED.XML");
const QString OrcamentosSincronizacao::arquivoItens = QStringLiteral("ORCITM.XML");
const QString OrcamentosSincronizacao::arquivoRecuperadoPedido = QStringLiteral("BKPPED.XML");
const QString OrcamentosSincronizacao::arquivoRecuperadoItens = QStringLiteral("BKPITEM.XML");

namespace {

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

} // namespace

OrcamentosSincronizacao::OrcamentosSincronizacao(FirebirdConnection &conexao)
    : m_orcPedido(criaDataSet(conexao, selectOrcamentos, QStringLiteral("F530PDF")))
    , m_orcItem(criaDataSet(conexao, selectItensOrcamentos, QStringLiteral("F530IPF")))
    , m_cadPedido(criaDataSet(conexao, selectPedido, QStringLiteral("F530PDF")))
    , m_cadItem(criaDataSet(conexao, selectItensPedido, QStringLiteral("F530IPF")))
{
}

OrcamentosSincronizacao::~OrcamentosSincronizacao() = default;

void OrcamentosSincronizacao::salvaOrcamentos(const QString &pasta)
{
    const QDir dir(pasta);
    m_orcPedido->close();
    m_orcPedido->setCommandText(selectOrcamentos);
    m_orcPedido->open();
    if (m_orcPedido->isEmpty()) {
        m_orcPedido->close();
        return;
    }
    m_orcPedido->saveToFile(dir.filePath(arquivoPedidos));
    m_orcItem->close();
    m_orcItem->setCommandText(selectItensOrcamentos);
    m_orcItem->open();
    m_orcItem->saveToFile(dir.filePath(arquivoItens));
    m_orcPedido->close();
    m_orcItem->close();
}

void OrcamentosSincronizacao::copiaLinhas(TClientDataSetPlus &origem, TClientDataSetPlus &destino,
                                          const QString &codigoEmpresa)
{
    if (origem.isEmpty())
        return;
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

    // The rows go to the database in one pass and one commit (a prepared statement per row and
    // a commit per row cost more than the rows themselves). The statements run in file order
    // and a failing one is undone alone, so committing at a failure keeps the rows before it,
    // as applying row by row did.
    FirebirdConnection &conexao = *destino.connection();
    conexao.beginTransaction();
    bool copiadas = false;
    try {
        for (origem.first(); !origem.eof(); origem.next()) {
            destino.append();
            for (int i = 0; i < campos.size(); ++i) {
                if (origem.isNull(i))
                    destino.clearValue(campos.at(i));
                else
                    destino.setValue(campos.at(i), origem.value(i));
            }
            destino.post();
        }
        copiadas = true;
        destino.applyUpdatesInTransaction();
    } catch (...) {
        // The rows posted before a row that could not be copied are written too.
        destino.cancel();
        if (!copiadas) {
            try {
                destino.applyUpdatesInTransaction();
            } catch (const std::exception &) {
            }
        }
        try {
            conexao.commit();
        } catch (const std::exception &) {
            conexao.rollback();
        }
        throw;
    }
    conexao.commit();
    destino.mergeChangeLog();
}

void OrcamentosSincronizacao::restauraOrcamentos(const QString &pasta, const QString &codigoEmpresa)
{
    const QDir dir(pasta);
    const QString pedidos = dir.filePath(arquivoPedidos);
    const QString itens = dir.filePath(arquivoItens);
    if (!QFile::exists(pedidos))
        return;

    auto fechaTodos = [this] {
        descarta(*m_orcPedido);
        descarta(*m_orcItem);
        descarta(*m_cadItem);
        descarta(*m_cadPedido);
    };
    try {
        m_orcPedido->close();
        m_orcPedido->loadFromFile(pedidos);
        copiaLinhas(*m_orcPedido, *m_cadPedido, codigoEmpresa);

        m_orcPedido->close();
        m_orcItem->close();
        if (!QFile::exists(itens))
            throw DatabaseError(QStringLiteral("Arquivo não encontrado: ") + itens);
        m_orcItem->loadFromFile(itens);
        copiaLinhas(*m_orcItem, *m_cadItem, codigoEmpresa);

        fechaTodos();
        QFile::remove(itens);
        QFile::remove(pedidos);
        QFile::remove(dir.filePath(arquivoRecuperadoPedido));
        QFile::remove(dir.filePath(arquivoRecuperadoItens));
    } catch (const std::exception &) {
        // Whatever was restored stays; the budget files are tried again after the next
        // synchronisation.
        fechaTodos();
        QFile::remove(dir.filePath(arquivoRecuperadoPedido));
        QFile::remove(dir.filePath(arquivoRecuperadoItens));
    }
}
