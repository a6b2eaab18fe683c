#pragma once

#include "D500DAT.h"
#include "PastaDemo.h"
#include "ScriptedAnswerer.h"
#include "U500CAD.h"

#include <QDate>
#include <QDir>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// A window test on a copy of the demonstration data: the data modules open on it with the demo
// user's session loaded from the file (MARCOS, company 1, seller 12, supervisor 3), boxes
// answered from a script. Valid only when `erro` is empty.
class AmbienteDemo
{
public:
    AmbienteDemo()
    {
        if (!PastaDemo::copia(QDate::currentDate(), pasta.path(), &erro))
            return;
        dat = std::make_unique<D500DAT>();
        dat->setMessagePresenter(&respostas);
        dat->cnxFirebird.setDatabaseName(QDir(pasta.path()).filePath(QStringLiteral("ORVALIS.FDB")));
        dat->cnxFirebird.open();
        dat->carregaUsuario();
        cad = std::make_unique<D500CAD>(dat->cnxFirebird);
    }

    ~AmbienteDemo()
    {
        cad.reset();
        dat.reset();
    }

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

    QTemporaryDir pasta;
    QString erro;
    ScriptedAnswerer respostas;
    std::unique_ptr<D500DAT> dat;
    std::unique_ptr<D500CAD> cad;
};
