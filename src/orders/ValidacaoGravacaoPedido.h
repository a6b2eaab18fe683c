#pragma once

#include "Decimal.h"
#include "MensagemPedido.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <QtGlobal>

#include <functional>
#include <optional>

// The checks of "Salvar" after the re-pricing, in the order the seller meets them: flex balance;
// transaction, operation and condition; items; transaction against condition; per cost centre the
// operation allowed and the minimum order; then the decisions that do not stop the save: budget
// because of overdue titles (unless the release code is typed), credit warning, VENSUB cleared.
// The first failing check is the refusal; nothing of the order is changed by a refusal.
class ValidacaoGravacaoPedido
{
public:
    // D500DAT::geraSenhaLiberacao: order number, seller, order date -> release code.
    using CodigoLiberacao = std::function<QString(const QString &, const QString &, const QDate &)>;

    struct Item
    {
        qint64 CODCCU = 0;
        Decimal VLRTOT;
        Decimal USOFLX;
    };

    // A cost centre of the company (F515CCU, in the order the statement returns them) with what
    // the database says about the header's operation for it.
    struct CentroCusto
    {
        qint64 CODCCU = 0;
        QString DESCCU;
        bool operacaoPermitida = true;       // an F513OCU row exists for the header's operation
        QStringList nomesOperacoesPermitidas;  // the customer's operations this cost centre allows
    };

    struct Entrada
    {
        // header
        QString CODPDF, CODVEN, VENSUB, CODTRA, CODOPE, CODCON;
        QDate DATPDF;
        QString PDFORC; // 'S' when "ORÇAMENTO" is checked
        // current rows of the header lists
        QString GERBON, GERTIT; // transaction
        QString SEMDBT;         // condition
        Decimal PDVMIN;         // condition
        // customer
        Decimal LIMCRE, ABERTO, VENCIDO;
        QString codigoLiberacao; // typed in "Liberação:"
        // flex
        std::optional<Decimal> saldoFlex; // SALDOFLX; empty when the seller has no row
        Decimal flexAbertura;
        QVector<Item> itens;
        QVector<CentroCusto> centrosCusto;
    };

    struct Resultado
    {
        std::optional<MensagemPedido> recusa; // shown; the save stops
        QVector<MensagemPedido> avisos;       // shown in this order; the save goes on
        // what the header is saved with (meaningful when there is no refusal)
        QString PDFORC;
        QString VENSUB;
        Decimal TOTFLX;
        Decimal TOTPDF;
        bool limpaCodigoLiberacao = false; // the typed code was wrong: empty "Liberação:"
        bool aceito() const { return !recusa.has_value(); }
    };

    explicit ValidacaoGravacaoPedido(CodigoLiberacao codigoLiberacao);

    Resultado valida(const Entrada &entrada) const;

    // The question asked before these checks when the re-pricing corrected an item.
    static MensagemPedido perguntaItensCorrigidos();

private:
    CodigoLiberacao m_codigoLiberacao;
};
