#include "EsquemaCentral.h"

#include "ConsultaServidor.h"
#include "DatabaseError.h"
#include "FirebirdConnection.h"
#include "GeradorBaseUsuario.h"

#include <QSqlQuery>

#include <QRegularExpression>

namespace {

bool inteiro(const QString &texto)
{
    static const QRegularExpression digitos(QStringLiteral("^\\d{1,15}$"));
    return digitos.match(texto).hasMatch();
}

} // namespace

EsquemaCentral::EsquemaCentral(FirebirdConnection &conexao)
    : m_conexao(conexao)
{
}

bool EsquemaCentral::existe(const QString &consulta, const QString &nome, const QString &nome2) const
{
    QVariantMap parametros{{QStringLiteral("NOME"), nome.toUpper()}};
    if (!nome2.isNull())
        parametros.insert(QStringLiteral("NOME2"), nome2.toUpper());
    return ConsultaServidor::valor(m_conexao, consulta, parametros).isValid();
}

bool EsquemaCentral::tabelaExiste(const QString &tabela) const
{
    return existe(QStringLiteral("SELECT 1 FROM RDB$RELATIONS WHERE TRIM(RDB$RELATION_NAME) = :NOME"), tabela);
}

bool EsquemaCentral::colunaExiste(const QString &tabela, const QString &coluna) const
{
    return existe(QStringLiteral("SELECT 1 FROM RDB$RELATION_FIELDS WHERE TRIM(RDB$RELATION_NAME) = :NOME "
                                 "AND TRIM(RDB$FIELD_NAME) = :NOME2"),
                  tabela, coluna);
}

QStringList EsquemaCentral::colunas(const QString &tabela) const
{
    QSqlQuery consulta = ConsultaServidor::executa(
        m_conexao,
        QStringLiteral("SELECT TRIM(RDB$FIELD_NAME) FROM RDB$RELATION_FIELDS WHERE TRIM(RDB$RELATION_NAME) = :NOME "
                       "ORDER BY RDB$FIELD_POSITION"),
        {{QStringLiteral("NOME"), tabela.toUpper()}});
    QStringList lista;
    while (consulta.next())
        lista << consulta.value(0).toString().trimmed();
    return lista;
}

QStringList EsquemaCentral::empresas() const
{
    QSqlQuery consulta = ConsultaServidor::executa(
        m_conexao, QStringLiteral("SELECT DISTINCT CODEMP FROM F599USU WHERE CODEMP IS NOT NULL"));
    QStringList lista;
    while (consulta.next()) {
        const QString empresa = ConsultaServidor::codigo(consulta.value(0));
        if (inteiro(empresa))
            lista << empresa;
    }
    return lista;
}

void EsquemaCentral::adicionaColuna(const QString &tabela, const QString &coluna, const QString &tipo)
{
    if (tabelaExiste(tabela) && !colunaExiste(tabela, coluna))
        ConsultaServidor::executa(m_conexao, QStringLiteral("ALTER TABLE %1 ADD %2 %3").arg(tabela, coluna, tipo));
}

void EsquemaCentral::criaTabela(const QString &tabela, const QString &definicao)
{
    if (!tabelaExiste(tabela))
        ConsultaServidor::executa(m_conexao, QStringLiteral("CREATE TABLE %1 (%2)").arg(tabela, definicao));
}

void EsquemaCentral::criaSequencia(const QString &sequencia)
{
    if (!existe(QStringLiteral("SELECT 1 FROM RDB$GENERATORS WHERE TRIM(RDB$GENERATOR_NAME) = :NOME"), sequencia))
        ConsultaServidor::executa(m_conexao, QStringLiteral("CREATE SEQUENCE ") + sequencia);
}

