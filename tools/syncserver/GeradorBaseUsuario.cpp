#include "GeradorBaseUsuario.h"

#include "ArquivoFirebird.h"
#include "ConsultaServidor.h"
#include "DatabaseError.h"
#include "EsquemaCentral.h"
#include "FirebirdConnection.h"
#include "SqlText.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>

namespace {

std::atomic<int> contadorConexoes{0};

// The customers a seller's file holds: its own and those of the sellers it stands in for.
QString carteira(const QString &alias)
{
    return QStringLiteral("(%1.CODVEN = :VEN OR %1.CODVEN IN (SELECT S.CODVEN FROM F030SUB S "
                          "WHERE S.CODEMP = %1.CODEMP AND S.VENSUB = :VEN))")
        .arg(alias);
}

QString doCliente()
{
    return QStringLiteral("T.CODEMP = :EMP AND (T.CODCLI = 0 OR EXISTS (SELECT 1 FROM F510CLI C "
                          "WHERE C.CODEMP = T.CODEMP AND C.CODCLI = T.CODCLI AND ")
           + carteira(QStringLiteral("C")) + QStringLiteral("))");
}

} // namespace

GeradorBaseUsuario::GeradorBaseUsuario(FirebirdConnection &central, const QString &modelo)
    : m_central(central)
    , m_modelo(modelo)
{
}

GeradorBaseUsuario::Usuario GeradorBaseUsuario::leUsuario(const UsuarioServidor &usuario) const
{
    QSqlQuery consulta = ConsultaServidor::executa(
        m_central,
        QStringLiteral("SELECT FIRST 1 CODVEN, CODSUP, USASUP FROM F599USU WHERE CODEMP = :EMP AND CODUSU = :USU"),
        {{QStringLiteral("EMP"), usuario.CODEMP}, {QStringLiteral("USU"), usuario.CODUSU}});
    if (!consulta.next())
        throw DatabaseError(QStringLiteral("Usuário %1 da empresa %2 não existe.").arg(usuario.CODUSU, usuario.CODEMP));
    Usuario u;
    u.CODEMP = usuario.CODEMP;
    u.CODUSU = usuario.CODUSU;
    u.CODVEN = ConsultaServidor::codigo(consulta.value(0));
    u.CODSUP = ConsultaServidor::codigo(consulta.value(1));
    u.supervisor = consulta.value(2).toString().trimmed() == u"S";
    return u;
}

