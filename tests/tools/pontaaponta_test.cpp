#include "AcoesSincronizacao.h"
#include "ArquivoZip.h"
#include "CentralExemplo.h"
#include "ConexaoSincronizacao.h"
#include "ConsultaServidor.h"
#include "LinhasStatus.h"
#include "ProtocoloSincronizacao.h"
#include "ServidorSincronizacao.h"
#include "SessaoSincronizacao.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QSqlQuery>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The notebook's data module in these exchanges: a fixed script, and a replacement that
// extracts the received file and reads what the seller would see in it.
class NotebookDeTeste : public AcoesSincronizacao
{
public:
    QString pasta;
    QStringList script;
    QString empresa, usuario;
    bool esvaziada = false;
    bool marcados = false;
    // Read from the received file.
    QString usuarioRecebido;
    QString situacaoPedido3;
    qlonglong numeroPedido3 = 0;

    void codigosAlterados(const QString &e, const QString &u) override
    {
        empresa = e;
        usuario = u;
    }
    bool geraPacoteEnvio() override { return !script.isEmpty(); }
    QStringList scriptEnvio() const override { return script; }
    void esvaziaScriptEnvio() override { script.clear(); }
    bool esvaziaBaseLocal() override
    {
        esvaziada = true;
        return true;
    }
    bool marcaEnviados() override
    {
        marcados = true;
        return true;
    }
    ResultadoSubstituicao substituiBase(const QString &arquivoRecebido, const QString &nomePacote) override
    {
        const QString destino = QDir(pasta).filePath(nomePacote + QStringLiteral(".FDB"));
        if (!ArquivoZip::extrai(arquivoRecebido, nomePacote + QStringLiteral(".FDB"), destino).ok())
            return ResultadoSubstituicao::ErroExtraindo;
        try {
            FirebirdConnection base(QStringLiteral("notebook_") + nomePacote + QString::number(reinterpret_cast<quintptr>(this)));
            base.setDatabaseName(destino);
            base.open();
            usuarioRecebido = ConsultaServidor::valor(base, QStringLiteral("SELECT NOMUSU FROM F599USU")).toString();
            QSqlQuery pedido = ConsultaServidor::executa(base, QStringLiteral("SELECT SITPDF, CODINT FROM F530PDF WHERE CODPDF = 3"));
            if (pedido.next()) {
                situacaoPedido3 = pedido.value(0).toString();
                numeroPedido3 = pedido.value(1).toLongLong();
            }
            base.close();
        } catch (const std::exception &) {
            return ResultadoSubstituicao::ErroAbrindo;
        }
        return ResultadoSubstituicao::Sucesso;
    }
};

// One notebook: the client's protocol and socket driver over loopback.
struct Notebook
{
    QTemporaryDir pasta;
    NotebookDeTeste acoes;
    ProtocoloSincronizacao protocolo{acoes};
    ConexaoSincronizacao conexao{protocolo};
    QStringList linhas;

    Notebook()
    {
        acoes.pasta = pasta.path();
        protocolo.definePastaPrograma(pasta.path());
        QObject::connect(&protocolo, &ProtocoloSincronizacao::linhaStatus, [this](const QString &l) { linhas << l; });
    }

    void inicia(quint16 porta, const QString &senha, const QString &versao = QStringLiteral("1.0.2.6"))
    {
        SessaoSincronizacao sessao; // a notebook without user
        sessao.HSTSRV = QStringLiteral("127.0.0.1");
        sessao.usuarioAtualizacao = QStringLiteral("marcos");
        sessao.senhaAtualizacao = senha;
        sessao.versao = versao;
        ASSERT_TRUE(conexao.inicia(sessao, QStringLiteral("127.0.0.1"), porta));
    }
};

class PontaAPonta : public ::testing::Test
{
protected:
    CentralExemplo exemplo;
    std::unique_ptr<ServidorSincronizacao> servidor;

    void SetUp() override
    {
        DialogoServidor::Configuracao configuracao;
        configuracao.versao = QStringLiteral("1.0.2.6");
        configuracao.pausa = std::chrono::milliseconds(100);
        configuracao.prazoResposta = std::chrono::seconds(20);
        configuracao.pastaTrabalho = QDir(exemplo.pasta.path()).filePath(QStringLiteral("trabalho"));
        servidor = std::make_unique<ServidorSincronizacao>(*exemplo.central, configuracao);
        ASSERT_TRUE(servidor->escuta(QHostAddress::LocalHost, 0));
    }

