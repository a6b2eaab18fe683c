#include "PrecificacaoItem.h"

#include "Formatos.h"

namespace {

const Decimal hundred = Decimal::fromInteger(100);

Decimal priceField(const Decimal &value)
{
    return value.rounded(3);
}

Decimal discountField(const Decimal &value)
{
    return value.rounded(2);
}

qint64 wholeFactor(const Decimal &factor)
{
    return factor.toInteger(Decimal::Rounding::HalfEven);
}

} // namespace

PrecificacaoItem::PrecificacaoItem(const BasePreco &basis, qint64 conditionMaxDays)
    : m_basis(basis)
    , m_conditionMaxDays(conditionMaxDays)
{
}

bool PrecificacaoItem::promocaoPermitida() const
{
    return m_basis.VLRPRM.has_value() && m_basis.PRZMAX >= m_conditionMaxDays;
}

bool PrecificacaoItem::precoPromocional(const Decimal &price) const
{
    return promocaoPermitida() && price.rounded(4) == m_basis.VLRPRM->rounded(4);
}

Decimal PrecificacaoItem::precoMinimo() const
{
    return m_basis.PRCTAB * (hundred - m_basis.MAXDCT).dividedBy(hundred, m_basis.MAXDCT.scale() + 2);
}

Decimal PrecificacaoItem::descontoPara(const Decimal &price) const
{
    if (m_basis.PRCVEN.sign() <= 0)
        return Decimal::fromUnits(0, 2);
    return ((m_basis.PRCVEN - price) * hundred).dividedBy(m_basis.PRCVEN, 2);
}

PrecificacaoItem::Entrada PrecificacaoItem::conferePreco(const Decimal &typedPrice) const
{
    const Decimal price = priceField(typedPrice);
    if (precoPromocional(price))
        return {priceField(*m_basis.VLRPRM), Decimal::fromUnits(0, 2), true, Decimal::fromUnits(0, 2)};
    Entrada entry;
    entry.preco = price;
    // "MAXDCT < (1 − price / PRCTAB) × 100" is "price below the minimum"; compared exactly, so a
    // price at the minimum is not raised, and a zero PRCTAB sets no minimum.
    const Decimal minimum = precoMinimo();
    if (price < minimum)
        entry.preco = priceField(minimum);
    entry.desconto = descontoPara(entry.preco);
    return entry;
}

PrecificacaoItem::Entrada PrecificacaoItem::aplicaDesconto(const Decimal &discount, bool promotionMark) const
{
    Entrada entry;
    entry.promocao = promotionMark;
    entry.desconto = discountField(discount);
    entry.preco = priceField(m_basis.PRCVEN * (hundred - entry.desconto).dividedBy(hundred, 4));
    const Decimal minimum = precoMinimo();
    if (entry.preco < minimum) {
        entry.preco = priceField(minimum);
        entry.desconto = descontoPara(entry.preco);
    }
    return entry;
}

PrecificacaoItem::Entrada PrecificacaoItem::escolheComissao(const Decimal &percentage, const Decimal &discount,
                                                 bool promotionMark) const
{
    return aplicaDesconto(percentage.sign() > 0 ? percentage : discount, promotionMark);
}

std::optional<PrecificacaoItem::Entrada> PrecificacaoItem::usaUltimoPreco(const Decimal &lastPrice) const
{
    if (lastPrice.sign() <= 0)
        return std::nullopt;
    return conferePreco(lastPrice);
}

PrecificacaoItem::ResultadoPromocao PrecificacaoItem::aplicaPromocao() const
{
    ResultadoPromocao outcome;
    if (!m_basis.VLRPRM)
        return outcome; // the button is disabled without a promotion price
    if (m_basis.PRZMAX >= m_conditionMaxDays) {
        outcome.entrada = Entrada{priceField(*m_basis.VLRPRM), Decimal::fromUnits(0, 2), true,
                              Decimal::fromUnits(0, 2)};
    } else {
        outcome.recusa = MensagemPedido{textoRecusaPromocao(m_basis.PRZMAX), TipoMensagem::Informacao,
                                       CorMensagem::Vermelho, BotoesMensagem::Ok};
    }
    return outcome;
}

Decimal PrecificacaoItem::proximaQuantidade(const Decimal &quantity, const Decimal &factor)
{
    const qint64 whole = wholeFactor(factor);
    if (whole <= 0)
        return quantity + Decimal::fromInteger(1);
    const Decimal grown = quantity + factor;
    const qint64 remainder = grown.toInteger(Decimal::Rounding::HalfEven) % whole;
    return grown - Decimal::fromInteger(remainder);
}

bool PrecificacaoItem::cabeNoFator(const Decimal &quantity, const Decimal &factor)
{
    const qint64 whole = wholeFactor(factor);
    if (whole <= 0)
        return true;
    return quantity.toInteger(Decimal::Rounding::HalfEven) % whole <= 0;
}

QString PrecificacaoItem::textoRecusaPromocao(qint64 przmax)
{
    return QStringLiteral("PROMOÇÃO VALIDA APENAS PARA CONDIÇÕES DE PAGAMENTO ATE ")
        + Formatos::formatMask(double(przmax), QStringLiteral("00")) + QStringLiteral(" DIAS!");
}