QList<GeradorBaseUsuario::Origem> GeradorBaseUsuario::origens(const QString &tabela, const Usuario &usuario) const
{
    const QString empresa = QStringLiteral("T.CODEMP = :EMP");
    if (tabela == u"F599USU") {
        return {{tabela, {}, QStringLiteral("T.CODEMP = :EMP AND T.CODUSU = :USU"),
                 {{QStringLiteral("DATATL"), QStringLiteral("CAST(:DATA AS DATE)")},
                  {QStringLiteral("HORATL"), QStringLiteral("CAST(:HORA AS TIME)")},
                  {QStringLiteral("EXPANT"), QStringLiteral("T.EXPSEN")},
                  {QStringLiteral("SENANT"), QStringLiteral("T.SENUSU")}},
                 {}}};
    }
    if (tabela == u"F510CLI") {
        return {{tabela, {}, empresa + QStringLiteral(" AND ") + carteira(QStringLiteral("T")),
                 {{QStringLiteral("STUCLI"), QStringLiteral("IIF(T.STUCLI IN ('A', 'N'), 'E', T.STUCLI)")}}, {}}};
    }
    if (tabela == u"F510ROT" || tabela == u"F510CPC" || tabela == u"F510OPC" || tabela == u"F550TRC"
        || tabela == u"F500RPE")
        return {{tabela, {}, doCliente(), {}, {}}};
    const auto situacao = [&usuario](const QString &alias) {
        if (usuario.pedidos == Pedidos::Todos)
            return QString();
        return (usuario.pedidos == Pedidos::Fechados ? QStringLiteral(" AND (") : QStringLiteral(" AND NOT ("))
               + pedidoFechado(alias) + u')';
    };
    if (tabela == u"F530PDF") {
        return {{tabela, {}, empresa + QStringLiteral(" AND (T.CODVEN = :VEN OR T.VENSUB = :VEN)") + situacao(QStringLiteral("T")),
                 {{QStringLiteral("SITPDF"), QStringLiteral("IIF(T.SITPDF IN ('D', 'L'), 'E', T.SITPDF)")},
                  {QStringLiteral("PDFORC"), QStringLiteral("'N'")}},
                 {}}};
    }
    if (tabela == u"F530IPF") {
        // From the user's orders to their items by the items' index: a test of every item of the
        // company against its order reads hundreds of thousands of rows for a few thousand.
        return {{tabela,
                 QStringLiteral("(SELECT DISTINCT P.CODEMP, P.CODPDF, P.CODINT FROM F530PDF P WHERE P.CODEMP = :EMP "
                                "AND (P.CODVEN = :VEN OR P.VENSUB = :VEN)")
                     + situacao(QStringLiteral("P"))
                     + QStringLiteral(") P JOIN F530IPF T ON T.CODEMP = P.CODEMP AND T.CODPDF = P.CODPDF AND T.CODINT = P.CODINT"),
                 {},
                 {{QStringLiteral("SITIPF"), QStringLiteral("IIF(T.SITIPF = 'D', 'E', T.SITIPF)")}}, {}}};
    }
    // A supervisor decides on every bonus order of the company; a seller sees its own. Only
    // the orders still awaiting a decision: the notebook reports every decided row it holds,
    // so a decision the server already has would go up again at each exchange, and would
    // overwrite whatever the back office made of it meanwhile.
    const auto aDecidir = [&usuario](const QString &alias) {
        return QStringLiteral(" AND COALESCE(%1.AUTBON, 'P') = 'P'").arg(alias)
               + (usuario.supervisor ? QString() : QStringLiteral(" AND %1.CODVEN = :VEN").arg(alias));
    };
    if (tabela == u"F530BON") {
        return {{QStringLiteral("F030PDV"), {}, empresa + aDecidir(QStringLiteral("T")),
                 {{QStringLiteral("AUTBON"), QStringLiteral("'P'")}}, {}}};
    }
    if (tabela == u"F530IBO") {
        return {{tabela, {},
                 QStringLiteral("EXISTS (SELECT 1 FROM F030PDV B WHERE B.CODEMP = T.CODEMP AND B.CODCCU = T.CODCCU "
                                "AND B.CODPDV = T.CODPDV AND B.CODEMP = :EMP")
                     + aDecidir(QStringLiteral("B")) + u')',
                 {}, {}}};
    }
    if (tabela == u"F512MTF")
        return {{tabela, {}, empresa + QStringLiteral(" AND T.CODSUP = :SUP"), {}, {}}};
    if (tabela == u"F500RSV") {
        return {{tabela, {},
                 empresa + QStringLiteral(" AND (T.CODVEN = :VEN")
                     + (usuario.supervisor ? QStringLiteral(" OR T.CODSUP = :SUP)") : QStringLiteral(")")),
                 {}, {}}};
    }
    if (tabela == u"F599MSG") {
        const QString enviada = QStringLiteral("T.CODEMP = :EMP AND T.USUREM = :USU AND T.USUDES IS DISTINCT FROM :USU");
        Origem recebidas{tabela, {}, empresa + QStringLiteral(" AND T.USUDES = :USU"),
                         {{QStringLiteral("CODMSG"), QStringLiteral("T.CODINT")}, {QStringLiteral("ENVMSG"), QStringLiteral("'R'")}},
                         {}};
        // The server holds one row per recipient; the notebook one message with its recipients.
        Origem enviadas{tabela, {}, enviada,
                        {{QStringLiteral("CODEMP"), QStringLiteral("T.CODEMP")},
                         {QStringLiteral("CODMSG"), QStringLiteral("MIN(T.CODINT)")},
                         {QStringLiteral("USUREM"), QStringLiteral("T.USUREM")},
                         {QStringLiteral("TITMSG"), QStringLiteral("T.TITMSG")},
                         {QStringLiteral("DESMSG"), QStringLiteral("T.DESMSG")},
                         {QStringLiteral("DATMSG"), QStringLiteral("T.DATMSG")},
                         {QStringLiteral("SITMSG"), QStringLiteral("'L'")},
                         {QStringLiteral("ENVMSG"), QStringLiteral("'E'")}},
                        QStringLiteral("T.CODEMP, T.USUREM, T.TITMSG, T.DESMSG, T.DATMSG")};
        return {recebidas, enviadas};
    }
    if (tabela == u"F599MDT") {
        Origem destinatarios{
            QStringLiteral("F599MSG"),
            QStringLiteral("F599MSG T JOIN (SELECT G.CODEMP, G.USUREM, G.TITMSG, G.DESMSG, G.DATMSG, MIN(G.CODINT) CODMSG "
                           "FROM F599MSG G WHERE G.CODEMP = :EMP AND G.USUREM = :USU AND G.USUDES IS DISTINCT FROM :USU "
                           "GROUP BY G.CODEMP, G.USUREM, G.TITMSG, G.DESMSG, G.DATMSG) M "
                           "ON M.CODEMP = T.CODEMP AND M.USUREM = T.USUREM AND M.TITMSG IS NOT DISTINCT FROM T.TITMSG "
                           "AND M.DESMSG IS NOT DISTINCT FROM T.DESMSG AND M.DATMSG IS NOT DISTINCT FROM T.DATMSG"),
            QStringLiteral("T.USUDES IS NOT NULL AND T.USUDES IS DISTINCT FROM :USU"),
            {{QStringLiteral("CODEMP"), QStringLiteral("T.CODEMP")},
             {QStringLiteral("CODMSG"), QStringLiteral("M.CODMSG")},
             {QStringLiteral("CODUSU"), QStringLiteral("T.USUDES")}},
            {}};
        destinatarios.distinto = true;
        return {destinatarios};
    }
    // The company's rules, catalogue and registries go whole.
    return {{tabela, {}, QStringLiteral("@empresa"), {}, {}}};
}

