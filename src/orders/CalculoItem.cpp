#include "CalculoItem.h"

#include "Formatos.h"

namespace {

const Decimal cem = Decimal::fromInteger(100);

Decimal zero(int escala)
{
    return Decimal::fromUnits(0, escala);
}

Decimal percentualDe(const Decimal &aliquota, const Decimal &valor)
{
    return aliquota.dividedBy(cem, aliquota.scale() + 2) * valor;
}

MensagemPedido informacao(const QString &texto)
{
    return MensagemPedido{texto, TipoMensagem::Informacao, CorMensagem::Vermelho, BotoesMensagem::Ok};
}

} // namespace

CalculoItem::Admissao CalculoItem::admite(const PrecificacaoItem &precificacao, const Decimal &preco,
                                                  const Decimal &quantidade)
{
    Admissao admission;
    admission.entrada = precificacao.conferePreco(preco);
    if (admission.entrada.preco != preco.rounded(3))
        admission.aviso = informacao(textoPrecoAjustado());
    if (quantidade.sign() <= 0)
        admission.recusa = informacao(textoQuantidadeNaoPositiva());
    else if (!PrecificacaoItem::cabeNoFator(quantidade, precificacao.base().FATPRO))
        admission.recusa = informacao(textoRecusaFator(precificacao.base().FATPRO));
    // VLRTOT is NUMERIC(15,3): a larger total would only fail when the order is applied.
    else if (total(quantidade.rounded(2), admission.entrada.preco.rounded(3)).abs() >= Decimal::fromInteger(1000000000000))
        admission.recusa = informacao(textoTotalExcessivo());
    return admission;
}

ValoresItem CalculoItem::doProduto(const PrecificacaoItem &precificacao, const Decimal &preco,
                                        const Decimal &quantidade, const Decimal &TABCOS, bool marcaPromocao,
                                        bool operacaoComImposto, const std::optional<LinhaImposto> &imposto)
{
    const BasePreco &linha = precificacao.base();
    ValoresItem item;
    item.QTDPRO = quantidade.rounded(2);
    item.VLRUNT = preco.rounded(3);
    item.VLRTOT = total(item.QTDPRO, item.VLRUNT);
    item.TABCOS = TABCOS.rounded(2);
    item.PRCTAB = linha.PRCTAB;
    item.PRCVEN = linha.PRCVEN;
    item.FATPRO = linha.FATPRO;
    item.PRZMAX = linha.PRZMAX;
    item.VLRPRM = linha.VLRPRM;
    item.ITMPRM = marcaPromocao ? QStringLiteral("S") : QStringLiteral("N");
    item.MAXDCT = descontoMaximo(linha.MAXDCT, linha.RJTTAB);
    const Flex f = precificacao.precoPromocional(item.VLRUNT) ? Flex{zero(2), zero(2)}
                                                         : flex(linha.PRCTAB, item.TABCOS, item.VLRUNT, item.QTDPRO);
    item.USOFLX = f.USOFLX;
    item.GERFLX = f.GERFLX;
    item.QTDFAT = zero(2);
    item.VLRFAT = zero(2);
    item.VLRSTB = substituicaoTributaria(item.VLRTOT, operacaoComImposto, imposto);
    return item;
}

ValoresItem CalculoItem::alterado(const ValoresItem &atual, qint64 maximoDiasCondicao, const Decimal &preco,
                                    const Decimal &quantidade, const Decimal &TABCOS, bool marcaPromocao)
{
    ValoresItem item = atual;
    item.QTDPRO = quantidade.rounded(2);
    item.VLRUNT = preco.rounded(3);
    item.VLRTOT = total(item.QTDPRO, item.VLRUNT);
    item.TABCOS = TABCOS.rounded(2);
    item.ITMPRM = marcaPromocao ? QStringLiteral("S") : QStringLiteral("N");
    const PrecificacaoItem precificacao(baseDe(atual), maximoDiasCondicao);
    const Flex f = precificacao.precoPromocional(item.VLRUNT) ? Flex{zero(2), zero(2)}
                                                         : flex(item.PRCTAB, item.TABCOS, item.VLRUNT, item.QTDPRO);
    item.USOFLX = f.USOFLX;
    item.GERFLX = f.GERFLX;
    item.QTDFAT = zero(2);
    item.VLRFAT = zero(2);
    return item;
}

BasePreco CalculoItem::baseDe(const ValoresItem &item)
{
    BasePreco base;
    base.PRCTAB = item.PRCTAB;
    base.PRCVEN = item.PRCVEN;
    base.MAXDCT = item.MAXDCT;
    base.FATPRO = item.FATPRO;
    base.VLRPRM = item.VLRPRM;
    base.PRZMAX = item.PRZMAX;
    return base;
}

Decimal CalculoItem::total(const Decimal &quantidade, const Decimal &preco)
{
    return (quantidade * preco).rounded(3);
}

CalculoItem::Flex CalculoItem::flex(const Decimal &PRCTAB, const Decimal &TABCOS, const Decimal &preco,
                                            const Decimal &quantidade)
{
    const Decimal reference = PRCTAB * (cem - TABCOS).dividedBy(cem, TABCOS.scale() + 2);
    const Decimal difference = reference - preco;
    if (difference.sign() > 0)
        return {(quantidade * difference).rounded(2), zero(2)};
    return {zero(2), (quantidade * -difference).rounded(2)};
}

Decimal CalculoItem::descontoMaximo(const Decimal &MAXDCT, const Decimal &RJTTAB)
{
    return RJTTAB.sign() >= 0 ? MAXDCT : zero(2);
}

Decimal CalculoItem::substituicaoTributaria(const Decimal &total, bool operacaoComImposto,
                                         const std::optional<LinhaImposto> &imposto)
{
    if (!operacaoComImposto || !imposto || imposto->ALISTR.sign() <= 0)
        return zero(2);
    const Decimal own = percentualDe(imposto->ALIICM, imposto->CFTICM * total).rounded(2);
    const Decimal base = (total * (imposto->ALISTR.dividedBy(cem, imposto->ALISTR.scale() + 2)
                                   + Decimal::fromInteger(1))).rounded(3);
    const Decimal substituted = percentualDe(imposto->ALIINA, base).rounded(2);
    return (substituted - own).rounded(2);
}

QString CalculoItem::textoPrecoAjustado()
{
    return QStringLiteral("Desconto acima do PERMITIDO, preço do item foi ajustado!");
}

QString CalculoItem::textoTotalExcessivo()
{
    return QStringLiteral("Total do item grande demais! Verifique a quantidade e o preço.");
}

QString CalculoItem::textoQuantidadeNaoPositiva()
{
    return QStringLiteral("Quantidade tem que ser Maior que ZERO!");
}

QString CalculoItem::textoRecusaFator(const Decimal &FATPRO)
{
    return QStringLiteral("Quantidade digitada inválida! Fator do Produto : ")
        + Formatos::formatMask(FATPRO.toDouble(), QStringLiteral("00"));
}
