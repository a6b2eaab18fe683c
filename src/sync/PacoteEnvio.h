#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class D500DAT;
class OrcamentosSincronizacao;

// geraPacoteEnvio: gathers what the notebook created or changed since the last synchronisation
// into scriptEnvio, one statement of the server's dialect per line, and saves the budget
// orders for the carry-over. It changes no local row.
class PacoteEnvio
{
public:
    // The local queries, as the script's generator runs them.
    static const QString kSelectPedidos;
    static const QString kSelectItens;
    static const QString kSelectMensagensLidas;
    static const QString kSelectAutorizacoes;
    static QString consultaClientes(const QString &codigoVendedor);
    static QString consultaMensagens(const QString &codigoEmpresa, const QString &codigoUsuario);
    static const QString kSelectMovimentosFlex;

    // The server's target column lists.
    static const QString colunasPedidos;
    static const QString colunasItens;
    static const QString colunasClientes;
    static const QString colunasMensagens;
    static const QString colunasMovimentosFlex;

    // The statements written as they are, not through geraInsercoes.
    static QString comandoSenha(const QString &senha, const QString &codigoEmpresa, const QString &codigoUsuario);
    static QString comandoSituacaoPedidos(const QString &codigoEmpresa, const QString &codigoVendedor);
    static QString comandoMensagensLidas(const QString &codigoEmpresa, const QString &codigoUsuario,
                                         const QStringList &codigos);
    static QString comandoAutorizacao(const QString &autorizacao, const QString &codigoPedido,
                                      const QString &codigoEmpresa);

    // pasta: where ORCPED.XML and ORCITM.XML are written.
    PacoteEnvio(D500DAT &dat, OrcamentosSincronizacao &orcamentos, const QString &pasta);

    // Builds the package at `momento` (the package moment of every CODNOW). True when
    // scriptEnvio holds at least one statement.
    bool geraPacoteEnvio(const QDateTime &momento);

    // The orders (with their items) and the messages went into the script without a failure,
    // so the server's confirmation may mark them as sent here.
    bool pedidosIncluidos() const { return m_pedidosIncluidos; }
    bool mensagensIncluidas() const { return m_mensagensIncluidas; }
    // A failure stopped the gathering before its end (already reported): the budget orders
    // may not be saved, so the exchange must not replace the database.
    bool interrompido() const { return m_interrompido; }

private:
    void reuneDados(double momento);

    D500DAT &m_dat;
    OrcamentosSincronizacao &m_orcamentos;
    QString m_pasta;
    bool m_pedidosIncluidos = false;
    bool m_mensagensIncluidas = false;
    bool m_interrompido = false;
};
