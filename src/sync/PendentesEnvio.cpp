#include "PendentesEnvio.h"

#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "DatabaseError.h"
#include "Formatos.h"
#include "PacoteEnvio.h"

#include <QSqlError>
#include <QSqlQuery>

#include <functional>

namespace {

const QString kSelectNomeCliente =
    QStringLiteral("SELECT RAZCLI FROM F510CLI WHERE CODEMP = :CODEMP AND CODCLI = :CODCLI AND CODNOV = :CODNOV");
const QString kSelectNomeUsuario =
    QStringLiteral("SELECT NOMUSU FROM F599MSU WHERE CODEMP = :CODEMP AND CODUSU = :CODUSU");

QString valor(double numero)
{
    return Formatos::formatMask(numero, QStringLiteral("###,###,##0.00"));
}

// Runs `sql` and hands each row to `linha`.
void percorre(FirebirdConnection &conexao, const QString &sql, const std::function<void(TClientDataSetPlus &)> &linha)
{
    TClientDataSetPlus ds;
    ds.setConnection(&conexao);
    ds.setCommandText(sql);
    ds.open();
    for (ds.first(); !ds.eof(); ds.next())
        linha(ds);
    ds.close();
}

// The first column of a one-row look-up; empty when there is no row.
QString primeiro(FirebirdConnection &conexao, const QString &sql, const QVariantMap &parametros)
{
    QSqlQuery consulta = conexao.query();
    if (!consulta.prepare(sql))
        throw DatabaseError(consulta.lastError().text());
    for (auto it = parametros.cbegin(); it != parametros.cend(); ++it)
        consulta.bindValue(QLatin1Char(':') + it.key(), it.value());
    if (!consulta.exec())
        throw DatabaseError(consulta.lastError().text());
    return consulta.next() ? consulta.value(0).toString().trimmed() : QString();
}

// A customer as the seller knows it: its code, or its new-customer number, and its name.
QString cliente(const TClientDataSetPlus &ds)
{
    const QString codigo = ds.asString(QStringLiteral("CODCLI"));
    const QString novo = ds.asString(QStringLiteral("CODNOV"));
    return (codigo.isEmpty() || codigo == QLatin1String("0")) ? novo : codigo;
}

} // namespace

PendentesEnvio::PendentesEnvio(D500DAT &dat)
    : m_dat(dat)
{
}

