#include "ComandoRelatorio.h"
#include "ComandoSync.h"
#include "D500DAT.h"
#include "Encerramento.h"
#include "EncerramentoPorSinal.h"
#include "FonteJanelas.h"
#include "InstanciaUnica.h"
#include "JanelasDoPrograma.h"
#include "MessageBoxPresenter.h"
#include "OrcamentosSincronizacao.h"
#include "PastaPrograma.h"
#include "ReposicaoBase.h"
#include "U500CAD.h"
#include "U500PRI.h"
#include "U500REL.h"

#include <QApplication>
#include <QDir>

int main(int argc, char **argv)
{
    if (!PastaPrograma::ajusta(argc, argv))
        return 2;
    if (ComandoSync::solicitado(argc, argv))
        return ComandoSync::executa(argc, argv);
    if (ComandoRelatorio::solicitado(argc, argv))
        return ComandoRelatorio::executa(argc, argv);
    registraJanelasDoPrograma();

    EncerramentoPorSinal::bloqueiaSinais();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvex"));
    QApplication::setDesktopFileName(QStringLiteral("br.com.korvex.Korvex")); // the menu entry
    FonteJanelas::instala();
    // A logout, shutdown or Ctrl+C ends the program as "Sair" does, without asking: the order
    // being typed stays in its recovery copy, the database and the folder's lock are released.
    EncerramentoPorSinal sinais;
    QObject::connect(&sinais, &EncerramentoPorSinal::solicitado, &app, [] { Encerramento::encerraPrograma(); });

    MessageBoxPresenter presenter;
    D500DAT dat;
    dat.setMessagePresenter(&presenter);
    D500CAD cad(dat.cnxFirebird);
    D500REL rel;

    // The program folder is the working folder: one program at a time may use it.
    InstanciaUnica instancia(QDir::currentPath());
    if (!instancia.trava()) {
        dat.exibeMensagem(InstanciaUnica::mensagemJaAberto(), TipoMensagem::Aviso, CorMensagem::Vermelho);
        return 1;
    }
    // A database swap cut short by a crash left the previous file set aside: put it back.
    ReposicaoBase::recuperaSeInterrompida(QDir::currentPath());

    F500PRI::ganchos().mensagensNovas = [&cad](const QString &codEmp) { return cad.existemMensagensNovas(codEmp); };
    F500PRI::ganchos().limpaClientePedido = [&cad] {
        cad.codCliPedido.clear();
        cad.codNovPedido.clear();
    };

    F500PRI principal;
    if (Encerramento::solicitado())
        return 0;
    OrcamentosSincronizacao(dat.cnxFirebird).restauraPendentes(QDir::currentPath(), dat.sessao.CODEMP);
    principal.show();
    if (Encerramento::solicitado())
        return 0;
    return app.exec();
}
