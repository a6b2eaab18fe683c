#include "ServicoServidor.h"

#include "ArquivoFirebird.h"
#include "BaseCentral.h"
#include "ConfiguracaoServidor.h"
#include "DatabaseError.h"
#include "DatabaseFactory.h"
#include "EncerramentoPorSinal.h"
#include "EsquemaCentral.h"
#include "FirebirdConnection.h"
#include "RegistroServidor.h"
#include "ServidorSincronizacao.h"
#include "SqlText.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>

#include <cstdio>
#include <memory>

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kFormatoUsuario = QStringLiteral("EMPRESA:CÓDIGO:NOME:SENHA[:VENDEDOR]");

void escreveErro(const QString &texto)
{
    std::fputs((texto + u'\n').toUtf8().constData(), stderr);
}

// The administrator runs the set-up commands with sudo; the files they create must belong to
// the service's user, who owns the data folder. Root takes that user's identity first, and so
// does a server started by hand as root.
QString assumeDonoDaPasta(const QString &pasta)
{
    if (::geteuid() != 0)
        return {};
    struct stat dados {};
    if (::stat(QFile::encodeName(pasta).constData(), &dados) != 0 || dados.st_uid == 0)
        return {};
    if (::setgroups(0, nullptr) != 0 || ::setgid(dados.st_gid) != 0 || ::setuid(dados.st_uid) != 0)
        return QStringLiteral("Não foi possível assumir o usuário dono de %1.").arg(pasta);
    return {};
}

void cadastraUsuarios(BaseCentral &central, const QStringList &usuarios, const RegistroServidor &registro)
{
    for (const QString &dados : usuarios) {
        const QStringList partes = dados.split(u':');
        central.cadastraUsuario(partes.at(0), partes.at(1), partes.at(2), partes.at(3),
                                partes.size() == 5 ? partes.at(4) : QString());
        registro.registra(ConfiguracaoServidor::Nivel::Info,
                          QStringLiteral("Usuário %1 cadastrado (empresa %2, código %3).")
                              .arg(partes.at(2).toUpper(), partes.at(0), partes.at(1)));
    }
}

} // namespace

QString ServicoServidor::esquemaInstalado(const QString &programa)
{
    const QString instalado = QDir(QFileInfo(programa).absolutePath())
                                  .absoluteFilePath(QStringLiteral("../share/korvex-servidor/schema.sql"));
    return QFileInfo::exists(instalado) ? instalado : DatabaseFactory::defaultSchemaFile();
}

QString ServicoServidor::confereUsuario(const QString &dados)
{
    const QStringList partes = dados.split(u':');
    if (partes.size() < 4 || partes.size() > 5)
        return QStringLiteral("Usuário inválido \"%1\": use %2.").arg(dados, kFormatoUsuario);
    for (int i : {0, 1}) {
        bool numero = false;
        partes.at(i).toLongLong(&numero);
        if (!numero)
            return QStringLiteral("Usuário inválido \"%1\": empresa e código são números.").arg(dados);
    }
    if (partes.at(2).trimmed().isEmpty() || partes.at(3).isEmpty())
        return QStringLiteral("Usuário inválido \"%1\": nome e senha não podem ficar vazios.").arg(dados);
    if (partes.size() == 5 && !partes.at(4).isEmpty()) {
        bool numero = false;
        partes.at(4).toLongLong(&numero);
        if (!numero)
            return QStringLiteral("Usuário inválido \"%1\": o vendedor é um número.").arg(dados);
    }
    return {};
}

