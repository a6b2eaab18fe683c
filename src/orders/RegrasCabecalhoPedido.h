#pragma once

#include <QString>

#include <optional>

// Small rules of the order header: who the order is credited to (CODVEN and VENSUB), the
// parameters a customer is loaded with, the normalisation of PDFORC and RETPDV on edit, and what
// the status label says.
class RegrasCabecalhoPedido
{
public:
    struct Vendedores
    {
        QString CODVEN;
        QString VENSUB; // empty when the logged seller owns the customer
    };

    // The PCODCLI/PCODNOV values of the statements that load a customer.
    struct ParametrosCliente
    {
        QString clienteCODCLI, clienteCODNOV; // customer row
        QString operacoesCODCLI;
        QString condicoesCODCLI;
        QString financeiroCODCLI;
        QString ultimasComprasCODCLI;
    };

    enum class CorSituacao { Verde, Roxo, AzulMarinho, Vermelho };
    struct Situacao
    {
        QString rotulo;
        CorSituacao cor = CorSituacao::Verde;
    };

    // A new order: credited to the customer's seller (codVenPedido) with the logged seller as
    // sub-seller when they differ; to the logged seller alone otherwise, and when no customer's
    // seller was handed over.
    static Vendedores vendedores(const QString &vendedorLogado, const QString &codVenPedido);
    // codigo: CODCLI of a synchronised customer, or CODNOV when clienteNovo; may be empty.
    static ParametrosCliente parametrosCliente(const QString &codigo, bool clienteNovo);
    // PDFORC and RETPDV on edit: 'S' stays, anything else (empty included) becomes 'N'.
    static QString marcaNormalizada(const QString &valor);
    // Only 'D' orders can be changed or saved.
    static bool editavel(const QString &SITPDF);
    // The label of the box "Situação"; empty for a code that leaves the label as it was.
    static std::optional<Situacao> situacao(const QString &SITPDF);
};
