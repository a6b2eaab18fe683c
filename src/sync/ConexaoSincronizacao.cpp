#include "ConexaoSincronizacao.h"

#include "ProtocoloSincronizacao.h"
#include "SessaoSincronizacao.h"

ConexaoSincronizacao::ConexaoSincronizacao(ProtocoloSincronizacao &protocolo, QObject *parent)
    : QObject(parent)
    , m_protocolo(protocolo)
    , m_socket(this)
{
    connect(&m_socket, &QTcpSocket::connected, &m_protocolo, &ProtocoloSincronizacao::conectado);
    connect(&m_socket, &QTcpSocket::readyRead, this, &ConexaoSincronizacao::recebe);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, &ConexaoSincronizacao::trataErro);
    connect(&m_protocolo, &ProtocoloSincronizacao::envia, this, &ConexaoSincronizacao::envia);
    connect(&m_protocolo, &ProtocoloSincronizacao::fechaConexao, this, &ConexaoSincronizacao::fecha);
}

bool ConexaoSincronizacao::inicia(const SessaoSincronizacao &sessao, const QString &host, quint16 porta)
{
    if (host.trimmed().isEmpty() || porta == 0)
        return false;
    m_protocolo.inicia(sessao);
    m_socket.abort();
    m_socket.connectToHost(host.trimmed(), porta);
    return true;
}

void ConexaoSincronizacao::cancela()
{
    m_protocolo.cancela();
    m_socket.abort();
}

void ConexaoSincronizacao::recebe()
{
    m_protocolo.receber(m_socket.readAll());
}

void ConexaoSincronizacao::trataErro(QAbstractSocket::SocketError erro)
{
    const QString mensagem = m_socket.errorString();
    const bool emAndamento = m_protocolo.emAndamento();
    m_protocolo.erroConexao();
    // A server closing after the exchange ended is no failure.
    if (emAndamento)
        emit erroSocket(static_cast<int>(erro), mensagem);
}

void ConexaoSincronizacao::envia(const QByteArray &bytes)
{
    if (m_socket.state() == QAbstractSocket::ConnectedState)
        m_socket.write(bytes);
}

void ConexaoSincronizacao::fecha()
{
    m_socket.abort();
}
