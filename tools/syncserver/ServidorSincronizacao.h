#pragma once

#include "DialogoServidor.h"

#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

#include <memory>

class QTcpSocket;
class QTimer;
class ServicosServidor;

// The TCP side of the reference server: listens on one address and port and serves every
// notebook that connects at the same time, each connection with its own DialogoServidor and
// its own deadlines, so a silent notebook delays nobody. Beyond `maximoAtendimentos` open
// exchanges, new connections wait in the queue until one ends.
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
    bool ocupado() const { return !m_atendimentos.isEmpty(); }
    int atendimentos() const { return static_cast<int>(m_atendimentos.size()); }
    void defineMaximoAtendimentos(int maximo) { m_maximo = maximo; }

signals:
    void registro(const QString &linha);
    // A dialogue ended and its connection is closed.
    void atendimentoConcluido();

private:
    struct Atendimento;

    void atendeProximo();
    void encerraDialogo(QTcpSocket *socket);
    void conexaoFechada(QTcpSocket *socket);

    ServicosServidor &m_servicos;
    DialogoServidor::Configuracao m_configuracao;
    QTcpServer m_servidor;
    QHash<QTcpSocket *, Atendimento *> m_atendimentos;
    int m_maximo = 200;
    quint64 m_numero = 0; // names each exchange in the log
};
