#include "BaseCentral.h"

#include "ArquivoFirebird.h"

#include "ConsultaServidor.h"
#include "ConversaoNotebook.h"
#include "D500DAT.h"
#include "DatabaseError.h"
#include "DatabaseFactory.h"
#include "EsquemaCentral.h"
#include "GeradorBaseUsuario.h"
#include "IntegracaoScript.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

#include <atomic>

namespace {

std::atomic<int> contadorConexoes{0};

QString nomeConexao()
{
    return QStringLiteral("korvex_central_%1").arg(++contadorConexoes);
}

QVariant codigoOuNulo(const QString &codigo)
{
    return codigo.isEmpty() ? QVariant() : QVariant(codigo);
}

} // namespace

void BaseCentral::criaDe(const QString &pasta, const QString &origem)
{
    if (!QFileInfo(origem).isFile())
        throw DatabaseError(QStringLiteral("Arquivo de origem inexistente: ") + origem);
    if (!QDir().mkpath(pasta))
        throw DatabaseError(QStringLiteral("Não foi possível criar a pasta ") + pasta);
    const QString arquivo = QDir(pasta).absoluteFilePath(nomeArquivo());
    if (QFileInfo::exists(arquivo))
        throw DatabaseError(QStringLiteral("A base central já existe: ") + arquivo);
    if (!QFile::copy(origem, arquivo))
        throw DatabaseError(QStringLiteral("Não foi possível copiar %1 para %2.").arg(origem, arquivo));
    QFile::setPermissions(arquivo, QFile::permissions(arquivo) | QFileDevice::WriteOwner);
    try {
        ArquivoFirebird::escritaSincrona(arquivo, false);
        FirebirdConnection conexao(nomeConexao());
        conexao.setDatabaseName(arquivo);
        conexao.open();
        EsquemaCentral esquema(conexao);
        esquema.prepara();
        ConversaoNotebook(conexao).converte();
        esquema.ajustaSequencias();
        conexao.close();
        ArquivoFirebird::escritaSincrona(arquivo, true);
    } catch (...) {
        QFile::remove(arquivo);
        throw;
    }
}

BaseCentral::BaseCentral(const QString &pasta, const QString &esquema, const QString &outro)
    : m_pasta(QDir(pasta).absolutePath())
    , m_conexao(nomeConexao())
{
    const QString arquivo = outro.isEmpty() ? QDir(m_pasta).filePath(nomeArquivo()) : outro;
    if (arquivo.startsWith(u'/') && !QFileInfo::exists(arquivo))
        throw DatabaseError(QStringLiteral("Base central inexistente: %1 (crie-a com --init-from).").arg(arquivo));
    m_conexao.setDatabaseName(arquivo);
    m_conexao.open();
    EsquemaCentral(m_conexao).prepara();
    leTiposColunas();

    // The template follows the contract: made again only when the schema is newer.
    m_modelo = QDir(m_pasta).filePath(nomeModelo());
    const QFileInfo modelo(m_modelo);
    if (!modelo.exists() || modelo.lastModified() < QFileInfo(esquema).lastModified()) {
        const QString novo = QDir(m_pasta).filePath(QStringLiteral("MODELO-NOVO.FDB"));
        DatabaseFactory::create(novo, esquema);
        // Filled in bulk for every user: no forced writes (the user's copy gets them back).
        ArquivoFirebird::escritaSincrona(novo, false);
        QFile::remove(m_modelo);
        if (!QFile::rename(novo, m_modelo))
            throw DatabaseError(QStringLiteral("Não foi possível gravar ") + m_modelo);
    }
}

BaseCentral::~BaseCentral() = default;