bool ServicoServidor::criaBase(const ConfiguracaoServidor &config, const QString &esquema)
{
    const QString arquivo = config.arquivoBase();
    if (!config.baseRemota() && QFileInfo::exists(arquivo))
        return false;
    // On a Firebird server the file is not ours to see: a database that opens already exists.
    if (config.baseRemota()) {
        FirebirdConnection existente(QStringLiteral("korvex_central_existente"));
        existente.setDatabaseName(arquivo);
        try {
            existente.open();
            return false;
        } catch (const DatabaseError &) {
        }
    }
    QFile contrato(esquema);
    if (!contrato.open(QIODevice::ReadOnly))
        throw DatabaseError(QStringLiteral("Não foi possível ler o contrato da base: ") + esquema);
    if (!config.baseRemota() && !QDir().mkpath(QFileInfo(arquivo).absolutePath()))
        throw DatabaseError(QStringLiteral("Não foi possível criar a pasta de ") + arquivo);

    // A local file is made under another name and renamed when complete: a creation cut short
    // must not pass for a central database at the next start.
    const QString destino = config.baseRemota() ? arquivo : arquivo + QStringLiteral(".novo");
    if (!config.baseRemota())
        QFile::remove(destino);
    // A server's database needs its account; an embedded file takes any.
    const QString usuario = config.usuarioBase.isEmpty() ? QStringLiteral("SYSDBA") : config.usuarioBase;
    const QString senha = config.usuarioBase.isEmpty() ? QStringLiteral("masterkey") : config.senhaBase;
    QTemporaryFile script;
    if (!script.open())
        throw DatabaseError(QStringLiteral("Não foi possível criar o arquivo temporário do script."));
    script.write("SET NAMES UTF8;\nCREATE DATABASE " + SqlText::quoted(destino).toUtf8() + " USER "
                 + SqlText::quoted(usuario).toUtf8() + " PASSWORD " + SqlText::quoted(senha).toUtf8()
                 + " PAGE_SIZE 8192 DEFAULT CHARACTER SET WIN1252;\n");
    script.write(contrato.readAll());
    script.write("\nCOMMIT;\n");
    script.flush();
    try {
        QProcess isql;
        isql.setProcessChannelMode(QProcess::MergedChannels);
        isql.start(QStringLiteral("isql-fb"), {QStringLiteral("-q"), QStringLiteral("-b"), QStringLiteral("-ch"),
                                               QStringLiteral("UTF8"), QStringLiteral("-i"), script.fileName()});
        if (!isql.waitForFinished(600000) || isql.exitStatus() != QProcess::NormalExit || isql.exitCode() != 0)
            throw DatabaseError(QStringLiteral("isql-fb não criou a base central %1: %2")
                                    .arg(arquivo, QString::fromUtf8(isql.readAll()).trimmed() + isql.errorString()));
        {
            FirebirdConnection conexao(QStringLiteral("korvex_criacao_central"));
            conexao.setDatabaseName(destino);
            conexao.open();
            EsquemaCentral(conexao).prepara();
        }
        if (!config.baseRemota()) {
            ArquivoFirebird::escritaSincrona(destino, true);
            if (!QFile::rename(destino, arquivo))
                throw DatabaseError(QStringLiteral("Não foi possível gravar ") + arquivo);
        }
    } catch (...) {
        if (!config.baseRemota())
            QFile::remove(destino);
        throw;
    }
    return true;
}

