#include "CentralExemplo.h"
#include "AguardaSincronizacao.h"
#include "ClienteSincronizacao.h"
#include "ConsultaServidor.h"
#include "D500DAT.h"
#include "LinhasStatus.h"
#include "NotebookExemplo.h"
#include "ScriptedAnswerer.h"
#include "ServidorSincronizacao.h"

#include <QDate>
#include <QDir>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A notebook's data module with the program's sync client against the reference server
// over 127.0.0.1, both in this process.
class ServidorReferencia : public ::testing::Test
{
protected:
    CentralExemplo exemplo;
    std::unique_ptr<ServidorSincronizacao> servidor;
    TestDatabase notebook;
    ScriptedAnswerer respostas;
    std::unique_ptr<D500DAT> dat;
    std::unique_ptr<ClienteSincronizacao> cliente;
    QStringList linhas;

    // notebookConfigurado: the example notebook with its user and pending work; otherwise empty.
    void prepara(bool notebookConfigurado)
    {
        DialogoServidor::Configuracao configuracao;
        configuracao.versao = QStringLiteral("1.0.2.6");
        configuracao.pausa = std::chrono::milliseconds(50);
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

    bool sincroniza(const QString &usuario = QString(), const QString &senha = QString())
    {
        linhas.clear();
        if (!cliente->iniciaAtualizacao(QStringLiteral("127.0.0.1"), usuario, senha))
            return false;
        return aguardaSincronizacao(*cliente, 500, 60000);
    }

    QString local(const QString &sql) { return ConsultaServidor::valor(dat->cnxFirebird, sql).toString(); }
};

} // namespace

// Guards the configuration of a new notebook: an empty file, the typed user and password, and
// the notebook ends configured with the server's data; the next exchange needs nothing typed.
TEST_F(ServidorReferencia, PrimeiraExecucaoConfiguraNotebookVazio)
{
    prepara(false);
    ASSERT_TRUE(dat->sessao.CODUSU.isEmpty());
    ASSERT_TRUE(sincroniza(QStringLiteral("marcos"), NotebookExemplo::senha()));
    ASSERT_TRUE(cliente->sucesso()) << linhas.join(u'\n').toStdString();
    EXPECT_EQ(linhas, (QStringList{LinhasStatus::iniciando, LinhasStatus::validandoUsuario, LinhasStatus::usuarioOk,
                                   LinhasStatus::semInformacoes, LinhasStatus::gerando, LinhasStatus::recebendo,
                                   LinhasStatus::extraindo, LinhasStatus::sucesso}));
    EXPECT_EQ(dat->sessao.CODUSU, QStringLiteral("7"));
    EXPECT_EQ(dat->sessao.CODEMP, QStringLiteral("1"));
    EXPECT_EQ(dat->sessao.CODVEN, QStringLiteral("12"));
    EXPECT_EQ(dat->sessao.HSTSRV, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(local(QStringLiteral("SELECT DATATL FROM F599USU")), QDate::currentDate().toString(Qt::ISODate));
    EXPECT_NE(local(QStringLiteral("SELECT COUNT(*) FROM F510CLI")), QStringLiteral("0"));

    ASSERT_TRUE(sincroniza());
    EXPECT_TRUE(cliente->sucesso()) << linhas.join(u'\n').toStdString();
}

// Guards a refused user: the server's refusal empties every local table, user included, so
// the notebook is unconfigured afterwards.
TEST_F(ServidorReferencia, UsuarioRecusadoEsvaziaNotebook)
{
    prepara(true);
    dat->sessao.SENUSU = D500DAT::embaralhaSenha(QStringLiteral("errada"));
    ASSERT_TRUE(sincroniza());
    EXPECT_FALSE(cliente->sucesso());
    EXPECT_EQ(linhas.last(), LinhasStatus::usuarioInvalido);
    EXPECT_TRUE(dat->sessao.CODUSU.isEmpty());
    EXPECT_EQ(local(QStringLiteral("SELECT COUNT(*) FROM F599USU")), QStringLiteral("0"));
    EXPECT_EQ(local(QStringLiteral("SELECT COUNT(*) FROM F530PDF")), QStringLiteral("0"));
}
