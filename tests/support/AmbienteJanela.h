#pragma once

#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "Encerramento.h"
#include "PastaDemo.h"
#include "ScriptedAnswerer.h"
#include "TestDatabase.h"
#include "U500CAD.h"

#include <QDate>
#include <QDir>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>

// What a window test needs: a database whose folder is the working (program) folder, the data
// module answering its boxes from a script, and the program's end recorded instead of done.
// The database is a fresh one, left closed (db->open attaches a connection), or a copy of the
// demonstration data, opened with its user's session and the cadastral data module.
class AmbienteJanela
{
    std::optional<QTemporaryDir> m_demo;

public:
    // A fresh database; script: rows to insert before anything attaches to the file.
    explicit AmbienteJanela(const QString &script = QString())
    {
        db.emplace();
        if (!script.isEmpty())
            db->runScript(script);
        inicia(db->folder());
    }

    // The demonstration data (MARCOS, company 1, seller 12, supervisor 3). Valid only when
    // `erro` is empty.
    struct Demo
    {
    };
    explicit AmbienteJanela(Demo)
    {
        m_demo.emplace();
        if (!PastaDemo::copia(QDate::currentDate(), m_demo->path(), &erro))
            return;
        inicia(m_demo->path());
        dat->cnxFirebird.setDatabaseName(QDir(m_demo->path()).filePath(QStringLiteral("ORVALIS.FDB")));
        dat->cnxFirebird.open();
        dat->carregaUsuario();
        cad = std::make_unique<D500CAD>(dat->cnxFirebird);
    }

    ~AmbienteJanela()
    {
        Encerramento::setGancho({});
        Encerramento::reinicia();
        cad.reset();
        dat.reset();
        if (!pastaAnterior.isEmpty())
            QDir::setCurrent(pastaAnterior);
    }

    QString pasta() const { return db ? db->folder() : m_demo->path(); }

    // The first column of the first row, as text ("<sem linha>" when there is none).
    QString valor(const QString &sql) const
    {
        QSqlQuery q = dat->cnxFirebird.query();
        if (!q.exec(sql) || !q.next())
            return QStringLiteral("<sem linha>");
        return q.value(0).toString();
    }

    QStringList textos() const
    {
        QStringList t;
        for (const auto &m : respostas.shown)
            t << m.text;
        return t;
    }

    // Moves to the first row whose field reads as the text; false when none does.
    static bool localiza(TClientDataSetPlus &ds, const QString &campo, const QString &valor)
    {
        for (ds.first(); !ds.eof(); ds.next())
            if (ds.asString(campo) == valor)
                return true;
        return false;
    }

    std::optional<TestDatabase> db;
    QString erro;
    ScriptedAnswerer respostas;
    std::unique_ptr<D500DAT> dat;
    std::unique_ptr<D500CAD> cad;
    int encerramentos = 0;
    QString pastaAnterior;

private:
    void inicia(const QString &pasta)
    {
        pastaAnterior = QDir::currentPath();
        QDir::setCurrent(pasta);
        dat = std::make_unique<D500DAT>();
        dat->setMessagePresenter(&respostas);
        Encerramento::reinicia();
        Encerramento::setGancho([this] { ++encerramentos; });
    }
};