void EsquemaCentral::prepara()
{
    // CODNOW: the package moment the notebook writes into every row it sends. SITSRV: 'I' once
    // the server has integrated the row (linked items, merged customers); empty while it is
    // fresh from a script.
    const QStringList comMomento = {QStringLiteral("F530PDF"), QStringLiteral("F530IPF"), QStringLiteral("F510CLI"),
                                    QStringLiteral("F512MTF")};
    for (const QString &tabela : comMomento) {
        adicionaColuna(tabela, QStringLiteral("CODNOW"), QStringLiteral("DOUBLE PRECISION"));
        adicionaColuna(tabela, QStringLiteral("SITSRV"), QStringLiteral("VARCHAR(1)"));
    }
    // USUENV: the user whose script wrote the row; a resent row is known by it and the
    // notebook's own number. Messages are integrated too (one copy per recipient).
    for (const QString &tabela : comMomento)
        adicionaColuna(tabela, QStringLiteral("USUENV"), QStringLiteral("NUMERIC(15,0)"));
    adicionaColuna(QStringLiteral("F599MSG"), QStringLiteral("USUENV"), QStringLiteral("NUMERIC(15,0)"));
    adicionaColuna(QStringLiteral("F599MSG"), QStringLiteral("SITSRV"), QStringLiteral("VARCHAR(1)"));
    // The integration looks for the rows fresh from a script (SITSRV empty) among all the others.
    for (const QString &tabela : comMomento + QStringList{QStringLiteral("F599MSG")}) {
        const QString indice = tabela + QStringLiteral("_SITSRV");
        if (tabelaExiste(tabela)
            && !existe(QStringLiteral("SELECT 1 FROM RDB$INDICES WHERE TRIM(RDB$INDEX_NAME) = :NOME"), indice))
            ConsultaServidor::executa(m_conexao, QStringLiteral("CREATE INDEX %1 ON %2 (SITSRV)").arg(indice, tabela));
    }
    // An item goes up with its order's seller, which ties it to its order with the moment.
    adicionaColuna(QStringLiteral("F530IPF"), QStringLiteral("CODVEN"), QStringLiteral("NUMERIC(15,0)"));
    // One server message per recipient.
    adicionaColuna(QStringLiteral("F599MSG"), QStringLiteral("USUDES"), QStringLiteral("NUMERIC(15,0)"));

    // The central system's bonus orders; the notebook's F530BON is made from it.
    criaTabela(QStringLiteral("F030PDV"),
               QStringLiteral("CODEMP NUMERIC(15,0) NOT NULL, CODCCU NUMERIC(15,0) NOT NULL, "
                              "CODPDV NUMERIC(15,0) NOT NULL, DATPDF DATE, CODCLI NUMERIC(15,0), RAZCLI VARCHAR(50), "
                              "TOTPDF NUMERIC(15,2), AUTBON VARCHAR(1), CODVEN NUMERIC(15,0), CODTRA NUMERIC(15,0), "
                              "CODOPE NUMERIC(15,0), CODCON NUMERIC(15,0)"));
    // VENSUB may serve the customers of CODVEN: their customers go into VENSUB's file too.
    criaTabela(QStringLiteral("F030SUB"), QStringLiteral("CODEMP NUMERIC(15,0) NOT NULL, CODVEN NUMERIC(15,0) NOT NULL, "
                                                         "VENSUB NUMERIC(15,0) NOT NULL"));

    // The uploaded message names neither its number nor its date: it takes the server number
    // and the day it arrived.
    if (tabelaExiste(QStringLiteral("F599MSG"))
        && !existe(QStringLiteral("SELECT 1 FROM RDB$TRIGGERS WHERE TRIM(RDB$TRIGGER_NAME) = :NOME"),
                   QStringLiteral("F599MSG_SERVIDOR"))) {
        ConsultaServidor::executa(m_conexao, QStringLiteral("CREATE TRIGGER F599MSG_SERVIDOR FOR F599MSG ACTIVE BEFORE INSERT POSITION 0 AS "
                                         "BEGIN "
                                         "  IF (NEW.CODMSG IS NULL) THEN NEW.CODMSG = NEW.CODINT; "
                                         "  IF (NEW.DATMSG IS NULL) THEN NEW.DATMSG = CURRENT_DATE; "
                                         "END"));
    }
    contaAlteracoesCatalogo();
    contaAlteracoesHistorico();
    ajustaSequencias();
}

void EsquemaCentral::contaAlteracoesCatalogo()
{
    criaSequencia(QStringLiteral("SQCCAT"));
    QStringList tabelas;
    {
        QSqlQuery consulta = ConsultaServidor::executa(
            m_conexao, QStringLiteral("SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS WHERE RDB$VIEW_BLR IS NULL "
                                      "AND COALESCE(RDB$SYSTEM_FLAG, 0) = 0"));
        while (consulta.next())
            tabelas << consulta.value(0).toString().trimmed();
    }
    for (const QString &tabela : std::as_const(tabelas)) {
        // The server's own tables feed users' rows only.
        if (GeradorBaseUsuario::tabelaDoUsuario(tabela) || tabela == u"F030PDV" || tabela == u"F030SUB")
            continue;
        const QString gatilho = tabela.left(20) + QStringLiteral("_CATALOGO");
        if (existe(QStringLiteral("SELECT 1 FROM RDB$TRIGGERS WHERE TRIM(RDB$TRIGGER_NAME) = :NOME"), gatilho))
            continue;
        ConsultaServidor::executa(m_conexao, QStringLiteral("CREATE TRIGGER %1 FOR %2 ACTIVE AFTER INSERT OR UPDATE OR DELETE "
                                                            "POSITION 0 AS DECLARE N BIGINT; BEGIN N = GEN_ID(SQCCAT, 1); END")
                                                 .arg(gatilho, tabela));
    }
}