void BaseCentral::leTiposColunas()
{
    m_tipos.clear();
    QSqlQuery consulta = ConsultaServidor::executa(
        m_conexao, QStringLiteral("SELECT TRIM(R.RDB$RELATION_NAME), TRIM(R.RDB$FIELD_NAME), F.RDB$FIELD_TYPE "
                                  "FROM RDB$RELATION_FIELDS R JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = R.RDB$FIELD_SOURCE "
                                  "WHERE COALESCE(R.RDB$SYSTEM_FLAG, 0) = 0"));
    while (consulta.next()) {
        using Tipo = TraducaoScript::TipoColuna;
        Tipo tipo = Tipo::Desconhecido;
        switch (consulta.value(2).toInt()) {
        case 7: case 8: case 16: case 10: case 27: case 11:
            tipo = Tipo::Numero;
            break;
        case 12:
            tipo = Tipo::Data;
            break;
        case 13:
            tipo = Tipo::Hora;
            break;
        case 35:
            tipo = Tipo::DataHora;
            break;
        case 14: case 37: case 40: case 261:
            tipo = Tipo::Texto;
            break;
        default:
            break;
        }
        m_tipos.insert(consulta.value(0).toString().trimmed() + u'.' + consulta.value(1).toString().trimmed(), tipo);
    }
}

TraducaoScript::TipoColuna BaseCentral::tipoColuna(const QString &tabela, const QString &coluna) const
{
    return m_tipos.value(tabela.toUpper() + u'.' + coluna.toUpper(), TraducaoScript::TipoColuna::Desconhecido);
}

std::optional<UsuarioServidor> BaseCentral::autentica(const QString &nome, const QString &senha)
{
    QSqlQuery consulta = ConsultaServidor::executa(
        m_conexao, QStringLiteral("SELECT CODEMP, CODUSU, NOMUSU, SENUSU FROM F599USU ORDER BY CODEMP, CODUSU"));
    const QString procurado = nome.trimmed().toUpper();
    while (consulta.next()) {
        const QString nomeUsuario = consulta.value(2).toString().trimmed();
        if (nomeUsuario.toUpper() != procurado || consulta.value(3).toString() != senha)
            continue;
        UsuarioServidor usuario{ConsultaServidor::codigo(consulta.value(0)), ConsultaServidor::codigo(consulta.value(1)),
                                nomeUsuario};
        // The codes name files and go into statements on both sides.
        if (usuario.CODEMP.isEmpty() || usuario.CODUSU.isEmpty())
            continue;
        return usuario;
    }
    return std::nullopt;
}

void BaseCentral::gravaServidor(const UsuarioServidor &usuario, const QString &endereco)
{
    m_conexao.execute(QStringLiteral("UPDATE F599USU SET HSTSRV = :HST WHERE CODEMP = :EMP AND CODUSU = :USU"),
                      {{QStringLiteral("HST"), endereco.left(50)},
                       {QStringLiteral("EMP"), usuario.CODEMP},
                       {QStringLiteral("USU"), usuario.CODUSU}});
}

BaseCentral::Comando BaseCentral::comandoAceito(const TraducaoScript &traducao, const QString &linha, int numero,
                                                const UsuarioServidor &usuario) const
{
    using Tipo = TraducaoScript::TipoComando;
    static const QStringList insercoes = {QStringLiteral("F530PDF"), QStringLiteral("F530IPF"), QStringLiteral("F510CLI"),
                                          QStringLiteral("F599MSG"), QStringLiteral("F512MTF")};
    static const QStringList atualizacoes = {QStringLiteral("F530PDF"), QStringLiteral("F599MSG"),
                                             QStringLiteral("F030PDV"), QStringLiteral("F599USU")};
    const auto recusa = [&](const QString &motivo) {
        return DatabaseError(QStringLiteral("linha %1: %2: %3").arg(numero).arg(motivo, linha.simplified().left(120)));
    };

    TraducaoScript::Comando comando;
    try {
        comando = traducao.traduz(linha);
    } catch (const TraducaoScript::Erro &e) {
        throw recusa(e.mensagem());
    }
    if (comando.separadores > 0)
        throw recusa(QStringLiteral("mais de um comando na linha"));
    const bool aceito = (comando.tipo == Tipo::Insercao && insercoes.contains(comando.tabela))
                        || (comando.tipo == Tipo::Atualizacao && atualizacoes.contains(comando.tabela));
    if (!aceito)
        throw recusa(QStringLiteral("comando não aceito pelo servidor"));
    if (comando.tabela != u"F599USU")
        return {comando.texto, {}};

    QVariant senha;
    QString expirada = QStringLiteral("N");
    for (const auto &[coluna, valor] : std::as_const(comando.atribuicoes)) {
        if (coluna == u"SENUSU")
            senha = valor.isEmpty() ? QVariant() : QVariant(valor);
        else if (coluna == u"EXPSEN" && valor.size() == 1)
            expirada = valor;
        else
            throw recusa(QStringLiteral("alteração do usuário não aceita"));
    }
    if (comando.outrasAtribuicoes > 0 || comando.atribuicoes.isEmpty())
        throw recusa(QStringLiteral("alteração do usuário não aceita"));
    return {QStringLiteral("UPDATE F599USU SET SENUSU = :SEN, EXPSEN = :EXP WHERE CODEMP = :EMP AND CODUSU = :USU"),
            {{QStringLiteral("SEN"), senha},
             {QStringLiteral("EXP"), expirada},
             {QStringLiteral("EMP"), usuario.CODEMP},
             {QStringLiteral("USU"), usuario.CODUSU}}};
}

