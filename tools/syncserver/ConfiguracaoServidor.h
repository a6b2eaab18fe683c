#pragma once

#include <QHostAddress>
#include <QString>
#include <QStringList>

// The settings of the installed server (/etc/korvex/servidor.conf): "key = value" lines,
// "#" comments. Every key has a default, so an empty file serves on every address of the
// machine with the central database in the data folder. Bad lines are reported by number and
// leave the defaults in place.
class ConfiguracaoServidor
{
public:
    enum class Nivel { Erro, Aviso, Info, Depuracao };

    static QString arquivoPadrao() { return QStringLiteral("/etc/korvex/servidor.conf"); }
    static QString pastaPadrao() { return QStringLiteral("/var/lib/korvex-servidor"); }

    // A missing file is an error too: the package always installs one.
    static ConfiguracaoServidor carrega(const QString &arquivo);
    static ConfiguracaoServidor interpreta(const QString &texto, const QString &origem);

    quint16 porta = 5111;
    QHostAddress endereco{QHostAddress::Any};
    QString pasta = pastaPadrao(); // template, working files and, by default, the central database
    QString base;                  // the central database: a path, or host:path of a Firebird server
    QString usuarioBase;           // account on that Firebird server
    QString senhaBase;
    QString esquema;               // the notebook's database contract; the installed one when empty
    Nivel nivel = Nivel::Info;

    QStringList erros;

    // The central database as the connection names it: `base`, or CENTRAL.FDB in `pasta`.
    QString arquivoBase() const;
    // True for host:path, a database that a Firebird server keeps.
    bool baseRemota() const;

    static QString nomeNivel(Nivel nivel);
};
