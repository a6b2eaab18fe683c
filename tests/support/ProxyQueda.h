#pragma once

#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

// A loopback relay between a notebook and the server that drops both sides the moment the
// server sends a chosen token, before the notebook hears it: the link breaking at that step.
class ProxyQueda : public QObject
{
public:
    ProxyQueda(quint16 portaServidor, const QByteArray &corte)
        : m_portaServidor(portaServidor)
        , m_corte(corte)
    {
        m_escuta.listen(QHostAddress::LocalHost, 0);
        connect(&m_escuta, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *notebook = m_escuta.nextPendingConnection()) {
                auto *servidor = new QTcpSocket(notebook);
                m_recebido.clear();
                connect(notebook, &QTcpSocket::readyRead, servidor, [notebook, servidor] { servidor->write(notebook->readAll()); });
                connect(servidor, &QTcpSocket::readyRead, notebook, [this, notebook, servidor] {
                    const QByteArray bytes = servidor->readAll();
                    m_recebido += bytes;
                    if (!m_cortou && m_recebido.contains(m_corte)) {
                        m_cortou = true;
                        servidor->abort();
                        notebook->abort();
                        return;
                    }
                    notebook->write(bytes);
                });
                connect(notebook, &QTcpSocket::disconnected, servidor, &QTcpSocket::disconnectFromHost);
                connect(servidor, &QTcpSocket::disconnected, notebook, &QTcpSocket::disconnectFromHost);
                connect(notebook, &QTcpSocket::disconnected, notebook, &QObject::deleteLater);
                // The notebook's hello waits until the server side is up.
                notebook->setReadBufferSize(0);
                servidor->connectToHost(QHostAddress::LocalHost, m_portaServidor);
                servidor->waitForConnected(5000);
                if (notebook->bytesAvailable() > 0)
                    servidor->write(notebook->readAll());
            }
        });
    }

    quint16 porta() const { return m_escuta.serverPort(); }
    bool cortou() const { return m_cortou; }

private:
    quint16 m_portaServidor;
    QByteArray m_corte;
    QTcpServer m_escuta;
    QByteArray m_recebido;
    bool m_cortou = false;
};