int BaseCentral::executaScript(const UsuarioServidor &usuario, const QStringList &linhas)
{
    const TraducaoScript traducao([this](const QString &tabela, const QString &coluna) { return tipoColuna(tabela, coluna); });
    QList<Comando> comandos;
    int numero = 0;
    for (const QString &linha : linhas) {
        ++numero;
        if (!linha.trimmed().isEmpty())
            comandos << comandoAceito(traducao, linha, numero, usuario);
    }

    TransactionGuard transacao(m_conexao);
    for (qsizetype i = 0; i < comandos.size(); ++i) {
        try {
            m_conexao.execute(comandos.at(i).sql, comandos.at(i).parametros);
        } catch (const DatabaseError &e) {
            throw DatabaseError(QStringLiteral("comando %1: %2 [%3]").arg(i + 1).arg(e.message(), comandos.at(i).sql.simplified().left(200)));
        }
    }
    IntegracaoScript(m_conexao).integra();
    transacao.commit();
    return static_cast<int>(comandos.size());
}

void BaseCentral::geraBase(const UsuarioServidor &usuario, const QString &arquivo)
{
    GeradorBaseUsuario(m_conexao, m_modelo).gera(usuario, arquivo, QDateTime::currentDateTime());
}

void BaseCentral::cadastraUsuario(const QString &empresa, const QString &usuario, const QString &nome,
                                  const QString &senha, const QString &vendedor)
{
    {
        TransactionGuard transacao(m_conexao);
        const QVariantMap chave{{QStringLiteral("EMP"), empresa}, {QStringLiteral("USU"), usuario}};
        m_conexao.execute(QStringLiteral("DELETE FROM F599USU WHERE CODEMP = :EMP AND CODUSU = :USU"), chave);
        m_conexao.execute(QStringLiteral("INSERT INTO F599USU (CODUSU, NOMUSU, SENUSU, CODEMP, CODVEN, USASUP, EXPSEN, EXPANT) "
                                         "VALUES (:USU, :NOM, :SEN, :EMP, :VEN, 'N', 'N', 'N')"),
                          {{QStringLiteral("USU"), usuario},
                           {QStringLiteral("NOM"), nome.toUpper()},
                           {QStringLiteral("SEN"), D500DAT::embaralhaSenha(senha)},
                           {QStringLiteral("EMP"), empresa},
                           {QStringLiteral("VEN"), codigoOuNulo(vendedor)}});
        if (!ConsultaServidor::valor(m_conexao, QStringLiteral("SELECT 1 FROM F599MSU WHERE CODEMP = :EMP AND CODUSU = :USU"), chave)
                 .isValid())
            m_conexao.execute(QStringLiteral("INSERT INTO F599MSU (CODEMP, CODUSU, NOMUSU) VALUES (:EMP, :USU, :NOM)"),
                              {{QStringLiteral("EMP"), empresa}, {QStringLiteral("USU"), usuario},
                               {QStringLiteral("NOM"), nome.toUpper()}});
        transacao.commit();
    }
    EsquemaCentral(m_conexao).ajustaSequencias();
}
