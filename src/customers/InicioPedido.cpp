#include "InicioPedido.h"

#include "U500CAD.h"

QString InicioPedido::mensagemBloqueado()
{
    return QStringLiteral("Não é permitido Emitir Pedido cliente Bloqueado.");
}

QString InicioPedido::mensagemExpirada()
{
    return QStringLiteral("Não é permitido Emitir Pedido com ATUALIZAÇÃO EXPIRADA.");
}

QString InicioPedido::recusaCadastro(const Cliente &cliente, bool atualizacaoExpirada)
{
    if (cliente.sitCli == QLatin1String("B"))
        return mensagemBloqueado();
    return recusaRoteiro(atualizacaoExpirada);
}

QString InicioPedido::recusaRoteiro(bool atualizacaoExpirada)
{
    return atualizacaoExpirada ? mensagemExpirada() : QString();
}

QString InicioPedido::vendedorDoPedido(const QString &codVenCliente, const QString &codVenSessao)
{
    const QString proprio = codVenCliente.trimmed();
    return proprio.isEmpty() || proprio == QLatin1String("0") ? codVenSessao : proprio;
}

void InicioPedido::entrega(D500CAD &cad, const Cliente &cliente, const QString &codVenSessao)
{
    cad.codCliPedido = cliente.codCli;
    cad.codNovPedido = cliente.codNov.isEmpty() ? QStringLiteral("0") : cliente.codNov;
    cad.codVenPedido = vendedorDoPedido(cliente.codVen, codVenSessao);
}
