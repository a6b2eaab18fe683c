#include "CalculoItem.h"

#include "Formatos.h"

namespace {

const Decimal hundred = Decimal::fromInteger(100);

Decimal zero(int scale)
{
    return Decimal::fromUnits(0, scale);
}

Decimal percentOf(const Decimal &rate, const Decimal &value)
{
    return rate.dividedBy(hundred, rate.scale() + 2) * value;
}

MensagemPedido information(const QString &text)
{
    return MensagemPedido{text, TipoMensagem::Informacao, CorMensagem::Vermelho, BotoesMensagem::Ok};
}

} // namespace

CalculoItem::Admissao CalculoItem::admite(const PrecificacaoItem &pricing, const Decimal &price,
                                                  const Decimal &quantity)
{
    Admissao admission;
    admission.entrada = pricing.conferePreco(price);
    if (admission.entrada.preco != price.rounded(3))
        admission.aviso = information(textoPrecoAjustado());
    if (quantity.sign() <= 0)
        admission.recusa = information(textoQuantidadeNaoPositiva());
    else if (!PrecificacaoItem::cabeNoFator(quantity, pricing.base().FATPRO))
        admission.recusa = information(textoRecusaFator(pricing.base().FATPRO));
    // VLRTOT is NUMERIC(15,3): a larger total would only fail when the order is applied.
    else if (total(quantity.rounded(2), admission.entrada.preco.rounded(3)).abs() >= Decimal::fromInteger(1000000000000))
        admission.recusa = information(textoTotalExcessivo());
    return admission;
}

ValoresItem CalculoItem::doProduto(const PrecificacaoItem &pricing, const Decimal &price,
                                        const Decimal &quantity, const Decimal &TABCOS, bool promotionMark,
                                        bool operationHasTax, const std::optional<LinhaImposto> &tax)
{
    const BasePreco &row = pricing.base();
    ValoresItem item;
    item.QTDPRO = quantity.rounded(2);
    item.VLRUNT = price.rounded(3);
    item.VLRTOT = total(item.QTDPRO, item.VLRUNT);
    item.TABCOS = TABCOS.rounded(2);
    item.PRCTAB = row.PRCTAB;
    item.PRCVEN = row.PRCVEN;
    item.FATPRO = row.FATPRO;
    item.PRZMAX = row.PRZMAX;
    item.VLRPRM = row.VLRPRM;
    item.ITMPRM = promotionMark ? QStringLiteral("S") : QStringLiteral("N");
    item.MAXDCT = descontoMaximo(row.MAXDCT, row.RJTTAB);
    const Flex f = pricing.precoPromocional(item.VLRUNT) ? Flex{zero(2), zero(2)}
                                                         : flex(row.PRCTAB, item.TABCOS, item.VLRUNT, item.QTDPRO);
    item.USOFLX = f.USOFLX;
    item.GERFLX = f.GERFLX;
    item.QTDFAT = zero(2);
    item.VLRFAT = zero(2);
    item.VLRSTB = substituicaoTributaria(item.VLRTOT, operationHasTax, tax);
    return item;
}

ValoresItem CalculoItem::alterado(const ValoresItem &current, qint64 conditionMaxDays, const Decimal &price,
                                    const Decimal &quantity, const Decimal &TABCOS, bool promotionMark)
{
    ValoresItem item = current;
    item.QTDPRO = quantity.rounded(2);
    item.VLRUNT = price.rounded(3);
    item.VLRTOT = total(item.QTDPRO, item.VLRUNT);
    item.TABCOS = TABCOS.rounded(2);
    item.ITMPRM = promotionMark ? QStringLiteral("S") : QStringLiteral("N");
    const PrecificacaoItem pricing(baseDe(current), conditionMaxDays);
    const Flex f = pricing.precoPromocional(item.VLRUNT) ? Flex{zero(2), zero(2)}
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

Decimal CalculoItem::total(const Decimal &quantity, const Decimal &price)
{
    return (quantity * price).rounded(3);
}

CalculoItem::Flex CalculoItem::flex(const Decimal &PRCTAB, const Decimal &TABCOS, const Decimal &price,
                                            const Decimal &quantity)
{
    const Decimal reference = PRCTAB * (hundred - TABCOS).dividedBy(hundred, TABCOS.scale() + 2);
    const Decimal difference = reference - price;
    if (difference.sign() > 0)
        return {(quantity * difference).rounded(2), zero(2)};
    return {zero(2), (quantity * -difference).rounded(2)};
}

Decimal CalculoItem::descontoMaximo(const Decimal &MAXDCT, const Decimal &RJTTAB)
{
    return RJTTAB.sign() >= 0 ? MAXDCT : zero(2);
}

Decimal CalculoItem::substituicaoTributaria(const Decimal &total, bool operationHasTax,
                                         const std::optional<LinhaImposto> &tax)
{
    if (!operationHasTax || !tax || tax->ALISTR.sign() <= 0)
        return zero(2);
    const Decimal own = percentOf(tax->ALIICM, tax->CFTICM * total).rounded(2);
    const Decimal base = (total * (tax->ALISTR.dividedBy(hundred, tax->ALISTR.scale() + 2)
                                   + Decimal::fromInteger(1))).rounded(3);
    const Decimal substituted = percentOf(tax->ALIINA, base).rounded(2);
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
