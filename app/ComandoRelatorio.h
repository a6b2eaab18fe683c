#pragma once

// `korvex relatorio NOME [opções] --saida ARQUIVO`: one report of the catalogue written without
// windows, in the program folder, with the session of the notebook's configured user. An .htm
// or .html file gets the report page, an .xlsx file the workbook. Exit status 0 when the file
// was written, 2 when the report has no rows (nothing left behind), 1 on any error.
class ComandoRelatorio
{
public:
    static bool solicitado(int argc, char **argv);
    static int executa(int argc, char **argv);
};
