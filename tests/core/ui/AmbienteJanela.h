#pragma once

#include "D500DAT.h"
#include "Encerramento.h"
#include "ScriptedAnswerer.h"
#include "TestDatabase.h"

#include <QDir>
#include <QStringList>

#include <memory>

// What a window test needs: a fresh database folder as the working (program) folder, the data
// module answering its boxes from a script, and the program's end recorded instead of done.
class AmbienteJanela
{
public:
    // script: rows to insert before anything attaches to the file.
    explicit AmbienteJanela(const QString &script = QString())
    {
        if (!script.isEmpty())
            db.runScript(script);
        pastaAnterior = QDir::currentPath();
        QDir::setCurrent(db.folder());
        dat = std::make_unique<D500DAT>();
        dat->setMessagePresenter(&respostas);
        Encerramento::reinicia();
        Encerramento::setGancho([this] { ++encerramentos; });
    }

    ~AmbienteJanela()
    {
        Encerramento::setGancho({});
        Encerramento::reinicia();
        dat.reset();
        QDir::setCurrent(pastaAnterior);
    }

    QStringList textos() const
    {
        QStringList t;
        for (const auto &m : respostas.shown)
            t << m.text;
        return t;
    }

    TestDatabase db;
    ScriptedAnswerer respostas;
    std::unique_ptr<D500DAT> dat;
    int encerramentos = 0;
    QString pastaAnterior;
};
