#pragma once

#include <QString>
#include <QStringList>

class FirebirdConnection;

// The central database's own structure on top of the client's contract: the columns the
// uploaded script writes (CODNOW, USUDES), the integration mark SITSRV (indexed) and the sender
// USUENV, the bonus-order table F030PDV, the substitute-seller table F030SUB, the trigger that
// numbers uploaded messages, the sequences SQCPDF<emp> and SQCMSG<emp>, and the count of changes
// to the company tables (SQCCAT, bumped by a trigger on each). Every step checks the catalogue
// first, so it runs at each start.
class EsquemaCentral
{
public:
    explicit EsquemaCentral(FirebirdConnection &conexao);

    void prepara();
    // Creates the sequences of every company with users and moves each past the largest number
    // already in use, so that a copied or edited database never hands out a number twice.
    void ajustaSequencias();
    // The two sequences of a company, created when missing.
    void criaSequencias(const QString &empresa);

    static QString sequenciaPedidos(const QString &empresa) { return QStringLiteral("SQCPDF") + empresa; }
    static QString sequenciaMensagens(const QString &empresa) { return QStringLiteral("SQCMSG") + empresa; }

    // Counts the changes to the company tables that go whole into every user's file (each
    // insert, update or delete bumps it): a catalogue built at another count is stale.
    qlonglong versaoCatalogo() const;
    // Counts the changes to closed orders and their items (SQCHIS): a user's order history
    // built at another count is stale.
    qlonglong versaoHistorico() const;

    bool tabelaExiste(const QString &tabela) const;
    bool colunaExiste(const QString &tabela, const QString &coluna) const;
    // Columns of a table in their order, upper case, without the blanks of the catalogue.
    QStringList colunas(const QString &tabela) const;
    // Companies of the users, as integer texts.
    QStringList empresas() const;

private:
    bool existe(const QString &consulta, const QString &nome, const QString &nome2 = QString()) const;
    void adicionaColuna(const QString &tabela, const QString &coluna, const QString &tipo);
    void criaTabela(const QString &tabela, const QString &definicao);
    void criaSequencia(const QString &sequencia);
    void contaAlteracoesCatalogo();
    void contaAlteracoesHistorico();
    void avancaSequencia(const QString &sequencia, const QString &consultaMaximo, const QString &empresa);

    FirebirdConnection &m_conexao;
};
