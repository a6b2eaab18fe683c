#include "ValidacaoGravacaoPedido.h"

#include "Formatos.h"
#include "SaldoFlex.h"

namespace {

MensagemPedido azulMarinho(const QString &texto)
{
    return {texto, TipoMensagem::Informacao, CorMensagem::Azul, BotoesMensagem::Ok};
}

MensagemPedido vermelho(const QString &texto)
{
    return {texto, TipoMensagem::Informacao, CorMensagem::Vermelho, BotoesMensagem::Ok};
}

bool codigoAusente(const QString &codigo)
{
    return codigo.trimmed().toLongLong() == 0;
}

QString dinheiro(const Decimal &valor)
{
    return Formatos::formatMask(valor.toDouble(), QStringLiteral("###,###,##0.00"));
}

} // namespace

ValidacaoGravacaoPedido::ValidacaoGravacaoPedido(CodigoLiberacao codigoLiberacao)
    : m_codigoLiberacao(std::move(codigoLiberacao))
{
}

MensagemPedido ValidacaoGravacaoPedido::perguntaItensCorrigidos()
{
    return {QStringLiteral("Alguns ITENS tiveram seu VALORES CORRIGIDOS. Deseja Continuar?"),
            TipoMensagem::Informacao, CorMensagem::Vermelho, BotoesMensagem::SimNao};
}

ValidacaoGravacaoPedido::Resultado ValidacaoGravacaoPedido::valida(const Entrada &entrada) const
{
    Resultado result;
    auto refuse = [&result](const MensagemPedido &message) {
        result.recusa = message;
        return result;
    };

    Decimal usado = Decimal::fromUnits(0, 2);
    Decimal total = Decimal::fromUnits(0, 3);
    for (const Item &item : entrada.itens) {
        usado = usado + item.USOFLX;
        total = total + item.VLRTOT;
    }

    if (!SaldoFlex::calcula(entrada.saldoFlex, entrada.flexAbertura, usado).suficiente)
        return refuse(azulMarinho(QStringLiteral("Saldo de FLEX insuficiente para SALVAR pedido. Verifique!")));
    if (codigoAusente(entrada.CODTRA))
        return refuse(azulMarinho(QStringLiteral("Informe a TRANSAÇÃO!")));
    if (codigoAusente(entrada.CODOPE))
        return refuse(azulMarinho(QStringLiteral("Informe a OPERAÇÃO!")));
    if (codigoAusente(entrada.CODCON))
        return refuse(azulMarinho(QStringLiteral("Informe a CONDIÇÃO DE PAGAMENTO!")));
    if (entrada.itens.isEmpty())
        return refuse(azulMarinho(QStringLiteral("Pedido não tem ITENS cadastrados. Verifique!")));
    if (entrada.GERBON == QLatin1String("S") && entrada.SEMDBT != QLatin1String("S"))
        return refuse(azulMarinho(QStringLiteral(
            "Esta transação NÃO GERA título. Informe uma CONDIÇÃO DE PAGAMENTO valida!")));
    if (entrada.GERTIT == QLatin1String("S") && entrada.SEMDBT == QLatin1String("S"))
        return refuse(azulMarinho(QStringLiteral("Esta transação GERA título. Informe uma CONDIÇÃO DE PAGAMENTO valida!")));

    for (const CentroCusto &centre : entrada.centrosCusto) {
        bool hasItems = false;
        Decimal centreTotal = Decimal::fromUnits(0, 3);
        for (const Item &item : entrada.itens) {
            if (item.CODCCU == centre.CODCCU) {
                hasItems = true;
                centreTotal = centreTotal + item.VLRTOT;
            }
        }
        if (!hasItems)
            continue;
        if (!centre.operacaoPermitida)
            return refuse({QStringLiteral("OPERAÇÃO inválida para os itens informados. Verifique!\r\r"
                                          "Operações validas:\r")
                               + centre.nomesOperacoesPermitidas.join(QStringLiteral("  ")),
                           TipoMensagem::Erro, CorMensagem::Vermelho, BotoesMensagem::Ok});
        if (entrada.PDVMIN > centreTotal)
            return refuse(azulMarinho(QStringLiteral("Para ") + centre.DESCCU.trimmed()
                               + QStringLiteral(", nessa condição de pagamento, o pedido mínimo é de R$ ")
                               + dinheiro(entrada.PDVMIN) + QStringLiteral("Total nesse pedido R$ ")
                               + dinheiro(centreTotal) + QStringLiteral(". Verifique!")));
    }

    result.TOTFLX = usado.rounded(2);
    result.TOTPDF = total.rounded(2);
    result.PDFORC = entrada.PDFORC == QLatin1String("S") ? QStringLiteral("S") : QStringLiteral("N");

    const QString typedCode = entrada.codigoLiberacao.trimmed();
    if (entrada.VENCIDO.sign() > 0 && (result.PDFORC != QLatin1String("S") || !typedCode.isEmpty())) {
        if (!typedCode.isEmpty()) {
            if (typedCode == m_codigoLiberacao(entrada.CODPDF, entrada.CODVEN, entrada.DATPDF)) {
                result.PDFORC = QStringLiteral("N");
            } else {
                result.avisos.append(vermelho(QStringLiteral(
                    "Senha de LIBERAÇÂO do pedido Invalida! Pedido será salvo como ORÇAMENTO.")));
                result.limpaCodigoLiberacao = true;
                result.PDFORC = QStringLiteral("S");
            }
        } else {
            result.avisos.append(vermelho(QStringLiteral(
                "Pedido será salvo como ORÇAMENTO, pois cliente está com títulos em atraso!")));
            result.PDFORC = QStringLiteral("S");
        }
    } else if (entrada.LIMCRE < result.TOTPDF + entrada.ABERTO && result.PDFORC != QLatin1String("S")) {
        result.avisos.append(azulMarinho(QStringLiteral("Atenção : Com esse Pedido cliente vai passar seu limite de "
                                                  "crédito e o pedido podera ser CANCELADO!")));
    }

    result.VENSUB = entrada.VENSUB.trimmed() == entrada.CODVEN.trimmed() ? QString() : entrada.VENSUB;
    return result;
}
