#include "ComandoSync.h"

#include "ClienteSincronizacao.h"
#include "ConfiguracaoSistema.h"
#include "D500DAT.h"
#include "DatabaseError.h"
#include "InstanciaUnica.h"
#include "Mensagem.h"
#include "Terminal.h"
#include "ReposicaoBase.h"
#include "U500PRI.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTimer>

#include <cstdio>
#include <exception>

namespace {

enum Saida { Sucesso = 0, Falhou = 1, Uso = 2 };

QString versaoPrograma()
{
    const QString texto = F500PRI::textoVersao();
    return texto.mid(texto.indexOf(QLatin1Char(' ')) + 1);
}

// Opens ORVALIS.FDB and loads the session; a file that does not open or holds no user leaves
// the session empty (a notebook to be configured).
void abreBase(D500DAT &dat, const QString &pasta)
{
    try {
        dat.cnxFirebird.close();
        dat.cnxFirebird.setDatabaseName(QDir(pasta).absoluteFilePath(ReposicaoBase::arquivoBase));
        dat.cnxFirebird.open();
    } catch (const DatabaseError &e) {
        Terminal::escreve(stderr, e.message());
        return;
    }
    try {
        dat.carregaUsuario();
    } catch (const DatabaseError &) {
        // An older file without the full user row.
        dat.executaAcao([&dat] { dat.carregaUsuarioMinimo(); });
    }
}

} // namespace

bool ComandoSync::solicitado(int argc, char **argv)
{
    return argc >= 2 && QByteArray(argv[1]) == "sync";
}

int ComandoSync::executa(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Korvex"));

    QCommandLineParser opcoes;
    opcoes.setApplicationDescription(QStringLiteral("Sincroniza o Korvex com o servidor, sem janelas."));
    opcoes.addHelpOption();
    opcoes.addPositionalArgument(QStringLiteral("sync"), QStringLiteral("Sincroniza."));
    const QCommandLineOption servidorOpcao(QStringLiteral("server"), QStringLiteral("Endereço do servidor."),
                                           QStringLiteral("HOST"));
    const QCommandLineOption usuarioOpcao(QStringLiteral("user"), QStringLiteral("Usuário (sem usuário configurado)."),
                                          QStringLiteral("NAME"));
    const QCommandLineOption senhaOpcao(QStringLiteral("password"), QStringLiteral("Senha (sem usuário configurado)."),
                                        QStringLiteral("TEXT"));
    const QCommandLineOption pendentesOpcao(
        QStringLiteral("pendentes"),
        QStringLiteral("Mostra o que a próxima atualização vai enviar, sem atualizar."));
    opcoes.addOptions({servidorOpcao, usuarioOpcao, senhaOpcao, pendentesOpcao});
    if (!opcoes.parse(QCoreApplication::arguments())) {
        Terminal::escreve(stderr, opcoes.errorText());
        return Uso;
    }
    if (opcoes.isSet(QStringLiteral("help"))) {
        Terminal::escreve(stdout, opcoes.helpText());
        return Sucesso;
    }
    if (opcoes.positionalArguments() != QStringList{QStringLiteral("sync")}) {
        Terminal::escreve(stderr, opcoes.helpText());
        return Uso;
    }

    const QString pasta = QDir::currentPath();
    Terminal::Apresentador apresentador;
    D500DAT dat;
    dat.setMessagePresenter(&apresentador);

    InstanciaUnica instancia(pasta);
    if (!instancia.trava()) {
        dat.exibeMensagem(InstanciaUnica::mensagemJaAberto(), TipoMensagem::Aviso, CorMensagem::Vermelho);
        return Falhou;
    }
    ReposicaoBase::recuperaSeInterrompida(pasta);

    const ConfiguracaoSistema config =
        ConfiguracaoSistema::carrega(QDir(pasta).filePath(ConfiguracaoSistema::nomeArquivo()));
    dat.sessao.portaServidor = config.portaKqx();
    abreBase(dat, pasta);

    if (opcoes.isSet(pendentesOpcao)) {
        ClienteSincronizacao cliente(dat, versaoPrograma(), pasta);
        QList<GrupoPendentes> grupos;
        if (!dat.executaAcao([&] { grupos = cliente.pendentes(); }))
            return Falhou;
        for (const QString &linha : PendentesEnvio::texto(QStringLiteral("Pendentes de envio"), grupos))
            Terminal::escreve(stdout, linha);
        return Sucesso;
    }

    const bool configurado = !dat.sessao.CODUSU.isEmpty();
    QString servidor = opcoes.value(servidorOpcao).trimmed();
    QString usuario = opcoes.value(usuarioOpcao);
    QString senha = opcoes.value(senhaOpcao);
    if (configurado) {
        if (servidor.isEmpty())
            servidor = dat.sessao.HSTSRV.trimmed();
        if (opcoes.isSet(usuarioOpcao) || opcoes.isSet(senhaOpcao))
            Terminal::escreve(stderr, QStringLiteral("Usuário já configurado: --user e --password são ignorados."));
        usuario.clear();
        senha.clear();
        if (servidor.isEmpty()) {
            Terminal::escreve(stderr, ClienteSincronizacao::mensagemFalta(ClienteSincronizacao::Falta::Servidor));
            return Uso;
        }
    } else {
        const ClienteSincronizacao::Falta falta =
            ClienteSincronizacao::verificaEntrada(dat.sessao, servidor, usuario, senha);
        if (falta != ClienteSincronizacao::Falta::Nada) {
            Terminal::escreve(stderr, ClienteSincronizacao::mensagemFalta(falta));
            Terminal::escreve(stderr, QStringLiteral("Sem usuário configurado: informe --server, --user e --password."));
            return Uso;
        }
    }

    ClienteSincronizacao cliente(dat, versaoPrograma(), pasta);
    QObject::connect(&cliente, &ClienteSincronizacao::linhaStatus, [](const QString &linha) {
        Terminal::escreve(stdout, linha);
    });
    QTimer vigia;
    vigia.setInterval(500);
    QObject::connect(&vigia, &QTimer::timeout, &cliente, [&cliente, &vigia] {
        cliente.tick();
        if (cliente.fimAtualizacao()) {
            vigia.stop();
            QCoreApplication::exit(cliente.sucesso() ? Sucesso : Falhou);
        }
    });
    QObject::connect(&cliente, &ClienteSincronizacao::finalizado, &app, [](bool sucesso) {
        QCoreApplication::exit(sucesso ? Sucesso : Falhou);
    }, Qt::QueuedConnection);

    if (!cliente.iniciaAtualizacao(servidor, usuario, senha))
        return Falhou;
    vigia.start();
    QCoreApplication::exec();
    const bool atualizado = cliente.sucesso();
    cliente.cancela();
    return atualizado ? Sucesso : Falhou;
}
