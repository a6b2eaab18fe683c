#pragma once

#include "DialogoServidor.h"

#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

class ServicosServidor;

// The TCP side of the reference server: listens on one address and port and serves one
// notebook at a time; a notebook that connects meanwhile waits in the queue until the current
// dialogue ends. Each connection gets its own DialogoServidor.
class ServidorSincronizacao : public QObject
{
    Q_OBJECT
public:
    ServidorSincronizacao(ServicosServidor &servicos, DialogoServidor::Configuracao configuracao,
                          QObject *parent = nullptr);
    ~ServidorSincronizacao() override;

    // False with the reason in `erro` when the port cannot be opened.
    bool escuta(const QHostAddress &endereco, quint16 porta, QString *erro = nullptr);
    quint16 porta() const { return m_servidor.serverPort(); }
    bool ocupado() const { return m_socket != nullptr; }

signals:
    void registro(const QString &linha);
    // A dialogue ended and its connection is closed.
    void atendimentoConcluido();

private:
    void atendeProximo();
    void recebe();
    void envia(const QByteArray &bytes);
    void encerraDialogo();
    void conexaoFechada();

    ServicosServidor &m_servicos;
    DialogoServidor::Configuracao m_configuracao;
    QTcpServer m_servidor;
    QPointer<QTcpSocket> m_socket;
    std::unique_ptr<DialogoServidor> m_dialogo;
    QTimer m_fechamento; // a connection that does not close after the last token is cut
};
