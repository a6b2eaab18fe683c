#include "RegrasCabecalhoPedido.h"

#include "CondicoesCliente.h"

RegrasCabecalhoPedido::Vendedores RegrasCabecalhoPedido::vendedores(const QString &vendedorLogado, const QString &codVenPedido)
{
    const QString customerSeller = codVenPedido.trimmed();
    // A route window hands over no seller: the order stays with the logged seller.
    if (customerSeller.isEmpty() || customerSeller == vendedorLogado.trimmed())
        return {vendedorLogado.trimmed(), QString()};
    return {customerSeller, vendedorLogado.trimmed()};
}

RegrasCabecalhoPedido::ParametrosCliente RegrasCabecalhoPedido::parametrosCliente(const QString &codigo, bool clienteNovo)
{
    const QString trimmed = codigo.trimmed();
    const QString conditions = CondicoesCliente::parametroCliente(trimmed, clienteNovo);
    if (trimmed.isEmpty())
        return {QStringLiteral("-1"), QStringLiteral("-1"), QStringLiteral("-1"), conditions,
                QStringLiteral("0"), QStringLiteral("0")};
    if (clienteNovo)
        return {QStringLiteral("0"), trimmed, QStringLiteral("0"), conditions, QStringLiteral("0"),
                QStringLiteral("0")};
    return {trimmed, QStringLiteral("0"), trimmed, conditions, trimmed, trimmed};
}

QString RegrasCabecalhoPedido::marcaNormalizada(const QString &valor)
{
    return valor == QLatin1String("S") ? QStringLiteral("S") : QStringLiteral("N");
}

bool RegrasCabecalhoPedido::editavel(const QString &SITPDF)
{
    return SITPDF == QLatin1String("D");
}

std::optional<RegrasCabecalhoPedido::Situacao> RegrasCabecalhoPedido::situacao(const QString &SITPDF)
{
    if (SITPDF == QLatin1String("D"))
        return Situacao{QStringLiteral("Digitado"), CorSituacao::Verde};
    if (SITPDF == QLatin1String("E") || SITPDF == QLatin1String("L"))
        return Situacao{QStringLiteral("Enviado"), CorSituacao::Roxo};
    if (SITPDF == QLatin1String("O"))
        return Situacao{QStringLiteral("Coletado"), CorSituacao::Roxo};
    if (SITPDF == QLatin1String("A"))
        return Situacao{QStringLiteral("Aguardando"), CorSituacao::Roxo};
    if (SITPDF == QLatin1String("F"))
        return Situacao{QStringLiteral("Faturado"), CorSituacao::AzulMarinho};
    if (SITPDF == QLatin1String("C"))
        return Situacao{QStringLiteral("Cancelado"), CorSituacao::Vermelho};
    return std::nullopt;
}
