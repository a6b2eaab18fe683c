#include "ArquivoFirebird.h"

#include <QProcess>

void ArquivoFirebird::escritaSincrona(const QString &arquivo, bool ligada)
{
    QProcess gfix;
    gfix.start(QStringLiteral("gfix"), {QStringLiteral("-write"), ligada ? QStringLiteral("sync") : QStringLiteral("async"),
                                        arquivo, QStringLiteral("-user"), QStringLiteral("SYSDBA")});
    gfix.waitForFinished(60000);
}