void EsquemaCentral::contaAlteracoesHistorico()
{
    criaSequencia(QStringLiteral("SQCHIS"));
    const QString fechado = GeradorBaseUsuario::pedidoFechado(QStringLiteral("%1"));
    const auto cria = [this](const QString &gatilho, const QString &tabela, const QString &corpo) {
        if (!tabelaExiste(tabela)
            || existe(QStringLiteral("SELECT 1 FROM RDB$TRIGGERS WHERE TRIM(RDB$TRIGGER_NAME) = :NOME"), gatilho))
            return;
        ConsultaServidor::executa(m_conexao, QStringLiteral("CREATE TRIGGER %1 FOR %2 ACTIVE AFTER INSERT OR UPDATE OR DELETE "
                                                            "POSITION 1 AS DECLARE N BIGINT; BEGIN %3 END")
                                                 .arg(gatilho, tabela, corpo));
    };
    cria(QStringLiteral("F530PDF_HISTORICO"), QStringLiteral("F530PDF"),
         QStringLiteral("IF ((NOT DELETING AND ") + fechado.arg(QStringLiteral("NEW"))
             + QStringLiteral(") OR (NOT INSERTING AND ") + fechado.arg(QStringLiteral("OLD"))
             + QStringLiteral(")) THEN N = GEN_ID(SQCHIS, 1);"));
    const QString doPedido = QStringLiteral("EXISTS (SELECT 1 FROM F530PDF P WHERE P.CODEMP = %1.CODEMP AND "
                                            "P.CODPDF = %1.CODPDF AND P.CODINT = %1.CODINT AND ")
                             + fechado.arg(QStringLiteral("P")) + u')';
    cria(QStringLiteral("F530IPF_HISTORICO"), QStringLiteral("F530IPF"),
         QStringLiteral("IF ((NOT DELETING AND ") + doPedido.arg(QStringLiteral("NEW"))
             + QStringLiteral(") OR (NOT INSERTING AND ") + doPedido.arg(QStringLiteral("OLD"))
             + QStringLiteral(")) THEN N = GEN_ID(SQCHIS, 1);"));
}

qlonglong EsquemaCentral::versaoHistorico() const
{
    return ConsultaServidor::valor(m_conexao, QStringLiteral("SELECT GEN_ID(SQCHIS, 0) FROM RDB$DATABASE")).toLongLong();
}

qlonglong EsquemaCentral::versaoCatalogo() const
{
    return ConsultaServidor::valor(m_conexao, QStringLiteral("SELECT GEN_ID(SQCCAT, 0) FROM RDB$DATABASE")).toLongLong();
}

void EsquemaCentral::ajustaSequencias()
{
    const QStringList lista = empresas();
    for (const QString &empresa : lista) {
        criaSequencias(empresa);
        avancaSequencia(sequenciaPedidos(empresa),
                        QStringLiteral("SELECT MAX(M) FROM (SELECT MAX(CODINT) M FROM F530PDF WHERE CODEMP = :EMP "
                                       "UNION ALL SELECT MAX(CODINT) M FROM F530IPF WHERE CODEMP = :EMP) X"),
                        empresa);
        avancaSequencia(sequenciaMensagens(empresa),
                        QStringLiteral("SELECT MAX(CODINT) FROM F599MSG WHERE CODEMP = :EMP"), empresa);
    }
}

void EsquemaCentral::criaSequencias(const QString &empresa)
{
    if (!inteiro(empresa))
        throw DatabaseError(QStringLiteral("Código de empresa inválido: ") + empresa);
    criaSequencia(sequenciaPedidos(empresa));
    criaSequencia(sequenciaMensagens(empresa));
}

void EsquemaCentral::avancaSequencia(const QString &sequencia, const QString &consultaMaximo, const QString &empresa)
{
    const QVariant maximo = ConsultaServidor::valor(m_conexao, consultaMaximo, {{QStringLiteral("EMP"), empresa}});
    if (maximo.isNull() || !maximo.isValid())
        return;
    const qlonglong maior = ConsultaServidor::codigo(maximo).toLongLong();
    const qlonglong atual =
        ConsultaServidor::valor(m_conexao, QStringLiteral("SELECT GEN_ID(%1, 0) FROM RDB$DATABASE").arg(sequencia)).toLongLong();
    if (atual < maior)
        ConsultaServidor::valor(m_conexao,
                                QStringLiteral("SELECT GEN_ID(%1, %2) FROM RDB$DATABASE").arg(sequencia).arg(maior - atual));
}
