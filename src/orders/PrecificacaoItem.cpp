#include "PrecificacaoItem.h"

#include "Formatos.h"

namespace {

const Decimal cem = Decimal::fromInteger(100);

Decimal campoPreco(const Decimal &valor)
{
    return valor.rounded(3);
}

Decimal campoDesconto(const Decimal &valor)
{
    return valor.rounded(2);
}

qint64 fatorInteiro(const Decimal &fator)
{
    return fator.toInteger(Decimal::Rounding::HalfEven);
}

} // namespace

PrecificacaoItem::PrecificacaoItem(const BasePreco &base, qint64 maximoDiasCondicao)
    : m_base(base)
    , m_maximoDiasCondicao(maximoDiasCondicao)
{
}

bool PrecificacaoItem::promocaoPermitida() const
{
    return m_base.VLRPRM.has_value() && m_base.PRZMAX >= m_maximoDiasCondicao;
}

bool PrecificacaoItem::precoPromocional(const Decimal &preco) const
{
    return promocaoPermitida() && preco.rounded(4) == m_base.VLRPRM->rounded(4);
}

Decimal PrecificacaoItem::precoMinimo() const
{
    return m_base.PRCTAB * (cem - m_base.MAXDCT).dividedBy(cem, m_base.MAXDCT.scale() + 2);
}

Decimal PrecificacaoItem::descontoPara(const Decimal &preco) const
{
    if (m_base.PRCVEN.sign() <= 0)
        return Decimal::fromUnits(0, 2);
    return ((m_base.PRCVEN - preco) * cem).dividedBy(m_base.PRCVEN, 2);
}

PrecificacaoItem::Entrada PrecificacaoItem::conferePreco(const Decimal &typedPrice) const
{
    const Decimal preco = campoPreco(typedPrice);
    if (precoPromocional(preco))
        return {campoPreco(*m_base.VLRPRM), Decimal::fromUnits(0, 2), true, Decimal::fromUnits(0, 2)};
    Entrada entry;
    entry.preco = preco;
    // "MAXDCT < (1 − price / PRCTAB) × 100" is "price below the minimum"; compared exactly, so a
    // price at the minimum is not raised, and a zero PRCTAB sets no minimum.
    const Decimal minimo = precoMinimo();
    if (preco < minimo)
        entry.preco = campoPreco(minimo);
    entry.desconto = descontoPara(entry.preco);
    return entry;
}

PrecificacaoItem::Entrada PrecificacaoItem::aplicaDesconto(const Decimal &desconto, bool marcaPromocao) const
{
    Entrada entry;
    entry.promocao = marcaPromocao;
    entry.desconto = campoDesconto(desconto);
    entry.preco = campoPreco(m_base.PRCVEN * (cem - entry.desconto).dividedBy(cem, 4));
    const Decimal minimo = precoMinimo();
    if (entry.preco < minimo) {
        entry.preco = campoPreco(minimo);
        entry.desconto = descontoPara(entry.preco);
    }
    return entry;
}

PrecificacaoItem::Entrada PrecificacaoItem::escolheComissao(const Decimal &percentual, const Decimal &desconto,
                                                 bool marcaPromocao) const
{
    return aplicaDesconto(percentual.sign() > 0 ? percentual : desconto, marcaPromocao);
}

std::optional<PrecificacaoItem::Entrada> PrecificacaoItem::usaUltimoPreco(const Decimal &ultimoPreco) const
{
    if (ultimoPreco.sign() <= 0)
        return std::nullopt;
    return conferePreco(ultimoPreco);
}

PrecificacaoItem::ResultadoPromocao PrecificacaoItem::aplicaPromocao() const
{
    ResultadoPromocao outcome;
    if (!m_base.VLRPRM)
        return outcome; // the button is disabled without a promotion price
    if (m_base.PRZMAX >= m_maximoDiasCondicao) {
        outcome.entrada = Entrada{campoPreco(*m_base.VLRPRM), Decimal::fromUnits(0, 2), true,
                              Decimal::fromUnits(0, 2)};
    } else {
        outcome.recusa = MensagemPedido{textoRecusaPromocao(m_base.PRZMAX), TipoMensagem::Informacao,
                                       CorMensagem::Vermelho, BotoesMensagem::Ok};
    }
    return outcome;
}

Decimal PrecificacaoItem::proximaQuantidade(const Decimal &quantidade, const Decimal &fator)
{
    const qint64 whole = fatorInteiro(fator);
    if (whole <= 0)
        return quantidade + Decimal::fromInteger(1);
    const Decimal grown = quantidade + fator;
    const qint64 remainder = grown.toInteger(Decimal::Rounding::HalfEven) % whole;
    return grown - Decimal::fromInteger(remainder);
}

bool PrecificacaoItem::cabeNoFator(const Decimal &quantidade, const Decimal &fator)
{
    const qint64 whole = fatorInteiro(fator);
    if (whole <= 0)
        return true;
    return quantidade.toInteger(Decimal::Rounding::HalfEven) % whole <= 0;
}

QString PrecificacaoItem::textoRecusaPromocao(qint64 przmax)
{
    return QStringLiteral("PROMOÇÃO VALIDA APENAS PARA CONDIÇÕES DE PAGAMENTO ATE ")
        + Formatos::formatMask(double(przmax), QStringLiteral("00")) + QStringLiteral(" DIAS!");
}
