#include "LinhasStatus.h"
#include "TrocaComServidor.h"

#include <QDate>
#include <QDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A notebook's data module with the program's sync client against the reference server
// over 127.0.0.1, both in this process.
class ServidorReferencia : public TrocaComServidor
{
protected:
    void prepara(bool notebookConfigurado) { TrocaComServidor::prepara(notebookConfigurado, std::chrono::milliseconds(50)); }
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
