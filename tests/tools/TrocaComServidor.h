#pragma once

#include "AguardaSincronizacao.h"
#include "CentralExemplo.h"
#include "ClienteSincronizacao.h"
#include "ConsultaServidor.h"
#include "D500DAT.h"
#include "NotebookExemplo.h"
#include "ScriptedAnswerer.h"
#include "ServidorSincronizacao.h"

#include <QDir>
#include <QHostAddress>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

// A notebook's data module with the program's own sync client against the reference server
// over 127.0.0.1, both in this process, on the example central database.
class TrocaComServidor : public ::testing::Test
{
protected:
    // notebookConfigurado: the example notebook with its user and pending work; otherwise empty.
    void prepara(bool notebookConfigurado, std::chrono::milliseconds pausa)
    {
        DialogoServidor::Configuracao configuracao;
        configuracao.versao = QStringLiteral("1.0.2.6");
        configuracao.pausa = pausa;
        configuracao.prazoResposta = std::chrono::seconds(20);
        configuracao.pastaTrabalho = QDir(exemplo.pasta.path()).filePath(QStringLiteral("trabalho"));
        servidor = std::make_unique<ServidorSincronizacao>(*exemplo.central, configuracao);
        ASSERT_TRUE(servidor->escuta(QHostAddress::LocalHost, 0));

        if (notebookConfigurado)
            NotebookExemplo::preenche(notebook);
        dat = std::make_unique<D500DAT>();
        dat->setMessagePresenter(&respostas);
        notebook.open(dat->cnxFirebird);
        dat->carregaUsuario();
        dat->sessao.portaServidor = QString::number(servidor->porta());
        cliente = std::make_unique<ClienteSincronizacao>(*dat, QStringLiteral("1.0.2.6"), notebook.folder());
        QObject::connect(cliente.get(), &ClienteSincronizacao::linhaStatus,
                         [this](const QString &linha) { linhas << linha; });
    }

    void TearDown() override
    {
        cliente.reset();
        dat.reset();
    }

    // One exchange, ticking the watchdog as the window does; false when it did not end.
    bool sincroniza(const QString &usuario = QString(), const QString &senha = QString())
    {
        linhas.clear();
        if (!cliente->iniciaAtualizacao(QStringLiteral("127.0.0.1"), usuario, senha))
            return false;
        return aguardaSincronizacao(*cliente, 500, 60000);
    }

    QString local(const QString &sql) { return ConsultaServidor::valor(dat->cnxFirebird, sql).toString(); }
    QString central(const QString &sql) { return ConsultaServidor::valor(exemplo.central->conexao(), sql).toString(); }

    CentralExemplo exemplo;
    std::unique_ptr<ServidorSincronizacao> servidor;
    TestDatabase notebook;
    ScriptedAnswerer respostas;
    std::unique_ptr<D500DAT> dat;
    std::unique_ptr<ClienteSincronizacao> cliente;
    QStringList linhas;
};
