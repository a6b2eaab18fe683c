#include "ComandoRelatorio.h"
#include "ComandoSync.h"
#include "D500DAT.h"
#include "Encerramento.h"
#include "InstanciaUnica.h"
#include "MessageBoxPresenter.h"
#include "ReposicaoBase.h"
#include "U500CAD.h"
#include "U500PRI.h"
#include "U500REL.h"
#include "U599ATL.h"

#include <QApplication>
#include <QDir>

int main(int argc, char **argv)
{
    if (ComandoSync::solicitado(argc, argv))
        return ComandoSync::executa(argc, argv);
    if (ComandoRelatorio::solicitado(argc, argv))
        return ComandoRelatorio::executa(argc, argv);
    F599ATL::registraJanela();

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvex"));

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
    principal.show();
    if (Encerramento::solicitado())
        return 0;
    return app.exec();
}
