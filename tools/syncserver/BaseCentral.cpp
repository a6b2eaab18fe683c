#include "BaseCentral.h"

#include "ArquivoFirebird.h"

#include "ConferenciaScript.h"
#include "ConsultaServidor.h"
#include "ConversaoNotebook.h"
#include "D500DAT.h"
#include "DatabaseError.h"
#include "DatabaseFactory.h"
#include "EsquemaCentral.h"
#include "GeradorBaseUsuario.h"
#include "IncrementalZip.h"
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

BaseCentral::BaseCentral(const QString &pasta, const QString &esquema, const QString &base, const QString &senha)
    : m_pasta(QDir(pasta).absolutePath())
    , m_senha(senha)
    , m_conexao(nomeConexao())
{
    m_base = base.isEmpty() ? QDir(m_pasta).filePath(nomeArquivo()) : base;
    if (m_base.startsWith(u'/') && !QFileInfo::exists(m_base))
        throw DatabaseError(QStringLiteral("Base central inexistente: %1 (crie-a com --init-from).").arg(m_base));
    preparaConexao(m_conexao);
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

void BaseCentral::preparaConexao(FirebirdConnection &conexao) const
{
    conexao.setDatabaseName(m_base);
    if (!m_senha.isEmpty())
        conexao.database().setPassword(m_senha);
    conexao.open();
}

int BaseCentral::executaScript(const UsuarioServidor &usuario, const QStringList &linhas)
{
    // One script at a time: each sees the rows of the scripts before it whole, and the
    // integration of one never meets another's half-written rows.
    const std::lock_guard<std::mutex> vez(m_scripts);
    FirebirdConnection conexao(nomeConexao());
    preparaConexao(conexao);
    ConferenciaScript conferencia(conexao, usuario,
                                  [this](const QString &tabela, const QString &coluna) { return tipoColuna(tabela, coluna); });
    const QList<ConferenciaScript::Comando> comandos = conferencia.confere(linhas);

    TransactionGuard transacao(conexao);
    for (qsizetype i = 0; i < comandos.size(); ++i) {
        try {
            conexao.execute(comandos.at(i).sql, comandos.at(i).parametros);
        } catch (const DatabaseError &e) {
            throw DatabaseError(QStringLiteral("comando %1: %2 [%3]").arg(i + 1).arg(e.message(), comandos.at(i).sql.simplified().left(200)));
        }
    }
    IntegracaoScript(conexao).integra();
    transacao.commit();
    return static_cast<int>(comandos.size());
}

void BaseCentral::geraBase(const UsuarioServidor &usuario, const QString &arquivo)
{
    geraBase(usuario, arquivo, nullptr, nullptr);
}

void BaseCentral::geraBase(const UsuarioServidor &usuario, const QString &arquivo, QFile *historico, QFile *pecas)
{
    FirebirdConnection conexao(nomeConexao());
    preparaConexao(conexao);
    GeradorBaseUsuario gerador(conexao, m_modelo);
    copiaHistorico(gerador, conexao, usuario, arquivo, historico, pecas);
    gerador.gera(usuario, arquivo, QDateTime::currentDateTime(), true);
}

void BaseCentral::geraPacote(const UsuarioServidor &usuario, const QString &pacote)
{
    const QString arquivo = QFileInfo(pacote).dir().filePath(usuario.nomePacote() + QStringLiteral(".FDB"));
    QFile historico;
    QFile pecas;
    ArquivoZip::Resultado compactado;
    try {
        geraBase(usuario, arquivo, &historico, &pecas);
        // The user's file is the history with the user's rows written into it: the history's
        // deflated pieces serve wherever its bytes did not change. The fastest deflate for the
        // rest: a database file compresses nearly as well, in a third of the time.
        compactado = IncrementalZip::compress(arquivo, historico.isOpen() ? &historico : nullptr,
                                              pecas.isOpen() ? &pecas : nullptr, pacote, 1);
    } catch (...) {
        QFile::remove(arquivo);
        throw;
    }
    QFile::remove(arquivo);
    if (!compactado.ok())
        throw DatabaseError(QStringLiteral("não foi possível compactar a base: ") + compactado.detalhe);
}

void BaseCentral::copiaHistorico(GeradorBaseUsuario &gerador, FirebirdConnection &conexao, const UsuarioServidor &usuario,
                                 const QString &destino, QFile *historico, QFile *pecas)
{
    const std::lock_guard<std::mutex> vez(m_historico);
    const EsquemaCentral esquema(conexao);
    const QString vendedor = ConsultaServidor::codigo(
        ConsultaServidor::valor(conexao, QStringLiteral("SELECT FIRST 1 CODVEN FROM F599USU WHERE CODEMP = :EMP AND CODUSU = :USU"),
                                {{QStringLiteral("EMP"), usuario.CODEMP}, {QStringLiteral("USU"), usuario.CODUSU}}));
    // Read before the copy is made: a change meanwhile makes it stale at once.
    const QString versao = QStringLiteral("%1|%2|%3").arg(esquema.versaoCatalogo()).arg(esquema.versaoHistorico()).arg(vendedor);
    const QString arquivo = QDir(m_pasta).filePath(QStringLiteral("HISTORICO%1_%2.FDB").arg(usuario.CODEMP, usuario.CODUSU));
    const QString arquivoPecas = QDir(m_pasta).filePath(QStringLiteral("HISTORICO%1_%2.PECAS").arg(usuario.CODEMP, usuario.CODUSU));
    const QString chave = usuario.CODEMP + u'_' + usuario.CODUSU;
    if (m_versoesHistorico.value(chave) != versao || !QFileInfo::exists(arquivo)) {
        m_versoesHistorico.remove(chave);
        QFile::remove(arquivoPecas);
        copiaCatalogo(gerador, conexao, usuario.CODEMP, arquivo);
        gerador.geraHistorico(usuario, arquivo);
        // Without its pieces a package is deflated whole: slower, the same bytes.
        if (!IncrementalZip::prepare(arquivo, arquivoPecas, 1).ok())
            QFile::remove(arquivoPecas);
        m_versoesHistorico.insert(chave, versao);
    }
    if (destino.isEmpty())
        return;
    QFile::remove(destino);
    if (!QFile::copy(arquivo, destino))
        throw DatabaseError(QStringLiteral("Não foi possível copiar %1 para %2.").arg(arquivo, destino));
    // A history built again is a new file (the old one is removed, not overwritten), so what is
    // opened here stays the copy's original while the next exchanges renew it.
    if (historico && pecas) {
        historico->setFileName(arquivo);
        pecas->setFileName(arquivoPecas);
        if (!historico->open(QIODevice::ReadOnly) || !pecas->open(QIODevice::ReadOnly)) {
            historico->close();
            pecas->close();
        }
    }
}

void BaseCentral::preparaCatalogos()
{
    const QStringList empresas = EsquemaCentral(m_conexao).empresas();
    GeradorBaseUsuario gerador(m_conexao, m_modelo);
    for (const QString &empresa : empresas)
        copiaCatalogo(gerador, m_conexao, empresa, QString());
    QSqlQuery usuarios = ConsultaServidor::executa(
        m_conexao, QStringLiteral("SELECT CODEMP, CODUSU FROM F599USU WHERE CODEMP IS NOT NULL AND CODUSU IS NOT NULL"));
    QList<UsuarioServidor> lista;
    while (usuarios.next())
        lista.append({ConsultaServidor::codigo(usuarios.value(0)), ConsultaServidor::codigo(usuarios.value(1)), QString()});
    usuarios.finish();
    for (const UsuarioServidor &usuario : std::as_const(lista))
        copiaHistorico(gerador, m_conexao, usuario, QString());
}

void BaseCentral::copiaCatalogo(GeradorBaseUsuario &gerador, FirebirdConnection &conexao, const QString &empresa,
                                const QString &destino)
{
    // Copied under the lock too: a catalogue being made again is never read half written.
    const std::lock_guard<std::mutex> vez(m_catalogo);
    const qlonglong versao = EsquemaCentral(conexao).versaoCatalogo();
    const QString arquivo = QDir(m_pasta).filePath(QStringLiteral("CATALOGO%1.FDB").arg(empresa));
    if (m_versoesCatalogo.value(empresa, -1) != versao || !QFileInfo::exists(arquivo)) {
        m_versoesCatalogo.remove(empresa);
        gerador.geraCatalogo(empresa, arquivo);
        m_versoesCatalogo.insert(empresa, versao);
    }
    if (destino.isEmpty())
        return;
    QFile::remove(destino);
    if (!QFile::copy(arquivo, destino))
        throw DatabaseError(QStringLiteral("Não foi possível copiar %1 para %2.").arg(arquivo, destino));
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
