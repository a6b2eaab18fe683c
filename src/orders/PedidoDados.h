#pragma once

#include "CalculoItem.h"
#include "Decimal.h"
#include "PrecificacaoItem.h"
#include "ValidacaoGravacaoPedido.h"

#include <QObject>
#include <QString>

#include <optional>

class FirebirdConnection;
class TClientDataSetPlus;

// The datasets of one order window: the order being edited (header and items, kept in memory
// with their change logs), the order list, the header's lists and the customer's sets that the
// item rules read, and the product list. Statements are bound as text.
class PedidoDados : public QObject
{
    Q_OBJECT
public:
    explicit PedidoDados(FirebirdConnection &connection, QObject *parent = nullptr);
    ~PedidoDados() override;

    FirebirdConnection &connection() const { return m_connection; }

    TClientDataSetPlus *cdsPesPedido;   // order list
    TClientDataSetPlus *cdsCADPEDIDO;   // header being edited
    TClientDataSetPlus *cdsCADITEM;     // its items
    TClientDataSetPlus *cdsTransacao;   // F513TRA
    TClientDataSetPlus *cdsOperacao;    // customer's operations
    TClientDataSetPlus *cdsCondicao;    // customer's payment conditions
    TClientDataSetPlus *cdsCliente;     // customer row with city and table name
    TClientDataSetPlus *cdsFinanceiro;  // ABERTO, VENCIDO
    TClientDataSetPlus *cdsUltimaCompra; // last purchases
    TClientDataSetPlus *cdsImposto;     // tax rows of the customer's state
    TClientDataSetPlus *cdsVendedores;  // NOMVEN, NOMSUB
    TClientDataSetPlus *cdsComissao;    // commission steps of a scale
    TClientDataSetPlus *cdsGrupo;       // F511GFA
    TClientDataSetPlus *cdsFamilia;     // families of a group
    TClientDataSetPlus *cdsPESPRODUTO;  // product list

    static const QString kSelectPesPedido;
    static const QString kSelectTransacao;
    static const QString kSelectOperacao;
    static const QString kSelectCliente;
    static const QString kSelectFinanceiro;
    static const QString kSelectUltimaCompra;
    static const QString kSelectImposto;
    static const QString kSelectVendedores;
    static const QString kSelectComissao;
    static const QString kSelectGrupo;
    static const QString kSelectFamilia;

    // Reopens a dataset with its parameters (name, value pairs).
    static void reabre(TClientDataSetPlus *ds, const QList<QPair<QString, QString>> &params);

    // Opens header and items of one order (header into edit mode).
    void abrePedido(const QString &CODEMP, const QString &CODPDF, const QString &CODINT, bool editar);

    // VLDITM is never written to the database.
    void marcaColunasDeTrabalho();

    // Whether the operation chosen in the header carries the tax substitution (TEMFLU 'S');
    // nullopt while no operation of the customer's list is chosen.
    std::optional<bool> operacaoComImposto() const;
    // The tax row of the customer's state for a product and cost centre (the filter stays set).
    std::optional<CalculoItem::LinhaImposto> imposto(qint64 CODCCU, qint64 CODPRO) const;
    // VLRSTB of an item total under the chosen operation; nullopt while none is chosen, so the
    // item keeps what it has until the operation is known.
    std::optional<Decimal> substituicaoTributaria(qint64 CODCCU, qint64 CODPRO, const Decimal &VLRTOT) const;

    // Writes the current row of the product list as an item of the order, new or written again:
    // the item rules' columns, the substitution tax of the chosen operation and the commission
    // step (TABCOS percentage, CODCOS scale). The item set is left unfiltered.
    void gravaItemDoProduto(const PrecificacaoItem &precificacao, const PrecificacaoItem::Entrada &entrada,
                            const Decimal &quantidade, const Decimal &TABCOS, const QString &CODCOS);

    // What "Salvar" checks, read from the header, its lists, the customer's sets and every item
    // (the item set's cursor moves); the release code and the flex figures are the caller's.
    // Throws DatabaseError.
    ValidacaoGravacaoPedido::Entrada entradaGravacao(const QString &CODEMP) const;
    // Writes the accepted outcome into the header and applies header and items together.
    void gravaPedido(const ValidacaoGravacaoPedido::Resultado &resultado);

    // A NUMERIC value of the current row as an exact decimal (0 when null).
    static Decimal decimal(const TClientDataSetPlus *ds, const QString &field);
    static std::optional<Decimal> decimalOpcional(const TClientDataSetPlus *ds, const QString &field);
    // A code column as integer text ("" when null).
    static QString codigo(const TClientDataSetPlus *ds, const QString &field);

private:
    TClientDataSetPlus *cria(const QString &sql, const QString &table = QString());
    FirebirdConnection &m_connection;
};
