#include "AmbienteJanela.h"
#include "CaixaMensagens.h"
#include "ClientDataSetPlus.h"
#include "GradeDados.h"
#include "ModuleFrame.h"
#include "ProximoPacote.h"
#include "RegistroJanelasMensagens.h"
#include "U599MSG.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QtTest>

// What a seller does in "Mensagens" on the demo data (user 7, MARCOS), and what the next
// outbound package then carries.
class TstMensagens : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<AmbienteJanela> amb;

    QStringList pacote() const { return proximoPacote(*amb->dat, amb->pasta()); }
    static constexpr auto localiza = &AmbienteJanela::localiza;

    static QStringList destinatarios(const F599MSG &janela)
    {
        QStringList nomes;
        TClientDataSetPlus &ds = janela.caixa().cdsDestinatario();
        for (ds.first(); !ds.eof(); ds.next())
            nomes << ds.asString(QStringLiteral("CODUSU"));
        return nomes;
    }

private slots:
    void init()
    {
        amb = std::make_unique<AmbienteJanela>(AmbienteJanela::Demo());
        QVERIFY2(amb->erro.isEmpty(), qPrintable(amb->erro));
    }
    void cleanup() { amb.reset(); }

    // Guards writing (and the window known to the main window's "Mensagens"): refusals before
    // anything is written (a character no column holds among them), each recipient once however added,
    // a subject with a quote, accents and a text with a line break stored intact, the unsent
    // message blue in the sent list and carried up once per recipient.
    void novaMensagemParaDoisUsuariosSobeNoPacote()
    {
        Mensagens::registraJanelas();
        QVERIFY(ModuleFrame::isModuleWindowRegistered(QStringLiteral("F599MSG"))); // the main window's button opens it
        F599MSG janela;
        janela.btNovaMensagem->click();
        QCOMPARE(janela.pcMensagens->currentWidget(), janela.tbsMensagem);
        QCOMPARE(janela.edDe->text(), QStringLiteral("MARCOS"));
        const QString cod = janela.caixa().codMensagem();

        janela.btAdicionar->click(); // nothing chosen
        janela.btEnviar->click();    // no recipient
        janela.escolheUsuario(QStringLiteral("3"));
        janela.btAdicionar->click();
        janela.btAdicionarTodos->click(); // the one already there stays once
        const int usuarios = janela.caixa().cdsUsuarios().recordCount();
        QCOMPARE(destinatarios(janela).size(), usuarios);
        QCOMPARE(destinatarios(janela).removeDuplicates(), 0);
        janela.btLimparTodos->click();
        QCOMPARE(destinatarios(janela).size(), 0);
        for (const char *usuario : {"3", "9", "3"}) {
            janela.escolheUsuario(QLatin1String(usuario));
            janela.btAdicionar->click();
        }
        QCOMPARE(destinatarios(janela).size(), 2);
        janela.btEnviar->click(); // no subject
        janela.edAssunto->setText(QStringLiteral(u"Oi €ÿ😀"));
        janela.btEnviar->click(); // a character the database cannot hold
        QCOMPARE(amb->textos(), (QStringList{QStringLiteral("Selecione o USUÁRIO que receberá a mensagem!"),
                                             QStringLiteral("Necessário pelo menos um USUÁRIO que receberá a mensagem!"),
                                             QStringLiteral("Digite o ASSUNTO da mensagem!"),
                                             QStringLiteral(u"O caractere \"😀\" não pode ser usado no ASSUNTO nem na MENSAGEM!")}));
        QCOMPARE(amb->valor(QStringLiteral("SELECT COUNT(*) FROM F599MSG WHERE CODMSG = ") + cod), QStringLiteral("0"));

        const QString assunto = QStringLiteral("Reunião d'água às 8h");
        const QString texto = QStringLiteral("Linha um;\nlinha dois com 'aspas' e ç");
        janela.edAssunto->setText(assunto);
        janela.edMensagem->setPlainText(texto);
        janela.btEnviar->click();
        QCOMPARE(janela.pcMensagens->currentWidget(), janela.tbsLista);
        QCOMPARE(amb->valor(QStringLiteral("SELECT TITMSG FROM F599MSG WHERE CODMSG = ") + cod), assunto);
        QCOMPARE(amb->valor(QStringLiteral("SELECT DESMSG FROM F599MSG WHERE CODMSG = ") + cod), texto);

        TClientDataSetPlus &enviadas = janela.caixa().cdsMSGEnviadas();
        QVERIFY(localiza(enviadas, QStringLiteral("CODMSG"), cod));
        const int linha = enviadas.recNo();
        QCOMPARE(janela.dbgEnviadas->model()->index(linha, enviadas.columnOfField(QStringLiteral("TITMSG"))).data(Qt::ForegroundRole),
                 QVariant(QColor(0, 0, 255)));
        QVERIFY(localiza(enviadas, QStringLiteral("ENVMSG"), QStringLiteral("E")));
        QVERIFY(!janela.dbgEnviadas->model()->index(enviadas.recNo(), 0).data(Qt::ForegroundRole).isValid());

        const QStringList linhas = pacote().filter(QStringLiteral("Reuni"));
        QCOMPARE(linhas.size(), 2);
        QVERIFY(linhas.at(0).contains(QStringLiteral("d''água")));
    }

    // Guards giving up: "Voltar" on a new message leaves neither recipients nor message;
    // closing the window instead keeps the recipients for the next new message, same number.
    void mensagemAbandonada()
    {
        QString cod;
        {
            F599MSG janela;
            janela.btNovaMensagem->click();
            cod = janela.caixa().codMensagem();
            janela.escolheUsuario(QStringLiteral("9"));
            janela.btAdicionar->click();
            janela.btVoltar->click();
            QCOMPARE(amb->valor(QStringLiteral("SELECT COUNT(*) FROM F599MDT WHERE CODMSG = ") + cod), QStringLiteral("0"));
            QCOMPARE(amb->valor(QStringLiteral("SELECT COUNT(*) FROM F599MSG WHERE CODMSG = ") + cod), QStringLiteral("0"));

            janela.btNovaMensagem->click();
            QCOMPARE(janela.caixa().codMensagem(), cod);
            janela.escolheUsuario(QStringLiteral("10"));
            janela.btAdicionar->click();
        } // closed on the message page
        F599MSG janela;
        janela.btNovaMensagem->click();
        QCOMPARE(janela.caixa().codMensagem(), cod);
        QCOMPARE(destinatarios(janela), QStringList{QStringLiteral("10")});
    }

    // Guards reading: the unread message bold until read and left with "Voltar", then regular,
    // marked once, reported in the next package; the main window's reminder ends when all are read.
    void leituraDeMensagensRecebidas()
    {
        F599MSG janela;
        TClientDataSetPlus &recebidas = janela.caixa().cdsMSGRecebidas();
        QVERIFY(amb->cad->existemMensagensNovas(QStringLiteral("1")));
        janela.tbsListaShow();
        const auto negrito = [&](int linha) {
            return janela.dbgRecebidas->model()->index(linha, 0).data(Qt::FontRole).value<QFont>().bold();
        };
        QStringList lidas;
        for (int vez = 0; vez < 3; ++vez) {
            QVERIFY(localiza(recebidas, QStringLiteral("SITMSG"), QStringLiteral("N")));
            const int linha = recebidas.recNo();
            QVERIFY(negrito(linha));
            lidas << recebidas.asString(QStringLiteral("CODMSG"));
            janela.dbgRecebidasDblClick();
            QVERIFY(janela.edAssunto->isReadOnly());
            QVERIFY(!janela.btEnviar->isEnabled());
            QCOMPARE(janela.usuarioEscolhido(), QStringLiteral("7"));
            janela.btVoltar->click();
            QVERIFY(!negrito(linha));
        }
        QVERIFY(!amb->cad->existemMensagensNovas(QStringLiteral("1")));
        for (const QString &cod : std::as_const(lidas))
            QCOMPARE(amb->valor(QStringLiteral("SELECT SITMSG FROM F599MSG WHERE CODMSG = ") + cod), QStringLiteral("A"));

        // A message already read here stays "A"; no recipient row is touched by reading.
        const QString destinatariosAntes = amb->valor(QStringLiteral("SELECT COUNT(*) FROM F599MDT"));
        QVERIFY(localiza(recebidas, QStringLiteral("CODMSG"), lidas.first()));
        janela.dbgRecebidasDblClick();
        janela.btVoltar->click();
        QCOMPARE(amb->valor(QStringLiteral("SELECT SITMSG FROM F599MSG WHERE CODMSG = ") + lidas.first()), QStringLiteral("A"));
        QCOMPARE(amb->valor(QStringLiteral("SELECT COUNT(*) FROM F599MDT")), destinatariosAntes);

        const QStringList marcas = pacote().filter(QStringLiteral("SET SITMSG = 'L'"));
        QCOMPARE(marcas.size(), 1);
        QVERIFY(marcas.at(0).contains(QStringLiteral("88001")));
    }

    // Guards the sent list: a sent message cannot be deleted (silently); an unsent one edited
    // keeps its number and gets today's date; deleting asks first and removes its recipients.
    void editarEExcluirEnviadas()
    {
        amb->dat->cnxFirebird.execute(QStringLiteral("UPDATE F599MSG SET DATMSG = '01.03.2024' WHERE ENVMSG = 'N'"));
        F599MSG janela;
        TClientDataSetPlus &enviadas = janela.caixa().cdsMSGEnviadas();
        QVERIFY(localiza(enviadas, QStringLiteral("ENVMSG"), QStringLiteral("E")));
        const QString enviada = enviadas.asString(QStringLiteral("CODMSG"));
        janela.btExcluir->click();
        QVERIFY(amb->respostas.shown.isEmpty());
        QCOMPARE(amb->valor(QStringLiteral("SELECT COUNT(*) FROM F599MSG WHERE CODMSG = ") + enviada), QStringLiteral("1"));
        janela.dbgEnviadasDblClick();
        QVERIFY(!janela.btEnviar->isEnabled());
        janela.btVoltar->click();

        QVERIFY(localiza(enviadas, QStringLiteral("ENVMSG"), QStringLiteral("N")));
        const QString pendente = enviadas.asString(QStringLiteral("CODMSG"));
        janela.dbgEnviadasDblClick();
        QVERIFY(janela.btEnviar->isEnabled());
        janela.edAssunto->setText(QStringLiteral("ASSUNTO REVISTO"));
        janela.btEnviar->click();
        QCOMPARE(amb->valor(QStringLiteral("SELECT COUNT(*) FROM F599MSG WHERE CODMSG = ") + pendente), QStringLiteral("1"));
        QCOMPARE(amb->valor(QStringLiteral("SELECT TITMSG FROM F599MSG WHERE CODMSG = ") + pendente),
                 QStringLiteral("ASSUNTO REVISTO"));
        QCOMPARE(amb->valor(QStringLiteral("SELECT DATMSG FROM F599MSG WHERE CODMSG = ") + pendente),
                 QDate::currentDate().toString(Qt::ISODate));

        QVERIFY(localiza(enviadas, QStringLiteral("CODMSG"), pendente));
        janela.btExcluir->click(); // answered "Não"
        QCOMPARE(amb->respostas.lastText(), QStringLiteral("Deseja realmente EXCLUIR a mensagem : ASSUNTO REVISTO ?"));
        QCOMPARE(amb->valor(QStringLiteral("SELECT COUNT(*) FROM F599MSG WHERE CODMSG = ") + pendente), QStringLiteral("1"));
        amb->respostas.answers << RespostaMensagem::Sim;
        janela.btExcluir->click();
        QCOMPARE(amb->valor(QStringLiteral("SELECT COUNT(*) FROM F599MSG WHERE CODMSG = ") + pendente), QStringLiteral("0"));
        QCOMPARE(amb->valor(QStringLiteral("SELECT COUNT(*) FROM F599MDT WHERE CODMSG = ") + pendente), QStringLiteral("0"));
        QVERIFY(!localiza(enviadas, QStringLiteral("CODMSG"), pendente));
    }
};

QTEST_MAIN(TstMensagens)
#include "tst_mensagens.moc"
