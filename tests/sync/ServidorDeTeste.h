#pragma once

#include "ArquivoZip.h"
#include "EnquadramentoBinario.h"

#include <QFile>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

// The server's side of one whole exchange on 127.0.0.1, one token at a time, each after the
// client's reply; it keeps the script it received and sends `base` zipped as ORVA1_25.FDB.
class ServidorDeTeste : public QObject
{
public:
    QTcpServer servidor;
    QTcpSocket *conexao = nullptr;
    QList<QByteArray> recebidos;
    QByteArray script;
    QByteArray pacote; // length + archive sent after "#ENVIANDO#"
    bool mudo = false; // accepts and never answers
    QByteArray respostaSaudacao = "#VERSAO#";
    // Replies of a wrong server: the client's message that starts with the key gets the value.
    QMap<QByteArray, QByteArray> trocas;
    bool paraNoMeio = false; // sends half the package and goes silent
    bool recebendo = false;
    QByteArray buffer;
    QTemporaryDir pasta;

    explicit ServidorDeTeste(const QString &base)
    {
        servidor.listen(QHostAddress::LocalHost, 0);
        const QString entrada = pasta.filePath(QStringLiteral("ORVA1_25.FDB"));
        QFile::copy(base, entrada);
        const QString zip = pasta.filePath(QStringLiteral("saida.zip"));
        ArquivoZip::compacta(entrada, zip);
        QFile f(zip);
        f.open(QIODevice::ReadOnly);
        pacote = EnquadramentoBinario::enquadra(f.readAll());
        connect(&servidor, &QTcpServer::newConnection, this, [this] {
            conexao = servidor.nextPendingConnection();
            connect(conexao, &QTcpSocket::readyRead, this, [this] { trata(conexao->readAll()); });
        });
    }

    quint16 porta() const { return servidor.serverPort(); }

    void trata(const QByteArray &bytes)
    {
        if (mudo)
            return;
        if (recebendo) {
            buffer += bytes;
            if (buffer.size() < 8 || buffer.size() < 8 + EnquadramentoBinario::leCabecalho(buffer))
                return;
            recebendo = false;
            const QString zip = pasta.filePath(QStringLiteral("entrada.KXD"));
            QFile f(zip);
            f.open(QIODevice::WriteOnly);
            f.write(buffer.mid(8));
            f.close();
            const QString scp = pasta.filePath(QStringLiteral("ORVA1_25.SCP"));
            if (ArquivoZip::extrai(zip, QStringLiteral("ORVA1_25.SCP"), scp).ok()) {
                QFile s(scp);
                s.open(QIODevice::ReadOnly);
                script = s.readAll();
            }
            conexao->write("#RECEBIDO#");
            return;
        }
        recebidos << bytes;
        for (auto it = trocas.cbegin(); it != trocas.cend(); ++it) {
            if (bytes.startsWith(it.key())) {
                conexao->write(it.value());
                return;
            }
        }
        if (bytes.startsWith("#KORVEX#"))
            conexao->write(respostaSaudacao);
        else if (bytes.startsWith("#VERSAO#"))
            conexao->write("#SENHA#");
        else if (bytes.startsWith("#USUSENHA#"))
            conexao->write("#END_SERVER#1#25");
        else if (bytes.startsWith("#GRV_SERVER#"))
            conexao->write("#DADOS#1#25");
        else if (bytes == "#TEMDADOS#") {
            recebendo = true;
            buffer.clear();
            conexao->write("#ENVIAR#");
        } else if (bytes.startsWith("#PROCESSA#"))
            conexao->write("#PROCESSADO#");
        else if (bytes.startsWith("#GERADADOS#")) {
            conexao->write("#GERANDO#");
            QTimer::singleShot(100, this, [this] { conexao->write("#ENVIANDO#"); });
            QTimer::singleShot(200, this, [this] {
                if (paraNoMeio) {
                    conexao->write(pacote.left(pacote.size() / 2));
                    return;
                }
                conexao->write(pacote.left(100));
                conexao->write(pacote.mid(100));
            });
        }
    }
};