int ServicoServidor::executa(const QStringList &argumentos, const QString &versao)
{
    QCommandLineParser opcoes;
    opcoes.setApplicationDescription(QStringLiteral("Servidor de sincronização do Korvex (serviço korvex-servidor)."));
    opcoes.addHelpOption();
    const QCommandLineOption configOpcao(QStringLiteral("config"), QStringLiteral("Arquivo de configuração (padrão %1).")
                                                                       .arg(ConfiguracaoServidor::arquivoPadrao()),
                                         QStringLiteral("ARQUIVO"), ConfiguracaoServidor::arquivoPadrao());
    const QCommandLineOption criaOpcao(QStringLiteral("cria-base"),
                                       QStringLiteral("Cria a base central vazia, se ainda não existir, e termina."));
    const QCommandLineOption usuarioOpcao(QStringLiteral("usuario"),
                                          QStringLiteral("Cadastra um usuário (%1) e termina; repetível.").arg(kFormatoUsuario),
                                          QStringLiteral("DADOS"));
    opcoes.addOptions({configOpcao, criaOpcao, usuarioOpcao});
    if (!opcoes.parse(argumentos)) {
        escreveErro(opcoes.errorText());
        return Uso;
    }
    if (opcoes.isSet(QStringLiteral("help"))) {
        std::fputs(opcoes.helpText().toUtf8().constData(), stdout);
        return Sucesso;
    }
    if (!opcoes.positionalArguments().isEmpty()) {
        escreveErro(QStringLiteral("Argumento inesperado: %1").arg(opcoes.positionalArguments().first()));
        return Uso;
    }

    const ConfiguracaoServidor config = ConfiguracaoServidor::carrega(opcoes.value(configOpcao));
    const RegistroServidor registro(config.nivel, RegistroServidor::saidaNoDiario());
    // Under systemd the journal has it; in a terminal the error output.
    const auto falha = [&registro](const QString &texto) {
        if (RegistroServidor::saidaNoDiario())
            registro.registra(ConfiguracaoServidor::Nivel::Erro, texto);
        else
            escreveErro(texto);
    };
    if (!config.erros.isEmpty()) {
        for (const QString &erro : config.erros)
            falha(erro);
        return Uso;
    }
    const QStringList usuarios = opcoes.values(usuarioOpcao);
    for (const QString &dados : usuarios) {
        const QString erro = confereUsuario(dados);
        if (!erro.isEmpty()) {
            falha(erro);
            return Uso;
        }
    }
    const QString esquema = config.esquema.isEmpty()
                                ? esquemaInstalado(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath())
                                : config.esquema;
    // isql-fb, gfix and the client library read the server account from these.
    if (!config.usuarioBase.isEmpty()) {
        qputenv("ISC_USER", config.usuarioBase.toUtf8());
        qputenv("ISC_PASSWORD", config.senhaBase.toUtf8());
    }
    // The service and the set-up commands share the embedded engine's lock files, in a folder
    // of the server's own rather than one every Firebird program of the machine uses.
    if (!qEnvironmentVariableIsSet("FIREBIRD_LOCK"))
        qputenv("FIREBIRD_LOCK", QFile::encodeName(QDir(config.pasta).filePath(QStringLiteral("firebird"))));

    const bool preparacao = opcoes.isSet(criaOpcao) || !usuarios.isEmpty();
    if (const QString erro = assumeDonoDaPasta(config.pasta); !erro.isEmpty()) {
        falha(erro);
        return Falha;
    }
    if (!QDir().mkpath(config.pasta)) {
        falha(QStringLiteral("Não foi possível criar a pasta de dados %1.").arg(config.pasta));
        return Falha;
    }

    // Before the database library starts its threads, which must not take the signals.
    std::unique_ptr<EncerramentoPorSinal> encerramento;
    if (!preparacao)
        encerramento = std::make_unique<EncerramentoPorSinal>();
    try {
        if (opcoes.isSet(criaOpcao)) {
            if (criaBase(config, esquema))
                registro.registra(ConfiguracaoServidor::Nivel::Info,
                                  QStringLiteral("Base central criada: %1.").arg(config.arquivoBase()));
            else
                registro.registra(ConfiguracaoServidor::Nivel::Aviso,
                                  QStringLiteral("A base central já existe: %1; nada foi alterado.").arg(config.arquivoBase()));
        }
        if (!config.baseRemota() && !QFileInfo::exists(config.arquivoBase())) {
            falha(QStringLiteral("Base central inexistente: %1. Crie-a com \"korvex-servidor --cria-base --usuario %2\".")
                      .arg(config.arquivoBase(), kFormatoUsuario));
            return SemBase;
        }
        if (preparacao && usuarios.isEmpty())
            return Sucesso;

        BaseCentral central(config.pasta, esquema, config.arquivoBase());
        if (preparacao) {
            cadastraUsuarios(central, usuarios, registro);
            return Sucesso;
        }

        DialogoServidor::Configuracao dialogo;
        dialogo.versao = versao;
        dialogo.pastaTrabalho = QDir(config.pasta).filePath(QStringLiteral("trabalho"));
        ServidorSincronizacao servidor(central, dialogo);
        QObject::connect(&servidor, &ServidorSincronizacao::registro, &servidor,
                         [&registro](const QString &linha) { registro.registraDialogo(linha); });
        QObject::connect(encerramento.get(), &EncerramentoPorSinal::solicitado, &servidor, [&registro] {
            registro.registra(ConfiguracaoServidor::Nivel::Info, QStringLiteral("Servidor encerrado."));
            QCoreApplication::quit();
        });
        QString erro;
        if (!servidor.escuta(config.endereco, config.porta, &erro)) {
            falha(QStringLiteral("Não foi possível escutar em %1:%2: %3").arg(config.endereco.toString()).arg(config.porta).arg(erro));
            return Falha;
        }
        registro.registra(ConfiguracaoServidor::Nivel::Info,
                          QStringLiteral("Servidor de sincronização em %1:%2 (versão %3), base %4, registro %5.")
                              .arg(config.endereco.toString())
                              .arg(servidor.porta())
                              .arg(versao, config.arquivoBase(), ConfiguracaoServidor::nomeNivel(config.nivel)));
        return QCoreApplication::exec() == 0 ? Sucesso : Falha;
    } catch (const DatabaseError &e) {
        QString texto = QStringLiteral("Falha na base central %1: %2").arg(config.arquivoBase(), e.message());
        if (preparacao)
            texto += QStringLiteral(" Se o serviço korvex-servidor estiver em execução, pare-o antes (systemctl stop korvex-servidor).");
        falha(texto);
        return Falha;
    }
}
