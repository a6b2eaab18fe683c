#include "BonificacoesSupervisor.h"
#include "CaixaMensagens.h"
#include "ClientDataSetPlus.h"
#include "MovimentacaoFlex.h"
#include "TrocaComServidor.h"

#include <gtest/gtest.h>

namespace {

// The example notebook (MARCOS, user 7, also supervisor 3) writing through the messages and
// supervisor logic, against the reference server in this process.
class MensagensESupervisor : public TrocaComServidor
{
protected:
    void SetUp() override { prepara(true, std::chrono::milliseconds(100)); }
};

} // namespace

// Guards the way up and across: a message written here reaches the central database and
// arrives as received in the file of its recipient's next synchronisation; a bonus decision
// and a flex movement typed here reach the central database.
TEST_F(MensagensESupervisor, MensagemDecisaoEMovimentoChegamAoServidor)
{
    const QDate hoje = QDate::currentDate();
    const QString assunto = QStringLiteral("Visita d'amanhã");
    {
        CaixaMensagens caixa(*dat);
        caixa.abreListas();
        caixa.novaMensagem();
        ASSERT_FALSE(caixa.adicionaUsuario(QStringLiteral("3")));
        ASSERT_FALSE(caixa.envia(assunto, QStringLiteral("Às 9h,\ncom a tabela nova."), hoje));

        BonificacoesSupervisor bonificacoes(dat->cnxFirebird);
        BonificacoesSupervisor::Filtro filtro;
        filtro.porPeriodo = false;
        filtro.situacao = QStringLiteral("%");
        ASSERT_EQ(bonificacoes.pesquisa(QStringLiteral("1"), filtro, hoje), QString());
        ASSERT_EQ(bonificacoes.abrePedido(QStringLiteral("1")), QString());
        ASSERT_EQ(bonificacoes.codPdvAberto(), QStringLiteral("7001"));
        bonificacoes.decide(QStringLiteral("N"), QStringLiteral("1"));

        MovimentacaoFlex flex(*dat);
        flex.abre();
        ASSERT_TRUE(flex.cdsVendedor().locate({QStringLiteral("CODVEN")}, {QStringLiteral("15")}));
        ASSERT_FALSE(flex.inclui(MovimentacaoFlex::Tipo::Movimentacao, QStringLiteral("12"), 42.5, hoje));
    }
    const QString movimento = local(QStringLiteral("SELECT MAX(CODMOV) FROM F512MTF"));

    ASSERT_TRUE(sincroniza()) << linhas.join(u'\n').toStdString();
    ASSERT_TRUE(cliente->sucesso()) << linhas.join(u'\n').toStdString();
    EXPECT_EQ(central(QStringLiteral("SELECT COUNT(*) FROM F599MSG WHERE USUREM = 7 AND USUDES = 3 AND TITMSG = 'Visita d''amanhã'")),
              QStringLiteral("1"));
    EXPECT_EQ(central(QStringLiteral("SELECT AUTBON FROM F030PDV WHERE CODPDV = 7001")), QStringLiteral("N"));
    EXPECT_EQ(central(QStringLiteral("SELECT VENORI || '>' || VENDES || ' ' || SITMOV || ' ' || VLRMOV FROM F512MTF WHERE CODMOV = ")
                      + movimento),
              QStringLiteral("15>12 E 42.50"));

    // The recipient synchronises a notebook of his own for the first time.
    exemplo.central->cadastraUsuario(QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("Roberto"),
                                     QStringLiteral("super123"), QString());
    cliente.reset();
    dat.reset();
    TestDatabase notebookDoDestinatario;
    dat = std::make_unique<D500DAT>();
    dat->setMessagePresenter(&respostas);
    notebookDoDestinatario.open(dat->cnxFirebird);
    dat->carregaUsuario();
    dat->sessao.portaServidor = QString::number(servidor->porta());
    cliente = std::make_unique<ClienteSincronizacao>(*dat, QStringLiteral("1.0.2.6"), notebookDoDestinatario.folder());
    QObject::connect(cliente.get(), &ClienteSincronizacao::linhaStatus, [this](const QString &linha) { linhas << linha; });
    ASSERT_TRUE(sincroniza(QStringLiteral("roberto"), QStringLiteral("super123"))) << linhas.join(u'\n').toStdString();
    ASSERT_TRUE(cliente->sucesso()) << linhas.join(u'\n').toStdString();
    EXPECT_EQ(local(QStringLiteral("SELECT ENVMSG || SITMSG || USUREM FROM F599MSG WHERE TITMSG = 'Visita d''amanhã'")),
              QStringLiteral("RN7"));
    EXPECT_EQ(local(QStringLiteral("SELECT DESMSG FROM F599MSG WHERE TITMSG = 'Visita d''amanhã'")),
              QStringLiteral("Às 9h,\ncom a tabela nova."));
}