QStringList GeradorBaseUsuario::colunasCentrais(const QString &tabela)
{
    auto it = m_colunasCentrais.constFind(tabela);
    if (it == m_colunasCentrais.cend())
        it = m_colunasCentrais.insert(tabela, EsquemaCentral(m_central).colunas(tabela));
    return *it;
}

void GeradorBaseUsuario::copiaTabela(FirebirdConnection &destino, const QString &tabela, const Usuario &usuario,
                                     const QVariantMap &parametros)
{
    const QStringList colunas = EsquemaCentral(destino).colunas(tabela);
    if (colunas.isEmpty())
        return;
    // The rows go from the central database into the file inside the engine (a block on the
    // file reading the central database as an external source): no value passes through the
    // driver, so numbers keep their exact scale and hundreds of thousands of rows take seconds.
    QStringList declaracoes;
    QStringList variaveis;
    for (qsizetype i = 0; i < colunas.size(); ++i) {
        declaracoes << QStringLiteral("DECLARE V%1 TYPE OF COLUMN %2.%3;").arg(i).arg(tabela, colunas.at(i));
        variaveis << QStringLiteral(":V%1").arg(i);
    }
    const QSqlDatabase central = m_central.database();
    const QList<Origem> lista = origens(tabela, usuario);
    for (const Origem &origem : lista) {
        const QStringList disponiveis = colunasCentrais(origem.tabela);
        if (disponiveis.isEmpty())
            continue; // the central database has no such table
        QStringList selecao;
        for (const QString &coluna : colunas) {
            if (origem.expressoes.contains(coluna))
                selecao << origem.expressoes.value(coluna);
            else if (origem.agrupamento.isEmpty() && disponiveis.contains(coluna))
                selecao << QStringLiteral("T.") + coluna;
            else
                selecao << QStringLiteral("NULL");
        }
        QString onde = origem.onde;
        if (onde == u"@empresa")
            onde = disponiveis.contains(QStringLiteral("CODEMP")) ? QStringLiteral("T.CODEMP = :EMP") : QString();
        QString sql = QStringLiteral("SELECT ") + (origem.distinto ? QStringLiteral("DISTINCT ") : QString())
                      + selecao.join(QStringLiteral(", ")) + QStringLiteral(" FROM ")
                      + (origem.de.isEmpty() ? origem.tabela + QStringLiteral(" T") : origem.de);
        if (!onde.isEmpty())
            sql += QStringLiteral(" WHERE ") + onde;
        if (!origem.agrupamento.isEmpty())
            sql += QStringLiteral(" GROUP BY ") + origem.agrupamento;

        QStringList valores;
        for (auto it = parametros.cbegin(); it != parametros.cend(); ++it) {
            if (!sql.contains(u':' + it.key()))
                continue;
            QString literal;
            if (it.value().isNull() || !it.value().isValid())
                literal = QStringLiteral("NULL");
            else if (it.value().typeId() == QMetaType::QDate)
                literal = SqlText::quoted(it.value().toDate().toString(QStringLiteral("dd.MM.yyyy")));
            else if (it.value().typeId() == QMetaType::QTime)
                literal = SqlText::quoted(it.value().toTime().toString(QStringLiteral("HH:mm:ss")));
            else
                literal = SqlText::quoted(it.value().toString());
            valores << it.key() + QStringLiteral(" := ") + literal;
        }
        const QString bloco =
            QStringLiteral("EXECUTE BLOCK AS ") + declaracoes.join(u' ') + QStringLiteral(" BEGIN FOR EXECUTE STATEMENT (")
            + SqlText::quoted(sql) + u')'
            + (valores.isEmpty() ? QString() : QStringLiteral(" (") + valores.join(QStringLiteral(", ")) + u')')
            + QStringLiteral(" ON EXTERNAL ") + SqlText::quoted(central.databaseName()) + QStringLiteral(" AS USER ")
            + SqlText::quoted(central.userName()) + QStringLiteral(" PASSWORD ") + SqlText::quoted(central.password())
            + QStringLiteral(" INTO ") + variaveis.join(QStringLiteral(", ")) + QStringLiteral(" DO INSERT INTO ") + tabela
            + QStringLiteral(" (") + colunas.join(QStringLiteral(", ")) + QStringLiteral(") VALUES (")
            + variaveis.join(QStringLiteral(", ")) + QStringLiteral("); END");
        try {
            destino.execute(bloco);
        } catch (const DatabaseError &e) {
            throw DatabaseError(tabela + QStringLiteral(": ") + e.message());
        }
    }
}

