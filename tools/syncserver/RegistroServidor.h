#pragma once

#include "ConfiguracaoServidor.h"

#include <QByteArray>
#include <QString>

// The installed server's log: one line per event, on the standard output. Under systemd the
// output goes to the journal, which reads a "<n>" syslog priority at the start of each line;
// in a terminal the line starts with the date and time instead. Lines below the configured
// level are dropped.
class RegistroServidor
{
public:
    using Nivel = ConfiguracaoServidor::Nivel;

    RegistroServidor(Nivel minimo, bool diario);
    // True when the output is systemd's journal.
    static bool saidaNoDiario();

    void registra(Nivel nivel, const QString &texto) const;
    // A line of the sync dialogue, at the level its text tells.
    void registraDialogo(const QString &linha) const { registra(nivelDoDialogo(linha), linha); }

    static Nivel nivelDoDialogo(const QString &linha);
    static QByteArray formata(Nivel nivel, const QString &texto, bool diario);

private:
    Nivel m_minimo;
    bool m_diario;
};
