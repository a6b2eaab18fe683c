#pragma once

#include <QObject>
#include <QTcpSocket>

class ProtocoloSincronizacao;
struct SessaoSincronizacao;

// Ties the protocol to the TCP socket svAtualiza: non-blocking, its events delivered on the
// thread that owns this object. Every readable event hands all available bytes to the protocol.
class ConexaoSincronizacao : public QObject
{
    Q_OBJECT
public:
    explicit ConexaoSincronizacao(ProtocoloSincronizacao &protocolo, QObject *parent = nullptr);

    // Starts an exchange: closes an open connection, starts the protocol over and opens the
    // connection (it completes later). False, with nothing started, when the host is empty or
    // the port is 0; the window then shows its connection setup line.
    bool inicia(const SessaoSincronizacao &sessao, const QString &host, quint16 porta);
    // "Cancelar": closes the connection; the protocol returns to idle.
    void cancela();

    QTcpSocket &socket() { return m_socket; }

signals:
    // A socket failure, for the generic error box ("Asynchronous socket error " + codigo).
    void erroSocket(int codigo, const QString &mensagem);

private:
    void recebe();
    void trataErro(QAbstractSocket::SocketError erro);
    void envia(const QByteArray &bytes);
    void fecha();

    ProtocoloSincronizacao &m_protocolo;
    QTcpSocket m_socket;
};