bool GeradorBaseUsuario::tabelaDoUsuario(const QString &tabela)
{
    static const QStringList tabelas = {
        QStringLiteral("F599USU"), QStringLiteral("F510CLI"), QStringLiteral("F510ROT"), QStringLiteral("F510CPC"),
        QStringLiteral("F510OPC"), QStringLiteral("F550TRC"), QStringLiteral("F500RPE"), QStringLiteral("F530PDF"),
        QStringLiteral("F530IPF"), QStringLiteral("F530BON"), QStringLiteral("F530IBO"), QStringLiteral("F512MTF"),
        QStringLiteral("F500RSV"), QStringLiteral("F599MSG"), QStringLiteral("F599MDT")};
    return tabelas.contains(tabela);
}

void GeradorBaseUsuario::preenche(const QString &destino, const Usuario &usuario, const QVariantMap &parametros,
                                  const std::function<bool(const QString &)> &incluida)
{
    FirebirdConnection conexao(QStringLiteral("korvex_servidor_usuario_%1").arg(++contadorConexoes));
    conexao.setDatabaseName(destino);
    conexao.open();
    QStringList tabelas;
    {
        QSqlQuery consulta = ConsultaServidor::executa(
            conexao, QStringLiteral("SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS WHERE RDB$VIEW_BLR IS NULL "
                                    "AND COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY RDB$RELATION_NAME"));
        while (consulta.next())
            tabelas << consulta.value(0).toString().trimmed();
    }
    tabelas.removeIf([&incluida](const QString &tabela) { return !incluida(tabela); });
    // Indexes are built once after the rows are in, by sorting, instead of row by row.
    QStringList indices;
    {
        QSqlQuery consulta = ConsultaServidor::executa(
            conexao, QStringLiteral("SELECT TRIM(I.RDB$INDEX_NAME), TRIM(I.RDB$RELATION_NAME) FROM RDB$INDICES I "
                                    "WHERE COALESCE(I.RDB$SYSTEM_FLAG, 0) = 0 AND COALESCE(I.RDB$INDEX_INACTIVE, 0) = 0 "
                                    "AND NOT EXISTS (SELECT 1 FROM RDB$RELATION_CONSTRAINTS C "
                                    "WHERE C.RDB$INDEX_NAME = I.RDB$INDEX_NAME)"));
        while (consulta.next()) {
            if (tabelas.contains(consulta.value(1).toString().trimmed()))
                indices << consulta.value(0).toString().trimmed() + u'|' + consulta.value(1).toString().trimmed();
        }
    }
    // A table that already holds rows (the history's orders) keeps its indexes: building them
    // again would cost more than the few rows added.
    indices.removeIf([&conexao](const QString &indice) {
        return ConsultaServidor::valor(conexao, QStringLiteral("SELECT FIRST 1 1 FROM ") + indice.section(u'|', 1)).isValid();
    });
    for (QString &indice : indices)
        indice = indice.section(u'|', 0, 0);
    for (const QString &indice : std::as_const(indices))
        ConsultaServidor::executa(conexao, QStringLiteral("ALTER INDEX %1 INACTIVE").arg(indice));
    {
        TransactionGuard transacao(conexao);
        for (const QString &tabela : std::as_const(tabelas))
            copiaTabela(conexao, tabela, usuario, parametros);
        transacao.commit();
    }
    for (const QString &indice : std::as_const(indices))
        ConsultaServidor::executa(conexao, QStringLiteral("ALTER INDEX %1 ACTIVE").arg(indice));
    conexao.close();
}

