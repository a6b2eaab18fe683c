#include "ServicoServidor.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("korvex-servidor"));
    return ServicoServidor::executa(QCoreApplication::arguments(), QStringLiteral(KORVEX_VERSAO));
}
