#pragma once

#include <QSet>
#include <QString>

#include <functional>
#include <memory>

class FirebirdConnection;
class TClientDataSetPlus;

// The budget orders (orders kept as quotations, never sent to the server) across the
// replacement of the database: saved to ORCPED.XML and ORCITM.XML while the package is built,
// put back into the new database after the swap. From the swap until they are back, the files
// are the only copy of the budgets: a marker file says so, and nothing overwrites them until a
// restore has put every order back with all its items.
class OrcamentosSincronizacao
{
public:
    // cdsCADPEDIDO and cdsCADITEM, where budgets are restored, open the order statements of
    // D500CAD.
    static const QString kSelectOrcamentos;      // cdsORCPEDIDO
    static const QString kSelectItensOrcamentos; // cdsORCITEM

    static const QString arquivoPedidos;        // ORCPED.XML
    static const QString arquivoItens;          // ORCITM.XML
    static const QString arquivoRecuperadoPedido; // BKPPED.XML
    static const QString arquivoRecuperadoItens;  // BKPITEM.XML
    static const QString arquivoRestauracaoPendente; // ORCPED.PEN: the files wait for a restore

    explicit OrcamentosSincronizacao(FirebirdConnection &conexao);
    ~OrcamentosSincronizacao();
    OrcamentosSincronizacao(const OrcamentosSincronizacao &) = delete;
    OrcamentosSincronizacao &operator=(const OrcamentosSincronizacao &) = delete;

    // Saves the budget orders and their items to the two files of the folder. Files still
    // waiting for a restore go back into the database first; when that fails they stay as they
    // are and DatabaseError is thrown. Without budget orders, files of an earlier package (whose
    // orders are all in this database) are deleted, so a budget deleted since cannot come back.
    void salvaOrcamentos(const QString &pasta);

    // Around the swap: from here on the files are the only copy of the budget orders (when
    // there are any); cleared again when the swap did not happen.
    void marcaRestauracaoPendente(const QString &pasta);
    void desmarcaRestauracaoPendente(const QString &pasta);
    bool restauracaoPendente(const QString &pasta) const;

    // Appends the saved orders and items to the open database in one transaction, keeping every
    // value (their numbers included), then deletes the four files and the marker. Orders already
    // in the database (a restore cut short after its commit) are left as they are, with their
    // items. Without ORCPED.XML nothing happens; without ORCITM.XML the orders come back without
    // items. A failure is silent and writes nothing: the files and the marker stay for the next
    // synchronisation, and only the crash-recovery copy of an order in edition is deleted.
    void restauraOrcamentos(const QString &pasta, const QString &codigoEmpresa);

    // Start-up: budget orders still waiting in their files (the program died between the swap
    // and the end of their restore) go back at once, before the seller misses them or types an
    // order under one of their numbers. Silent; the crash-recovery copy of an order in edition
    // stays for the start-up question.
    void restauraPendentes(const QString &pasta, const QString &codigoEmpresa);

    // Tests stop the restore at a point to see what a crash there leaves behind.
    enum class Etapa { Inicio, PedidosGravados, ItensGravados, Confirmada, PedidosApagados };
    std::function<void(Etapa)> aoAvancar;

    TClientDataSetPlus &cdsORCPEDIDO() { return *m_orcPedido; }
    TClientDataSetPlus &cdsORCITEM() { return *m_orcItem; }

private:
    // Throwing core of restauraOrcamentos.
    void restaura(const QString &pasta, const QString &codigoEmpresa, bool apagaRecuperacao);
    void avanca(Etapa etapa);
    void fechaTodos() noexcept;
    // Writes the rows of the loaded file dataset that `aceita` takes (asked on the current
    // row) through the one-order dataset, inside the caller's transaction. Returns the order
    // keys of the rows written.
    static QSet<QString> copiaLinhas(TClientDataSetPlus &origem, TClientDataSetPlus &destino,
                                     const QString &codigoEmpresa, const std::function<bool()> &aceita);

    std::unique_ptr<TClientDataSetPlus> m_orcPedido;
    std::unique_ptr<TClientDataSetPlus> m_orcItem;
    std::unique_ptr<TClientDataSetPlus> m_cadPedido;
    std::unique_ptr<TClientDataSetPlus> m_cadItem;
};
