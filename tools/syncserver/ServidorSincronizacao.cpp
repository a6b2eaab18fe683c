#include "ServidorSincronizacao.h"

#include "ServicosServidor.h"

ServidorSincronizacao::ServidorSincronizacao(ServicosServidor &servicos, DialogoServidor::Configuracao configuracao,
                                             QObject *parent)
    : QObject(parent)
    , m_servicos(servicos)
    , m_configuracao(std::move(configuracao))
{
    connect(&m_servidor, &QTcpServer::newConnection, this, &ServidorSincronizacao::atendeProximo);
    m_fechamento.setSingleShot(true);
    m_fechamento.setInterval(30000);
    connect(&m_fechamento, &QTimer::timeout, this, [this] {
        if (m_socket)
            m_socket->abort();
    });
}

ServidorSincronizacao::~ServidorSincronizacao()
{
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        delete m_socket;
    }
}

bool ServidorSincronizacao::escuta(const QHostAddress &endereco, quint16 porta, QString *erro)
{
    if (m_servidor.listen(endereco, porta))
        return true;
    if (erro)
        *erro = m_servidor.errorString();
    return false;
}

void ServidorSincronizacao::atendeProximo()
{
    while (!m_socket && m_servidor.hasPendingConnections()) {
        QTcpSocket *socket = m_servidor.nextPendingConnection();
        if (!socket)
            return;
        if (socket->state() != QAbstractSocket::ConnectedState && socket->bytesAvailable() == 0) {
            socket->deleteLater(); // gave up while waiting in the queue
            continue;
        }
        m_socket = socket;
        m_dialogo = std::make_unique<DialogoServidor>(m_servicos, m_configuracao);
        connect(m_dialogo.get(), &DialogoServidor::envia, this, &ServidorSincronizacao::envia);
        connect(m_dialogo.get(), &DialogoServidor::encerra, this, &ServidorSincronizacao::encerraDialogo);
        connect(m_dialogo.get(), &DialogoServidor::registro, this, &ServidorSincronizacao::registro);
        connect(socket, &QTcpSocket::readyRead, this, &ServidorSincronizacao::recebe);
        connect(socket, &QTcpSocket::disconnected, this, &ServidorSincronizacao::conexaoFechada);
        connect(socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError erro) {
            if (erro != QAbstractSocket::RemoteHostClosedError && m_socket)
                emit registro(QStringLiteral("Erro na conexão: ") + m_socket->errorString());
            if (m_socket && m_socket->state() == QAbstractSocket::UnconnectedState)
                conexaoFechada();
        });
        emit registro(QStringLiteral("Conexão de %1.").arg(socket->peerAddress().toString()));
        m_dialogo->inicia();
        // Bytes that came while the connection waited in the queue.
        if (socket->bytesAvailable() > 0)
            recebe();
        // A notebook that gave up while queued: its close came before anyone listened.
        if (m_socket == socket && socket->state() == QAbstractSocket::UnconnectedState)
            conexaoFechada();
    }
}

void ServidorSincronizacao::recebe()
{
    if (m_socket && m_dialogo)
        m_dialogo->recebe(m_socket->readAll());
}

void ServidorSincronizacao::envia(const QByteArray &bytes)
{
    if (m_socket && m_socket->state() == QAbstractSocket::ConnectedState)
        m_socket->write(bytes);
}

void ServidorSincronizacao::encerraDialogo()
{
    if (!m_socket)
        return;
    // Writes what is still buffered, then closes.
    m_socket->disconnectFromHost();
    if (m_socket && m_socket->state() != QAbstractSocket::UnconnectedState)
        m_fechamento.start();
}

void ServidorSincronizacao::conexaoFechada()
{
    if (!m_socket)
        return;
    m_fechamento.stop();
    QTcpSocket *socket = m_socket;
    m_socket = nullptr;
    socket->disconnect(this);
    socket->deleteLater();
    if (m_dialogo) {
        m_dialogo->disconnect(this);
        m_dialogo->desconectado();
        // Destroyed later: this may run inside one of its own signals.
        m_dialogo.release()->deleteLater();
    }
    emit registro(QStringLiteral("Conexão encerrada."));
    emit atendimentoConcluido();
    QTimer::singleShot(0, this, &ServidorSincronizacao::atendeProximo);
}
