#pragma once

#include <QTextStream>

#include <functional>

#include "ScriptedAnswerer.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

class D500CAD;
class D500DAT;

// One benchmark's working copy of the large data set: the database file copied into a
// temporary folder (the data set itself is never written), the data modules open on it with the
// session of its user, message boxes answered "Sim", and that folder as the program folder.
class AmbienteBench
{
public:
    // Reads --data DIR from the arguments; empty when missing.
    static QString pastaDados(int argc, char **argv);
    // The frame of every order benchmark's main: the offscreen platform unless one is set, the
    // application, the --data folder, and a failure reported with exit status 1. `corpo` gets
    // the folder and the report's stream.
    static int executaPrograma(int argc, char **argv, const char *nome,
                               const std::function<void(const QString &dados, QTextStream &out)> &corpo);

    // How the copy writes its pages: as the data set's file says (synchronous, the program's
    // real condition), or asynchronously, to tell the program's time from the disk's waits.
    enum class Escrita { ComoEntregue, Assincrona };

    // Throws DatabaseError when the copy cannot be made or opened.
    explicit AmbienteBench(const QString &pastaDados, Escrita escrita = Escrita::ComoEntregue);
    ~AmbienteBench();

    D500DAT &dat() { return *m_dat; }
    D500CAD &cad() { return *m_cad; }
    ScriptedAnswerer &respostas() { return m_respostas; }
    QString pasta() const { return m_pasta.path(); }

private:
    QTemporaryDir m_pasta;
    QString m_pastaAnterior;
    ScriptedAnswerer m_respostas;
    std::unique_ptr<D500DAT> m_dat;
    std::unique_ptr<D500CAD> m_cad;
};
