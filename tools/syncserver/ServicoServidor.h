#pragma once

#include <QString>
#include <QStringList>

class ConfiguracaoServidor;
class RegistroServidor;

// The installed sync server (korvex-servidor): reads /etc/korvex/servidor.conf and serves
// the notebooks, as the systemd service does; with --cria-base and --usuario it sets up the
// central database and its users instead, and returns.
class ServicoServidor
{
public:
    enum Saida { Sucesso = 0, Falha = 1, Uso = 2, SemBase = 3 };

    // `argumentos` as the program received them; `versao` is the program version it demands.
    static int executa(const QStringList &argumentos, const QString &versao);

    // Creates the central database from the notebook's contract plus the server's own
    // structure. False, touching nothing, when it already exists. Throws DatabaseError.
    static bool criaBase(const ConfiguracaoServidor &config, const QString &esquema);

    // Checks a user given as EMPRESA:CÓDIGO:NOME:SENHA[:VENDEDOR]: the reason when the text does
    // not have that form, empty when it does.
    static QString confereUsuario(const QString &dados);

    // The contract installed beside the program (<prefix>/share/korvex-servidor/schema.sql).
    static QString esquemaInstalado(const QString &programa);
};