void GeradorBaseUsuario::geraCatalogo(const QString &empresa, const QString &destino)
{
    QFile::remove(destino);
    if (!QFile::copy(m_modelo, destino))
        throw DatabaseError(QStringLiteral("Não foi possível copiar %1 para %2.").arg(m_modelo, destino));
    QFile::setPermissions(destino, QFile::permissions(destino) | QFileDevice::WriteOwner);
    Usuario empresaSomente;
    empresaSomente.CODEMP = empresa;
    preenche(destino, empresaSomente, {{QStringLiteral("EMP"), empresa}},
             [](const QString &tabela) { return !tabelaDoUsuario(tabela); });
}

QString GeradorBaseUsuario::pedidoFechado(const QString &alias)
{
    return QStringLiteral("COALESCE(%1.SITPDF, '') NOT IN ('D', 'L')").arg(alias);
}

void GeradorBaseUsuario::geraHistorico(const UsuarioServidor &usuario, const QString &destino)
{
    Usuario u = leUsuario(usuario);
    u.pedidos = Pedidos::Fechados;
    QFile::setPermissions(destino, QFile::permissions(destino) | QFileDevice::WriteOwner);
    preenche(destino, u,
             {{QStringLiteral("EMP"), u.CODEMP}, {QStringLiteral("VEN"), u.CODVEN.isEmpty() ? QVariant() : QVariant(u.CODVEN)}},
             [](const QString &tabela) { return tabela == u"F530PDF" || tabela == u"F530IPF"; });
}

void GeradorBaseUsuario::gera(const UsuarioServidor &usuario, const QString &destino, const QDateTime &momento,
                              bool comHistorico)
{
    Usuario u = leUsuario(usuario);
    if (comHistorico)
        u.pedidos = Pedidos::Abertos;
    QFile::setPermissions(destino, QFile::permissions(destino) | QFileDevice::WriteOwner);
    const QVariantMap parametros{
        {QStringLiteral("EMP"), u.CODEMP},
        {QStringLiteral("USU"), u.CODUSU},
        {QStringLiteral("VEN"), u.CODVEN.isEmpty() ? QVariant() : QVariant(u.CODVEN)},
        {QStringLiteral("SUP"), u.CODSUP.isEmpty() ? QVariant() : QVariant(u.CODSUP)},
        {QStringLiteral("DATA"), momento.date()},
        {QStringLiteral("HORA"), QTime(momento.time().hour(), momento.time().minute(), momento.time().second())},
    };
    preenche(destino, u, parametros, &GeradorBaseUsuario::tabelaDoUsuario);
    ArquivoFirebird::escritaSincrona(destino, true);
}
