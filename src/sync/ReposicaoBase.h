#pragma once

#include "AcoesSincronizacao.h"

#include <QString>
#include <QStringList>

#include <functional>

class FirebirdConnection;

// Puts the database received from the server in place of ORVALIS.FDB. At every moment either
// the old or the new file is in place or set aside beside it as ORVALIS.OLD: the old file goes
// only once the new one is open and its user row was read, and comes back on any failure.
class ReposicaoBase
{
public:
    static const QString arquivoBase;    // ORVALIS.FDB
    static const QString arquivoAntigo;  // ORVALIS.OLD: the previous database, set aside

    // Start-up: a swap interrupted between setting the old file aside and moving the new one
    // in left no ORVALIS.FDB; the old one is put back. True when it was.
    // Also drops what an interrupted download or extraction left (see limpaRestos).
    static bool recuperaSeInterrompida(const QString &pasta);

    // Deletes the leftovers of a download or extraction cut short: the received archive
    // ORVALIS.KXD and the temporaries beside it, the temporaries of the extracted and outgoing
    // packages and, while ORVALIS.FDB is in place, an extracted package database (ORVA1_25.FDB)
    // that never moved in. ORVALIS.FDB, ORVALIS.OLD and the outgoing script and archive stay.
    // Returns the names deleted.
    static QStringList limpaRestos(const QString &pasta);

    // carregaSessao reads the session from the newly opened file and throws (DatabaseError or
    // any std::exception) when it cannot: then the old file comes back.
    ReposicaoBase(FirebirdConnection &conexao, const QString &pasta, std::function<void()> carregaSessao);

    // Extracts nomePacote + ".FDB" from the received archive and swaps it in. ErroExtraindo
    // leaves the database untouched and open; ErroAbrindo has put the old one back and reopened
    // it when it could. The received archive is deleted after a successful swap.
    ResultadoSubstituicao substitui(const QString &arquivoRecebido, const QString &nomePacote);

    // Why the last substitui failed, for the record.
    QString detalhe() const { return m_detalhe; }

    // Tests stop the swap at a point to see what a crash there leaves behind.
    enum class Etapa { AntigoAfastado, NovoNoLugar };
    std::function<void(Etapa)> aoAvancar;

private:
    bool restauraAntigo(const QString &base, const QString &antigo, bool haviaAntigo);
    void reabre(const QString &base);

    FirebirdConnection &m_conexao;
    QString m_pasta;
    std::function<void()> m_carregaSessao;
    QString m_detalhe;
};
