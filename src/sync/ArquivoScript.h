#pragma once

#include <QString>
#include <QStringList>

// The outbound script file the server executes: one statement per line, each line ended by
// CR LF, in Windows-1252.
class ArquivoScript
{
public:
    // Writes the whole file or leaves any previous one untouched; `erro` receives the reason.
    static bool grava(const QString &caminho, const QStringList &linhas, QString *erro = nullptr);
};
