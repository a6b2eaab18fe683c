#pragma once

// `korvex sync [--server HOST] [--user NAME --password TEXT]`: one synchronisation without
// windows, run in the program folder. Each status line is printed as it appears; the exit
// status is 0 only after the database was replaced. A notebook with a configured user needs no
// option (--server overrides its known address); one without user needs all three.
class ComandoSync
{
public:
    // True when the command line asks for this command.
    static bool solicitado(int argc, char **argv);
    static int executa(int argc, char **argv);
};
