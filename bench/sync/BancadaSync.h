#pragma once

#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

class D500DAT;

// The synchronisation benchmarks' shared ground: a working copy of the large data set in a
// temporary folder (the data set itself is never written), the notebook's data module open on
// it, and the report lines (figure, baseline, ratio, PASS/FAIL).
class FirebirdConnection;

namespace BancadaSync {

// --data DIR of the arguments; empty when missing.
QString pastaDados(int argc, char **argv);

// Milliseconds taken by the call.
double tempoMs(const std::function<void()> &acao);

// Peak resident memory of this process so far (VmHWM), in KiB; -1 when unknown.
qint64 picoMemoriaKb();

void figura(const QString &nome, const QString &texto);
// Prints "  target <description>: <value> -> PASS|FAIL".
bool alvo(const QString &descricao, bool passou, const QString &valor);

// A folder of its own holding a copy of the data set's ORVALIS.FDB (and SisCon.ini).
class CopiaDados
{
public:
    // Throws std::runtime_error when the data set is missing or cannot be copied.
    explicit CopiaDados(const QString &pastaDados);
    QString pasta() const { return m_pasta.path(); }
    QString base() const;

private:
    QTemporaryDir m_pasta;
};

// The notebook's data module open on a database file, with its user's session and message
// boxes written to stderr.
std::unique_ptr<D500DAT> abreNotebook(const QString &arquivoBase);

// Reads every column of every row of a statement through a plain forward-only query, as a
// baseline does; returns the number of rows.
qint64 leLinhas(FirebirdConnection &cnx, const QString &sql);

} // namespace BancadaSync