QList<GrupoPendentes> PendentesEnvio::le() const
{
    QList<GrupoPendentes> grupos;
    const Sessao &s = m_dat.sessao;
    if (s.CODUSU.isEmpty())
        return grupos;
    FirebirdConnection &conexao = m_dat.cnxFirebird;

    QStringList pedidos;
    percorre(conexao, PacoteEnvio::kSelectPedidos, [&](TClientDataSetPlus &ds) {
        const QString nome = primeiro(conexao, kSelectNomeCliente,
                                      {{QStringLiteral("CODEMP"), ds.asString(QStringLiteral("CODEMP"))},
                                       {QStringLiteral("CODCLI"), ds.asString(QStringLiteral("CODCLI"))},
                                       {QStringLiteral("CODNOV"), ds.asString(QStringLiteral("CODNOV"))}});
        pedidos.append(QStringLiteral("Pedido %1 de %2 – %3 – %4")
                           .arg(ds.asString(QStringLiteral("CODPDF")),
                                Formatos::formatDate(ds.asDate(QStringLiteral("DATPDF"))),
                                nome.isEmpty() ? cliente(ds) : cliente(ds) + QLatin1Char(' ') + nome,
                                valor(ds.asFloat(QStringLiteral("TOTPDF")))));
    });

    QStringList novos;
    QStringList alterados;
    percorre(conexao, PacoteEnvio::consultaClientes(s.CODVEN), [&](TClientDataSetPlus &ds) {
        const QString linha = cliente(ds) + QLatin1Char(' ') + ds.asString(QStringLiteral("RAZCLI"));
        (ds.asString(QStringLiteral("STUCLI")) == QLatin1String("N") ? novos : alterados).append(linha);
    });

    QStringList mensagens;
    percorre(conexao, PacoteEnvio::consultaMensagens(s.CODEMP, s.CODUSU), [&](TClientDataSetPlus &ds) {
        const QString usuario = ds.asString(QStringLiteral("CODUSU"));
        const QString nome = primeiro(conexao, kSelectNomeUsuario,
                                      {{QStringLiteral("CODEMP"), ds.asString(QStringLiteral("CODEMP"))},
                                       {QStringLiteral("CODUSU"), usuario}});
        mensagens.append(QStringLiteral("\"%1\" para %2").arg(ds.asString(QStringLiteral("TITMSG")),
                                                              nome.isEmpty() ? usuario : nome));
    });

    QStringList lidas;
    percorre(conexao, PacoteEnvio::kSelectMensagensLidas, [&](TClientDataSetPlus &ds) {
        lidas.append(QStringLiteral("Mensagem ") + ds.asString(QStringLiteral("CODINT")));
    });

    QStringList movimentos;
    percorre(conexao, PacoteEnvio::kSelectMovimentosFlex, [&](TClientDataSetPlus &ds) {
        const QString data = Formatos::formatDate(ds.asDate(QStringLiteral("DATMOV")));
        const QString quantia = valor(ds.asFloat(QStringLiteral("VLRMOV")));
        const QString origem = ds.asString(QStringLiteral("VENORI"));
        if (ds.asString(QStringLiteral("TIPMOV")) == QLatin1String("A"))
            movimentos.append(QStringLiteral("Adiantamento de %1 ao vendedor %2 em %3").arg(quantia, origem, data));
        else
            movimentos.append(QStringLiteral("Movimentação de %1 do vendedor %2 para o %3 em %4")
                                  .arg(quantia, origem, ds.asString(QStringLiteral("VENDES")), data));
    });

    QStringList bonificacoes;
    percorre(conexao, PacoteEnvio::kSelectAutorizacoes, [&](TClientDataSetPlus &ds) {
        const QString decisao = ds.asString(QStringLiteral("AUTBON"));
        bonificacoes.append(QStringLiteral("Pedido %1: %2").arg(
            ds.asString(QStringLiteral("CODPDV")),
            decisao == QLatin1String("A")   ? QStringLiteral("aprovado")
            : decisao == QLatin1String("N") ? QStringLiteral("não aprovado")
                                            : decisao));
    });

    // The condition under which the package writes the password statement.
    QStringList senha;
    if (s.EXPSEN == QLatin1String("N") && s.EXPANT == QLatin1String("S"))
        senha.append(QStringLiteral("Nova senha de ") + s.NOMUSU);

    const std::pair<QString, QStringList *> ordem[] = {
        {QStringLiteral("Pedidos"), &pedidos},
        {QStringLiteral("Clientes novos"), &novos},
        {QStringLiteral("Clientes alterados"), &alterados},
        {QStringLiteral("Mensagens"), &mensagens},
        {QStringLiteral("Mensagens lidas"), &lidas},
        {QStringLiteral("Movimentos de flex"), &movimentos},
        {QStringLiteral("Decisões de bonificação"), &bonificacoes},
        {QStringLiteral("Troca de senha"), &senha},
    };
    for (const auto &[titulo, linhas] : ordem) {
        if (!linhas->isEmpty())
            grupos.append(GrupoPendentes{titulo, *linhas});
    }
    return grupos;
}

int PendentesEnvio::total(const QList<GrupoPendentes> &grupos)
{
    int soma = 0;
    for (const GrupoPendentes &g : grupos)
        soma += g.linhas.size();
    return soma;
}

QStringList PendentesEnvio::texto(const QString &titulo, const QList<GrupoPendentes> &grupos)
{
    QStringList linhas;
    if (grupos.isEmpty()) {
        linhas.append(titulo + QStringLiteral(": nada"));
        return linhas;
    }
    linhas.append(titulo + QStringLiteral(": ") + QString::number(total(grupos)));
    for (const GrupoPendentes &g : grupos) {
        linhas.append(QStringLiteral("%1 (%2)").arg(g.titulo).arg(g.linhas.size()));
        for (const QString &linha : g.linhas)
            linhas.append(QStringLiteral("  ") + linha);
    }
    return linhas;
}
