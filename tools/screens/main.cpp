#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "FonteJanelas.h"
#include "JanelasDoPrograma.h"
#include "U500ATS.h"
#include "U500CAD.h"
#include "U500LOG.h"
#include "U500PRI.h"
#include "U599PSQ.h"
#include "ModuleFrame.h"
#include "PaginaPesquisa.h"
#include "U510CLI.h"
#include "U511PRO.h"
#include "U530PDV.h"
#include "U512SUP.h"
#include "U599MSG.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabWidget>

#include "U500REL.h"
#include "U599REL.h"
#include "U599VEL.h"
#include <QTreeWidget>

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSqlQuery>
#include <QElapsedTimer>
#include <QTextStream>

namespace {
// Answers every box without showing it: the pictures are of the windows themselves.
class RespostaSilenciosa : public MessagePresenter
{
public:
    RespostaMensagem present(const QString &, TipoMensagem, CorMensagem, BotoesMensagem buttons) override
    {
        return buttons == BotoesMensagem::Ok ? RespostaMensagem::Ok : RespostaMensagem::Nao;
    }
};

void espera(int ms)
{
    QElapsedTimer relogio;
    relogio.start();
    while (relogio.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
}

bool grava(QWidget &janela, const QDir &destino, const QString &nome)
{
    espera(300);
    const QString arquivo = destino.filePath(nome + QStringLiteral(".png"));
    const bool ok = janela.grab().save(arquivo);
    QTextStream(stdout) << (ok ? "Gravada " : "Falha ao gravar ") << arquivo << "\n";
    return ok;
}

bool salva(QWidget &janela, const QDir &destino, const QString &nome)
{
    janela.show();
    janela.raise();
    janela.activateWindow();
    QElapsedTimer espera;
    espera.start();
    while (espera.elapsed() < 300)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    const QString arquivo = destino.filePath(nome + QStringLiteral(".png"));
    const bool ok = janela.grab().save(arquivo);
    QTextStream(stdout) << (ok ? "Gravada " : "Falha ao gravar ") << arquivo << "\n";
    janela.hide();
    return ok;
}

// A few letters of a customer's name, so the search window shows rows.
QString trechoDeCliente(D500DAT &dat)
{
    QSqlQuery q = dat.cnxFirebird.query();
    if (q.exec(QStringLiteral("SELECT FIRST 1 RAZCLI FROM F510CLI WHERE CODCLI > 0 AND CODEMP = ") + dat.sessao.CODEMP)
        && q.next())
        return q.value(0).toString().trimmed().left(3);
    return QStringLiteral("LTD");
}
} // namespace

// korvex-screens --out DIR: run in a demo data folder; saves main, login, password change and
// search windows as PNG files for the documentation.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvex"));
    FonteJanelas::instala();
    QCommandLineParser parser;
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Pasta das imagens."), QStringLiteral("DIR"));
    parser.addOption(out);
    parser.addHelpOption();
    parser.process(app);
    if (!parser.isSet(out)) {
        QTextStream(stderr) << "Informe a pasta das imagens com --out DIR.\n";
        return 2;
    }
    QDir destino(parser.value(out));
    destino.mkpath(QStringLiteral("."));

    RespostaSilenciosa respostas;
    D500DAT dat;
    dat.setMessagePresenter(&respostas);
    D500CAD cad(dat.cnxFirebird);

    F500PRI::ganchos().login = [](QWidget *) { return true; };
    F500PRI::ganchos().trocaSenha = [](QWidget *) {};
    F500PRI::ganchos().mensagensNovas = [&cad](const QString &codEmp) { return cad.existemMensagensNovas(codEmp); };

    bool ok = true;
    registraJanelasDoPrograma();
    F500PRI principal;
    ok &= salva(principal, destino, QStringLiteral("main"));

