#pragma once

#include <QString>
#include <QStringList>

// The program folder: SisCon.ini, ORVALIS.FDB and every file the program writes live there,
// and the program works with it as its working folder. A working folder that already holds
// SisCon.ini (a demonstration or test folder) is used as it is; otherwise the folder is the one
// given with --pasta or, for an installed program, the user's data folder. That folder is
// completed on first start with the empty database shipped with the program and a SisCon.ini
// whose port and company text come from the company's configuration, so the first
// synchronisation can configure the notebook.
class PastaPrograma
{
public:
    // Where the choice looks; the program uses locaisDoSistema(), tests their own folders.
    struct Locais
    {
        QString pastaAtual;          // the working folder at start
        QString pastaDados;          // $XDG_DATA_HOME/Korvex
        QString modeloBase;          // the empty database installed beside the program
        QString configuracaoEmpresa; // /etc/korvex/SisCon.ini, shipped by the company
    };

    struct Escolha
    {
        QString pasta;
        bool completar = false; // a folder of an installed program: completed when incomplete
        QString erro;           // bad arguments; nothing chosen
    };

    static QString opcao() { return QStringLiteral("--pasta"); }
    static QString portaPadrao() { return QStringLiteral("5111"); }

    // `programa` is the path of the running executable.
    static Locais locaisDoSistema(const QString &programa);

    // Takes "--pasta DIR" or "--pasta=DIR" out of the arguments (the first one is the program)
    // and picks the folder.
    static Escolha escolhe(QStringList &argumentos, const Locais &locais);

    // Creates what is missing of the folder, its database and its SisCon.ini. An existing file
    // is never touched; nor is a missing database replaced while ORVALIS.OLD waits beside it to
    // be put back. Returns the reason when something could not be created.
    static QString completa(const QString &pasta, const Locais &locais);

    // The program's start: chooses and completes the folder, makes it the working folder and
    // leaves in argv only the arguments the commands know. False after telling why on stderr.
    // Call before anything uses the database engine.
    static bool ajusta(int &argc, char **argv);
};