    // Runs the event loop until every notebook ended, for at most a minute.
    static void aguarda(std::initializer_list<Notebook *> notebooks)
    {
        const QDeadlineTimer limite(60000);
        const auto fim = [&] {
            for (Notebook *n : notebooks) {
                if (!n->protocolo.fimAtualizacao())
                    return false;
            }
            return true;
        };
        while (!fim() && !limite.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
};

} // namespace

// Guards against the two sides disagreeing anywhere in a whole exchange: an unconfigured
// notebook learns its codes, its work reaches the central database and the file it receives
// holds its own order under the server number, shown as sent.
TEST_F(PontaAPonta, PrimeiraSincronizacaoComDados)
{
    Notebook notebook;
    notebook.acoes.script = NotebookExemplo::script();
    notebook.inicia(servidor->porta(), NotebookExemplo::senhaEmbaralhada());
    aguarda({&notebook});

    ASSERT_TRUE(notebook.protocolo.fimAtualizacao());
    EXPECT_TRUE(notebook.protocolo.sucesso()) << notebook.linhas.join(u'\n').toStdString();
    EXPECT_EQ(notebook.linhas,
              (QStringList{LinhasStatus::validandoUsuario, LinhasStatus::usuarioOk, LinhasStatus::processando,
                           LinhasStatus::gerando, LinhasStatus::recebendo, LinhasStatus::extraindo, LinhasStatus::sucesso}));
    EXPECT_EQ(notebook.acoes.empresa, QStringLiteral("1"));
    EXPECT_EQ(notebook.acoes.usuario, QStringLiteral("7"));
    EXPECT_TRUE(notebook.acoes.marcados);
    EXPECT_EQ(notebook.acoes.usuarioRecebido, QStringLiteral("Marcos"));
    EXPECT_EQ(notebook.acoes.situacaoPedido3, QStringLiteral("E"));
    EXPECT_GT(notebook.acoes.numeroPedido3, 502);

    const QVariant central = ConsultaServidor::valor(exemplo.central->conexao(),
                                                     QStringLiteral("SELECT CODINT FROM F530PDF WHERE CODPDF = 3"));
    EXPECT_EQ(central.toLongLong(), notebook.acoes.numeroPedido3);
    EXPECT_EQ(ConsultaServidor::valor(exemplo.central->conexao(), QStringLiteral("SELECT HSTSRV FROM F599USU WHERE CODUSU = 7"))
                  .toString(),
              QStringLiteral("127.0.0.1"));
    EXPECT_FALSE(servidor->ocupado());
}

// Guards against a refused user or an old version being served over the wire, against
// notebooks connected at the same time disturbing each other's dialogue, and against a silent
// connection making the others wait.
TEST_F(PontaAPonta, RecusasEFilaDeNotebooks)
{
    // A notebook that connects and stays silent holds nobody up.
    QTcpSocket calado;
    calado.connectToHost(QHostAddress::LocalHost, servidor->porta());
    ASSERT_TRUE(calado.waitForConnected(5000));
    Notebook senhaErrada;
    Notebook versaoAntiga;
    Notebook semDados;
    senhaErrada.inicia(servidor->porta(), QStringLiteral("errada"));
    versaoAntiga.inicia(servidor->porta(), NotebookExemplo::senhaEmbaralhada(), QStringLiteral("1.0.2.5"));
    semDados.inicia(servidor->porta(), NotebookExemplo::senhaEmbaralhada());
    aguarda({&senhaErrada, &versaoAntiga, &semDados});

    ASSERT_TRUE(senhaErrada.protocolo.fimAtualizacao());
    EXPECT_FALSE(senhaErrada.protocolo.sucesso());
    EXPECT_TRUE(senhaErrada.linhas.contains(LinhasStatus::usuarioInvalido));
    EXPECT_TRUE(senhaErrada.acoes.esvaziada);

    ASSERT_TRUE(versaoAntiga.protocolo.fimAtualizacao());
    EXPECT_TRUE(versaoAntiga.linhas.contains(LinhasStatus::versaoIncorreta(QStringLiteral("1.0.2.6"))));

    ASSERT_TRUE(semDados.protocolo.fimAtualizacao());
    EXPECT_TRUE(semDados.protocolo.sucesso()) << semDados.linhas.join(u'\n').toStdString();
    EXPECT_TRUE(semDados.linhas.contains(LinhasStatus::semInformacoes));
    EXPECT_EQ(semDados.acoes.situacaoPedido3, QString());
    EXPECT_EQ(servidor->atendimentos(), 1);
}
