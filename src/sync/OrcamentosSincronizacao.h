#pragma once

#include <QString>

#include <memory>

class FirebirdConnection;
class TClientDataSetPlus;

// The budget orders (orders kept as quotations, never sent to the server) across the
// replacement of the database: saved to ORCPED.XML and ORCITM.XML while the package is built,
// put back into the new database after the swap.
class OrcamentosSincronizacao
{
public:
    static const QString selectOrcamentos;      // cdsORCPEDIDO
    static const QString selectItensOrcamentos; // cdsORCITEM
    static const QString selectPedido;          // cdsCADPEDIDO: one order by PCODEMP, PCODPDF, PCODINT
    static const QString selectItensPedido;     // cdsCADITEM: the items of one order

    static const QString arquivoPedidos;        // ORCPED.XML
    static const QString arquivoItens;          // ORCITM.XML
    static const QString arquivoRecuperadoPedido; // BKPPED.XML
    static const QString arquivoRecuperadoItens;  // BKPITEM.XML

    explicit OrcamentosSincronizacao(FirebirdConnection &conexao);
    ~OrcamentosSincronizacao();
    OrcamentosSincronizacao(const OrcamentosSincronizacao &) = delete;
    OrcamentosSincronizacao &operator=(const OrcamentosSincronizacao &) = delete;

    // Saves the budget orders and their items to the two files of the folder; without budget
    // orders nothing is written and earlier files stay. Throws DatabaseError.
    void salvaOrcamentos(const QString &pasta);

    // Appends the saved orders and items to the open database, keeping every value (their
    // numbers included), then deletes the four files. Without ORCPED.XML nothing happens. A
    // failure is silent: rows restored before it stay, the two budget files stay for the next
    // synchronisation, and only the crash-recovery copy of an order in edition is deleted.
    void restauraOrcamentos(const QString &pasta, const QString &codigoEmpresa);

    TClientDataSetPlus &cdsORCPEDIDO() { return *m_orcPedido; }
    TClientDataSetPlus &cdsORCITEM() { return *m_orcItem; }

private:
    // Appends every row of the loaded file dataset through the one-order dataset.
    static void copiaLinhas(TClientDataSetPlus &origem, TClientDataSetPlus &destino, const QString &codigoEmpresa);

    std::unique_ptr<TClientDataSetPlus> m_orcPedido;
    std::unique_ptr<TClientDataSetPlus> m_orcItem;
    std::unique_ptr<TClientDataSetPlus> m_cadPedido;
    std::unique_ptr<TClientDataSetPlus> m_cadItem;
};
