#include "ValidacaoGravacaoPedido.h"

#include "Formatos.h"
#include "SaldoFlex.h"

namespace {

MensagemPedido navy(const QString &text)
{
    return {text, TipoMensagem::Informacao, CorMensagem::Azul, BotoesMensagem::Ok};
}

MensagemPedido red(const QString &text)
{
    return {text, TipoMensagem::Informacao, CorMensagem::Vermelho, BotoesMensagem::Ok};
}

bool missingCode(const QString &code)
{
    return code.trimmed().toLongLong() == 0;
}

QString money(const Decimal &value)
{
    return Formatos::formatMask(value.toDouble(), QStringLiteral("###,###,##0.00"));
}

} // namespace

ValidacaoGravacaoPedido::ValidacaoGravacaoPedido(CodigoLiberacao releaseCode)
    : m_releaseCode(std::move(releaseCode))
{
}

MensagemPedido ValidacaoGravacaoPedido::perguntaItensCorrigidos()
{
    return {QStringLiteral("Alguns ITENS tiveram seu VALORES CORRIGIDOS. Deseja Continuar?"),
            TipoMensagem::Informacao, CorMensagem::Vermelho, BotoesMensagem::SimNao};
}

ValidacaoGravacaoPedido::Resultado ValidacaoGravacaoPedido::valida(const Entrada &input) const
{
    Resultado result;
    auto refuse = [&result](const MensagemPedido &message) {
        result.recusa = message;
        return result;
    };

    Decimal used = Decimal::fromUnits(0, 2);
    Decimal total = Decimal::fromUnits(0, 3);
    for (const Item &item : input.itens) {
        used = used + item.USOFLX;
        total = total + item.VLRTOT;
    }

    if (!SaldoFlex::calcula(input.saldoFlex, input.flexAbertura, used).suficiente)
        return refuse(navy(QStringLiteral("Saldo de FLEX insuficiente para SALVAR pedido. Verifique!")));
    if (missingCode(input.CODTRA))
        return refuse(navy(QStringLiteral("Informe a TRANSAÇÃO!")));
    if (missingCode(input.CODOPE))
        return refuse(navy(QStringLiteral("Informe a OPERAÇÃO!")));
    if (missingCode(input.CODCON))
        return refuse(navy(QStringLiteral("Informe a CONDIÇÃO DE PAGAMENTO!")));
    if (input.itens.isEmpty())
        return refuse(navy(QStringLiteral("Pedido não tem ITENS cadastrados. Verifique!")));
    if (input.GERBON == QLatin1String("S") && input.SEMDBT != QLatin1String("S"))
        return refuse(navy(QStringLiteral(
            "Esta transação NÃO GERA título. Informe uma CONDIÇÃO DE PAGAMENTO valida!")));
    if (input.GERTIT == QLatin1String("S") && input.SEMDBT == QLatin1String("S"))
        return refuse(navy(QStringLiteral("Esta transação GERA título. Informe uma CONDIÇÃO DE PAGAMENTO valida!")));

    for (const CentroCusto &centre : input.centrosCusto) {
        bool hasItems = false;
        Decimal centreTotal = Decimal::fromUnits(0, 3);
        for (const Item &item : input.itens) {
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
        if (input.PDVMIN > centreTotal)
            return refuse(navy(QStringLiteral("Para ") + centre.DESCCU.trimmed()
                               + QStringLiteral(", nessa condição de pagamento, o pedido mínimo é de R$ ")
                               + money(input.PDVMIN) + QStringLiteral("Total nesse pedido R$ ")
                               + money(centreTotal) + QStringLiteral(". Verifique!")));
    }

    result.TOTFLX = used.rounded(2);
    result.TOTPDF = total.rounded(2);
    result.PDFORC = input.PDFORC == QLatin1String("S") ? QStringLiteral("S") : QStringLiteral("N");

    const QString typedCode = input.codigoLiberacao.trimmed();
    if (input.VENCIDO.sign() > 0 && (result.PDFORC != QLatin1String("S") || !typedCode.isEmpty())) {
        if (!typedCode.isEmpty()) {
            if (typedCode == m_releaseCode(input.CODPDF, input.CODVEN, input.DATPDF)) {
                result.PDFORC = QStringLiteral("N");
            } else {
                result.avisos.append(red(QStringLiteral(
                    "Senha de LIBERAÇÂO do pedido Invalida! Pedido será salvo como ORÇAMENTO.")));
                result.limpaCodigoLiberacao = true;
                result.PDFORC = QStringLiteral("S");
            }
        } else {
            result.avisos.append(red(QStringLiteral(
                "Pedido será salvo como ORÇAMENTO, pois cliente está com títulos em atraso!")));
            result.PDFORC = QStringLiteral("S");
        }
    } else if (input.LIMCRE < result.TOTPDF + input.ABERTO && result.PDFORC != QLatin1String("S")) {
        result.avisos.append(navy(QStringLiteral("Atenção : Com esse Pedido cliente vai passar seu limite de "
                                                  "crédito e o pedido podera ser CANCELADO!")));
    }

    result.VENSUB = input.VENSUB.trimmed() == input.CODVEN.trimmed() ? QString() : input.VENSUB;
    return result;
}
