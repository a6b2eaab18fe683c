#pragma once

#include "BaseCentral.h"
#include "DatabaseFactory.h"
#include "NotebookExemplo.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

// A central database created from the example notebook, in a folder of its own.
struct CentralExemplo
{
    TestDatabase notebook;
    QTemporaryDir pasta;
    std::unique_ptr<BaseCentral> central;

    CentralExemplo()
    {
        NotebookExemplo::preenche(notebook);
        BaseCentral::criaDe(pasta.path(), notebook.path());
        // The template the tests already built from the contract serves as the server's.
        QFile::copy(TestDatabase::templatePath(), QDir(pasta.path()).filePath(BaseCentral::nomeModelo()));
        central = std::make_unique<BaseCentral>(pasta.path(), DatabaseFactory::defaultSchemaFile());
    }
};
