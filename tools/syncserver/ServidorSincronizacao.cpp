#include "ServidorSincronizacao.h"

#include "ServicosServidor.h"

#include <QTcpSocket>
#include <QThreadPool>
#include <QTimer>

struct ServidorSincronizacao::Atendimento
{
    QTcpSocket *socket = nullptr;
    std::unique_ptr<DialogoServidor> dialogo;
    QTimer fechamento; // a connection that does not close after the last token is cut
    QString nome;
};

ServidorSincronizacao::ServidorSincronizacao(ServicosServidor &servicos, DialogoServidor::Configuracao configuracao,
                                             QObject *parent)
    : QObject(parent)
    , m_servicos(servicos)
    , m_configuracao(std::move(configuracao))
{
    connect(&m_servidor, &QTcpServer::newConnection, this, &ServidorSincronizacao::atendeProximo);
}

ServidorSincronizacao::~ServidorSincronizacao()
{
    // The central database's work of exchanges still running must not outlive its services.
    QThreadPool::globalInstance()->waitForDone();
    const auto atendimentos = m_atendimentos;
    m_atendimentos.clear();
    for (auto it = atendimentos.cbegin(); it != atendimentos.cend(); ++it) {
        it.key()->disconnect(this);
        it.key()->abort();
        delete it.key();
        delete it.value();
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
    while (m_atendimentos.size() < m_maximo && m_servidor.hasPendingConnections()) {
        QTcpSocket *socket = m_servidor.nextPendingConnection();
        if (!socket)
            return;
        if (socket->state() != QAbstractSocket::ConnectedState && socket->bytesAvailable() == 0) {
            socket->deleteLater(); // gave up while waiting in the queue
            continue;
        }
        auto *atendimento = new Atendimento;
        atendimento->socket = socket;
        atendimento->nome = QStringLiteral("[%1] ").arg(++m_numero);
        atendimento->dialogo = std::make_unique<DialogoServidor>(m_servicos, m_configuracao);
        atendimento->dialogo->defineExecutor(&DialogoServidor::executaEmSegundoPlano);
        m_atendimentos.insert(socket, atendimento);
        DialogoServidor *dialogo = atendimento->dialogo.get();
        const QString nome = atendimento->nome;

        atendimento->fechamento.setSingleShot(true);
        atendimento->fechamento.setInterval(30000);
        connect(&atendimento->fechamento, &QTimer::timeout, socket, &QTcpSocket::abort);
        connect(dialogo, &DialogoServidor::envia, socket, [socket](const QByteArray &bytes) {
            if (socket->state() == QAbstractSocket::ConnectedState)
                socket->write(bytes);
        });
        connect(dialogo, &DialogoServidor::encerra, this, [this, socket] { encerraDialogo(socket); });
        connect(dialogo, &DialogoServidor::registro, this, [this, nome](const QString &linha) { emit registro(nome + linha); });
        connect(socket, &QTcpSocket::readyRead, dialogo, [socket, dialogo] { dialogo->recebe(socket->readAll()); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { conexaoFechada(socket); });
        connect(socket, &QTcpSocket::errorOccurred, this, [this, socket, nome](QAbstractSocket::SocketError erro) {
            if (erro != QAbstractSocket::RemoteHostClosedError)
                emit registro(nome + QStringLiteral("Erro na conexão: ") + socket->errorString());
            if (socket->state() == QAbstractSocket::UnconnectedState)
                conexaoFechada(socket);
        });
        emit registro(nome + QStringLiteral("Conexão de %1.").arg(socket->peerAddress().toString()));
        dialogo->inicia();
        // Bytes that came while the connection waited in the queue.
        if (m_atendimentos.contains(socket) && socket->bytesAvailable() > 0)
            dialogo->recebe(socket->readAll());
        // A notebook that gave up while queued: its close came before anyone listened.
        if (m_atendimentos.contains(socket) && socket->state() == QAbstractSocket::UnconnectedState)
            conexaoFechada(socket);
    }
}

void ServidorSincronizacao::encerraDialogo(QTcpSocket *socket)
{
    Atendimento *atendimento = m_atendimentos.value(socket);
    if (!atendimento)
        return;
    // Writes what is still buffered, then closes.
    socket->disconnectFromHost();
    if (m_atendimentos.contains(socket) && socket->state() != QAbstractSocket::UnconnectedState)
        atendimento->fechamento.start();
}

void ServidorSincronizacao::conexaoFechada(QTcpSocket *socket)
{
    Atendimento *atendimento = m_atendimentos.take(socket);
    if (!atendimento)
        return;
    atendimento->fechamento.stop();
    socket->disconnect(this);
    socket->deleteLater();
    atendimento->dialogo->disconnect(this);
    atendimento->dialogo->desconectado();
    // Destroyed later: this may run inside one of the dialogue's own signals.
    atendimento->dialogo.release()->deleteLater();
    emit registro(atendimento->nome + QStringLiteral("Conexão encerrada."));
    delete atendimento;
    emit atendimentoConcluido();
    QTimer::singleShot(0, this, &ServidorSincronizacao::atendeProximo);
}
