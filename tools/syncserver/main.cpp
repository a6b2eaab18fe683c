#include "BaseCentral.h"
#include "DatabaseError.h"
#include "DatabaseFactory.h"
#include "EncerramentoPorSinal.h"
#include "ServidorSincronizacao.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTextStream>

#include <memory>

// korvex-syncserver --data DIR [--central HOST:PATH] [--port N] [--host ADDR] [--init-from FILE] ...
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("korvex-syncserver"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Servidor de sincronização de referência do Korvex."));
    parser.addHelpOption();
    const QCommandLineOption data(QStringLiteral("data"), QStringLiteral("Pasta da base central (CENTRAL.FDB)."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Porta TCP (padrão 5111)."), QStringLiteral("N"),
                                  QStringLiteral("5111"));
    const QCommandLineOption host(QStringLiteral("host"), QStringLiteral("Endereço de escuta (padrão 127.0.0.1)."),
                                  QStringLiteral("ENDEREÇO"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption initFrom(QStringLiteral("init-from"),
                                      QStringLiteral("Cria a base central a partir do ORVALIS.FDB de um notebook "
                                                     "(por exemplo, o de uma pasta de demonstração), se ainda não existir."),
                                      QStringLiteral("ARQUIVO"));
    const QCommandLineOption schema(QStringLiteral("schema"), QStringLiteral("Contrato da base do notebook (db/schema.sql)."),
                                    QStringLiteral("ARQUIVO"), DatabaseFactory::defaultSchemaFile());
    const QCommandLineOption version(QStringLiteral("versao"), QStringLiteral("Versão exigida do programa."),
                                     QStringLiteral("VERSÃO"), QStringLiteral(KORVEX_VERSAO));
    const QCommandLineOption timeout(QStringLiteral("prazo"), QStringLiteral("Segundos de espera por cada resposta do notebook (padrão 1800)."),
                                     QStringLiteral("S"), QStringLiteral("1800"));
    const QCommandLineOption pause(QStringLiteral("pausa"),
                                   QStringLiteral("Milissegundos entre mensagens sem resposta (padrão 300)."),
                                   QStringLiteral("MS"), QStringLiteral("300"));
    const QCommandLineOption user(QStringLiteral("usuario"),
                                  QStringLiteral("Cadastra um usuário: EMPRESA:CÓDIGO:NOME:SENHA[:VENDEDOR]."),
                                  QStringLiteral("DADOS"));
    const QCommandLineOption base(QStringLiteral("central"),
                                  QStringLiteral("Base central num servidor Firebird (host:caminho) ou noutro arquivo; "
                                                 "padrão: DIR/CENTRAL.FDB."),
                                  QStringLiteral("BASE"));
    const QCommandLineOption password(QStringLiteral("senha-central"),
                                      QStringLiteral("Senha do SYSDBA no servidor Firebird da base central "
                                                     "(padrão: variável KORVEX_SENHA_CENTRAL, ou masterkey)."),
                                      QStringLiteral("SENHA"));
    const QCommandLineOption maximum(QStringLiteral("atendimentos"),
                                     QStringLiteral("Sincronizações simultâneas; as demais esperam na fila (padrão 200)."),
                                     QStringLiteral("N"), QStringLiteral("200"));
    parser.addOptions({data, port, host, initFrom, schema, version, timeout, pause, user, base, password, maximum});
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    const auto registra = [&out](const QString &linha) {
        out << QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) << linha << Qt::endl;
    };

    if (!parser.isSet(data)) {
        err << "Informe a pasta da base central com --data DIR.\n";
        return 2;
    }
    bool ok = false;
    const uint numeroPorta = parser.value(port).toUInt(&ok);
    if (!ok || numeroPorta == 0 || numeroPorta > 65535) {
        err << "Porta inválida: " << parser.value(port) << "\n";
        return 2;
    }
    const QHostAddress endereco(parser.value(host));
    if (endereco.isNull()) {
        err << "Endereço inválido: " << parser.value(host) << "\n";
        return 2;
    }
    const int segundos = parser.value(timeout).toInt(&ok);
    if (!ok || segundos <= 0) {
        err << "Prazo inválido: " << parser.value(timeout) << "\n";
        return 2;
    }
    const int milissegundos = parser.value(pause).toInt(&ok);
    if (!ok || milissegundos < 0) {
        err << "Pausa inválida: " << parser.value(pause) << "\n";
        return 2;
    }
    const int simultaneos = parser.value(maximum).toInt(&ok);
    if (!ok || simultaneos <= 0) {
        err << "Número de atendimentos inválido: " << parser.value(maximum) << "\n";
        return 2;
    }
    if (parser.isSet(base) && parser.isSet(initFrom)) {
        err << "--init-from cria apenas a base local DIR/CENTRAL.FDB; não use junto com --central.\n";
        return 2;
    }
    const QString senhaCentral = parser.isSet(password) ? parser.value(password)
                                                        : qEnvironmentVariable("KORVEX_SENHA_CENTRAL");

    EncerramentoPorSinal encerramento;
    QObject::connect(&encerramento, &EncerramentoPorSinal::solicitado, &app, [&] {
        registra(QStringLiteral("Servidor encerrado."));
        QCoreApplication::quit();
    });

    const QString pasta = QDir(parser.value(data)).absolutePath();
    std::unique_ptr<BaseCentral> central;
    try {
        QDir().mkpath(pasta);
        const bool existe = QFileInfo::exists(QDir(pasta).filePath(BaseCentral::nomeArquivo()));
        if (parser.isSet(initFrom)) {
            if (existe) {
                registra(QStringLiteral("A base central já existe em %1; --init-from ignorado.").arg(pasta));
            } else {
                BaseCentral::criaDe(pasta, parser.value(initFrom));
                registra(QStringLiteral("Base central criada a partir de %1.").arg(parser.value(initFrom)));
            }
        }
        central = std::make_unique<BaseCentral>(pasta, parser.value(schema), parser.value(base), senhaCentral);
        const QStringList usuarios = parser.values(user);
        for (const QString &dados : usuarios) {
            const QStringList partes = dados.split(u':');
            if (partes.size() < 4 || partes.size() > 5) {
                err << "Usuário inválido (EMPRESA:CÓDIGO:NOME:SENHA[:VENDEDOR]): " << dados << "\n";
                return 2;
            }
            central->cadastraUsuario(partes.at(0), partes.at(1), partes.at(2), partes.at(3),
                                     partes.size() == 5 ? partes.at(4) : QString());
            registra(QStringLiteral("Usuário %1 cadastrado.").arg(partes.at(2).toUpper()));
        }
        QElapsedTimer catalogos;
        catalogos.start();
        central->preparaCatalogos();
        registra(QStringLiteral("Catálogos das empresas prontos em %1 s.").arg(catalogos.elapsed() / 1000.0, 0, 'f', 1));
    } catch (const DatabaseError &e) {
        err << "Falha: " << e.message() << "\n";
        return 1;
    }

    DialogoServidor::Configuracao configuracao;
    configuracao.versao = parser.value(version);
    configuracao.prazoResposta = std::chrono::seconds(segundos);
    configuracao.pausa = std::chrono::milliseconds(milissegundos);
    configuracao.pastaTrabalho = QDir(pasta).filePath(QStringLiteral("trabalho"));

    ServidorSincronizacao servidor(*central, configuracao);
    servidor.defineMaximoAtendimentos(simultaneos);
    QObject::connect(&servidor, &ServidorSincronizacao::registro, &app, registra);
    QString erro;
    if (!servidor.escuta(endereco, static_cast<quint16>(numeroPorta), &erro)) {
        err << "Não foi possível escutar em " << endereco.toString() << ":" << numeroPorta << ": " << erro << "\n";
        return 1;
    }
    registra(QStringLiteral("Servidor de sincronização em %1:%2 (versão %3), base %4.")
                 .arg(endereco.toString())
                 .arg(servidor.porta())
                 .arg(configuracao.versao, central->conexao().databaseName()));
    return app.exec();
}