    // The module windows open inside the main window, as a seller sees them.
    principal.resize(1000, 700);
    principal.show();
    auto modulo = [&](const QString &classe, const QString &nome, const std::function<void(F599CAD *)> &prepara = {}) {
        F599CAD *janela = principal.frame()->abreJanela(classe);
        if (!janela) {
            QTextStream(stdout) << "Janela " << classe << " não abriu\n";
            ok = false;
            return;
        }
        if (prepara)
            prepara(janela);
        ok &= grava(principal, destino, nome);
        janela->close();
        espera(200);
    };
    modulo(QStringLiteral("F510CLI"), QStringLiteral("clientes"));
    modulo(QStringLiteral("F510CLI"), QStringLiteral("cliente"), [](F599CAD *janela) {
        static_cast<F510CLI *>(janela)->dbgPesquisaDblClick();
    });
    modulo(QStringLiteral("F510ROT"), QStringLiteral("roteiro"));
    modulo(QStringLiteral("F511PRO"), QStringLiteral("produtos"), [](F599CAD *janela) {
        static_cast<F511PRO *>(janela)->btPesquisarClick();
    });
    modulo(QStringLiteral("F550TRC"), QStringLiteral("financeiro"));
    modulo(QStringLiteral("F530PDV"), QStringLiteral("pedidos"));
    modulo(QStringLiteral("F530PDV"), QStringLiteral("pedido"), [](F599CAD *janela) {
        static_cast<F530PDV *>(janela)->tbsPesquisa->dbgPesquisaDblClick();
    });
    modulo(QStringLiteral("F530PDV"), QStringLiteral("pedido-itens"), [](F599CAD *janela) {
        auto *pdv = static_cast<F530PDV *>(janela);
        pdv->tbsPesquisa->dbgPesquisaDblClick();
        pdv->pgPedido->setCurrentIndex(1);
    });
    modulo(QStringLiteral("F599ATL"), QStringLiteral("conexao"));
    modulo(QStringLiteral("F599MSG"), QStringLiteral("mensagens"));
    modulo(QStringLiteral("F599MSG"), QStringLiteral("mensagem"), [](F599CAD *janela) {
        auto *msg = static_cast<F599MSG *>(janela);
        msg->btNovaMensagemClick();
        msg->edAssunto->setText(QStringLiteral("Visita ao cliente amanhã"));
        msg->edMensagem->setPlainText(QStringLiteral("Confirmo a visita das 9h com a tabela nova."));
        for (const char *usuario : {"3", "9"}) {
            msg->escolheUsuario(QLatin1String(usuario));
            msg->btAdicionarClick();
        }
    });
    modulo(QStringLiteral("F512SUP"), QStringLiteral("supervisor"));
    modulo(QStringLiteral("F512SUP"), QStringLiteral("bonificacoes"), [](F599CAD *janela) {
        auto *sup = static_cast<F512SUP *>(janela);
        sup->cbData->setChecked(false);
        sup->btBonificacoesClick();
    });
    modulo(QStringLiteral("F512SUP"), QStringLiteral("bonificacao"), [](F599CAD *janela) {
        auto *sup = static_cast<F512SUP *>(janela);
        sup->cbData->setChecked(false);
        sup->btBonificacoesClick();
        sup->dbgPesquisaDblClick();
    });
    modulo(QStringLiteral("F512SUP"), QStringLiteral("flex"), [](F599CAD *janela) {
        static_cast<F512SUP *>(janela)->btMovimentacaoClick();
    });
    modulo(QStringLiteral("F512SUP"), QStringLiteral("liberacao"), [](F599CAD *janela) {
        auto *sup = static_cast<F512SUP *>(janela);
        sup->btSenhaClick();
        sup->edNumPedido->setText(QStringLiteral("4521"));
        sup->btGerarSenhaClick();
    });
    D500REL rel;
    modulo(QStringLiteral("F599REL"), QStringLiteral("relatorios"));
    modulo(QStringLiteral("F599REL"), QStringLiteral("relatorio"), [](F599CAD *janela) {
        auto *relatorios = static_cast<F599REL *>(janela);
        relatorios->treeRelatorios->setCurrentItem(relatorios->treeRelatorios->topLevelItem(0)->child(1));
        relatorios->treeRelatoriosDblClick();
        relatorios->edDATINI->setText(QDate::currentDate().addDays(-60).toString(QStringLiteral("dd/MM/yyyy")));
        relatorios->btPendenciaClick();
    });
    modulo(QStringLiteral("F599VEL"), QStringLiteral("metas"), [](F599CAD *janela) {
        espera(100);
        static_cast<F599VEL *>(janela)->concluiAnimacao();
    });
    principal.hide();

    F500LOG login;
    login.findChild<QLineEdit *>(QStringLiteral("edsenha"))->setText(QStringLiteral("venda123"));
    ok &= salva(login, destino, QStringLiteral("login"));

    F500ATS troca;
    troca.findChild<QLineEdit *>(QStringLiteral("EDSENHA"))->setText(QStringLiteral("nova2024"));
    troca.findChild<QLineEdit *>(QStringLiteral("edCONFsenha"))->setText(QStringLiteral("nova2024"));
    ok &= salva(troca, destino, QStringLiteral("password"));

    F599PSQ pesquisa(QStringLiteral("F510CLI"),
                     {QStringLiteral("CODCLI AS CODIGO"), QStringLiteral("RAZCLI AS \"RAZÃO SOCIAL\""),
                      QStringLiteral("FANCLI AS FANTASIA")},
                     QStringLiteral(" AND CODCLI > 0 AND SITCLI IN ('A','I') AND CODEMP = ") + dat.sessao.CODEMP);
    pesquisa.show();
    QApplication::processEvents();
    pesquisa.findChild<QLineEdit *>(QStringLiteral("edtDescricao"))->setText(trechoDeCliente(dat));
    ok &= salva(pesquisa, destino, QStringLiteral("search"));
    return ok ? 0 : 1;
}
