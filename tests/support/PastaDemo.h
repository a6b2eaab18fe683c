#pragma once

#include <QDate>
#include <QString>

// The demonstration installation written by korvex-demodata (built next to the test programs),
// for tests that work on the data a seller sees in the demo.
namespace PastaDemo {

QString gerador();

// Runs the generator into `pasta` for `hoje` with `semente`; returns its output, or an empty
// text with `erro` filled. The file is left with asynchronous writes: tests need no durability.
QString gera(const QString &pasta, const QDate &hoje, const QString &semente, QString *erro = nullptr);

// A folder shared by the test processes of a run, generated once under a lock and again only
// when the generator or the schema is newer. Never write into it: copy it with `copia`.
QString compartilhada(const QDate &hoje, QString *erro = nullptr);

// Copies ORVALIS.FDB and SisCon.ini of the shared folder into `destino` (writable).
bool copia(const QDate &hoje, const QString &destino, QString *erro = nullptr);

} // namespace PastaDemo
