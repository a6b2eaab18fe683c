#pragma once

#include <QDate>
#include <QString>

// Rows of the customer and catalogue tests, dated around the day the test runs.
//   Company 1, seller 7. Customers: 12 (server, no trade name, city 10), 120 (server, trade name
//   with blanks at its ends, a checkout text the list does not offer),
//   13 (blocked), 14 (warning, no seller, quote in the name); company 2: 12 (another customer).
//   Route of today: 12, 13, 14 and company 2's 12; 14 has an order today, 12 only a cancelled one.
//   Titles: 12 due 31/05/2024 (not overdue, 100.10) and 01/06/2024 (overdue, 50.25); 120 overdue 10.00.
//   Products (group 1 "BEBIDAS", family 5 "REFRIGERANTES"): 1200 (9.00 in table 1, changed
//   5 days ago), 1299 (4.50, changed 6 days ago, SITALT N), 1300 (9.00); family 6 "SEM PRECO"
//   has product 1400 without a price; table 2 holds 1200 at 8.00.
//   Promotions: 1200 from yesterday, 1299 from tomorrow, 1300 from today.
inline QString dataFirebird(const QDate &d)
{
    return QLatin1Char('\'') + d.toString(QStringLiteral("dd.MM.yyyy")) + QLatin1Char('\'');
}

inline QString scriptClientes(const QDate &hoje)
{
    const QString h = dataFirebird(hoje);
    const QString dia = QString::number(hoje.dayOfWeek());
    const QString semana = QString::number((hoje.day() - 1) / 7 + 1);
    QString s = QStringLiteral(
        "INSERT INTO F501CID (CODEMP, CODCID, NOMCID, ESTCID) VALUES (1, 10, 'CURITIBA', 'PR');\n"
        "INSERT INTO F501CID (CODEMP, CODCID, NOMCID, ESTCID) VALUES (1, 11, 'LONDRINA', 'PR');\n"
        "INSERT INTO F501CID (CODEMP, CODCID, NOMCID, ESTCID) VALUES (1, 20, 'SÃO PAULO', 'SP');\n"
        "INSERT INTO F501CID (CODEMP, CODCID, NOMCID, ESTCID) VALUES (2, 30, 'RECIFE', 'PE');\n"
        "INSERT INTO F510TIP (CODEMP, CODTIP, DESTIP, TEMCHK) VALUES (1, 1, 'MERCADO', 'S');\n"
        "INSERT INTO F510TIP (CODEMP, CODTIP, DESTIP, TEMCHK) VALUES (1, 2, 'FARMACIA', 'N');\n"
        "INSERT INTO F510CLI (CODEMP, CODCLI, CODNOV, CODVEN, RAZCLI, ENDEND, NUMEND, CODCID, DDAEND, TEAEND,"
        " CPFCGC, NUMIES, CODTIP, SITCLI, STUCLI, LIMCRE, ABTCLI, ATRCLI, EMIAVS, CODTAB, REDE)"
        " VALUES (1, 12, 0, 7, 'MERCADO DO ZE', 'RUA A', '10', 10, '41', '32221111', '11.222.333/0001-81', '123',"
        " 2, 'A', 'S', 5000, 150.35, 50.25, 'N', 1, 'S');\n"
        "INSERT INTO F510CLI (CODEMP, CODCLI, CODNOV, CODVEN, RAZCLI, FANCLI, CODCID, CODTIP, DESCHK, SITCLI,"
        " STUCLI, EMIAVS) VALUES (1, 120, 0, 7, 'ARMAZEM BOA VISTA', ' BOA VISTA ', 11, 1, '2 A 3', 'A', NULL, 'N');\n"
        "INSERT INTO F510CLI (CODEMP, CODCLI, CODNOV, CODVEN, RAZCLI, CODCID, SITCLI, STUCLI, EMIAVS)"
        " VALUES (1, 13, 0, 8, 'BAR BLOQUEADO', 10, 'B', 'S', 'N');\n"
        "INSERT INTO F510CLI (CODEMP, CODCLI, CODNOV, CODVEN, RAZCLI, CODCID, DDAEND, SITCLI, STUCLI, EMIAVS, OBSCLI)"
        " VALUES (1, 14, 0, NULL, 'PADARIA O''BRIEN', 20, NULL, 'A', 'S', 'S', 'COBRAR DUPLICATA');\n"
        "INSERT INTO F510CLI (CODEMP, CODCLI, CODNOV, CODVEN, RAZCLI, CODCID, SITCLI, STUCLI, EMIAVS)"
        " VALUES (2, 12, 0, 9, 'OUTRA EMPRESA', 30, 'A', 'S', 'N');\n");
    for (const char *cli : {"12", "13", "14"})
        s += QStringLiteral("INSERT INTO F510ROT (CODEMP, CODCLI, DIASEM, SEMMES) VALUES (1, %1, %2, %3);\n")
                 .arg(QLatin1String(cli), dia, semana);
    s += QStringLiteral("INSERT INTO F510ROT (CODEMP, CODCLI, DIASEM, SEMMES) VALUES (2, 12, %1, %2);\n").arg(dia, semana);
    s += QStringLiteral(
             "INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, DATPDF, CODCLI, CODNOV, SITPDF) VALUES (1, 1, 0, %1, 14, 0, 'D');\n"
             "INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, DATPDF, CODCLI, CODNOV, SITPDF) VALUES (1, 2, 0, %1, 14, 0, 'L');\n"
             "INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, DATPDF, CODCLI, CODNOV, SITPDF) VALUES (1, 3, 0, %1, 12, 0, 'C');\n")
             .arg(h);
    s += QStringLiteral(
        "INSERT INTO F550TRC (CODEMP, CODCCU, CODPDV, NUMTRC, PARTRC, CODVEN, CODCLI, DATEMI, DATVCT, VLRTRC, DIAVCT)"
        " VALUES (1, 1, 500, 1, '1', 7, 12, '01.05.2024', '31.05.2024', 100.10, 0);\n"
        "INSERT INTO F550TRC (CODEMP, CODCCU, CODPDV, NUMTRC, PARTRC, CODVEN, CODCLI, DATEMI, DATVCT, VLRTRC, DIAVCT)"
        " VALUES (1, 1, 500, 1, '2', 7, 12, '01.05.2024', '01.06.2024', 50.25, 5);\n"
        "INSERT INTO F550TRC (CODEMP, CODCCU, CODPDV, NUMTRC, PARTRC, CODVEN, CODCLI, DATEMI, DATVCT, VLRTRC, DIAVCT)"
        " VALUES (1, 1, 501, 2, '1', 7, 120, '01.05.2024', '15.05.2024', 10.00, 2);\n"
        "INSERT INTO F511GFA (CODGFA, CODCCU, CODEMP, DESGFA) VALUES (1, 1, 1, 'BEBIDAS');\n"
        "INSERT INTO F511GFA (CODGFA, CODCCU, CODEMP, DESGFA) VALUES (2, 1, 1, 'VAZIO');\n"
        "INSERT INTO F511FAM (CODEMP, CODCCU, CODFAM, DESFAM) VALUES (1, 1, 5, 'REFRIGERANTES');\n"
        "INSERT INTO F511FAM (CODEMP, CODCCU, CODFAM, DESFAM) VALUES (1, 1, 6, 'SEM PRECO');\n"
        "INSERT INTO F511IFA (CODEMP, CODCCU, CODGFA, CODFAM) VALUES (1, 1, 1, 5);\n"
        "INSERT INTO F511IFA (CODEMP, CODCCU, CODGFA, CODFAM) VALUES (1, 1, 2, 6);\n"
        "INSERT INTO F511PRO (CODEMP, CODCCU, CODPRO, CODFAM, DESPRO, UNDPRO, DISPRO, FATPRO, PESPRO)"
        " VALUES (1, 1, 1200, 5, 'GUARANA 2L', 'UN', 10, 6, 2);\n"
        "INSERT INTO F511PRO (CODEMP, CODCCU, CODPRO, CODFAM, DESPRO, UNDPRO, DISPRO, FATPRO, PESPRO)"
        " VALUES (1, 1, 1299, 5, 'COPO D''AGUA', 'UN', 0, 1, 1);\n"
        "INSERT INTO F511PRO (CODEMP, CODCCU, CODPRO, CODFAM, DESPRO, UNDPRO, DISPRO, FATPRO, PESPRO)"
        " VALUES (1, 1, 1300, 5, 'SUCO UVA', 'CX', 3, 12, 1);\n"
        "INSERT INTO F511PRO (CODEMP, CODCCU, CODPRO, CODFAM, DESPRO, UNDPRO, DISPRO, FATPRO, PESPRO)"
        " VALUES (1, 1, 1400, 6, 'SEM TABELA', 'UN', 1, 1, 1);\n");
    s += QStringLiteral(
             "INSERT INTO F511TAB (CODEMP, CODCCU, CODPRO, CODTAB, DESTAB, PRCVEN, NOVPRV, SITALT, DATALT, DESCOS)"
             " VALUES (1, 1, 1200, 1, 'TABELA PADRAO', 9.00, 9.50, 'S', %1, 'COMISSAO A');\n"
             "INSERT INTO F511TAB (CODEMP, CODCCU, CODPRO, CODTAB, DESTAB, PRCVEN, NOVPRV, SITALT, DATALT, DESCOS)"
             " VALUES (1, 1, 1299, 1, 'TABELA PADRAO', 4.50, 4.50, 'N', %2, 'COMISSAO A');\n"
             "INSERT INTO F511TAB (CODEMP, CODCCU, CODPRO, CODTAB, DESTAB, PRCVEN, NOVPRV, SITALT, DATALT, DESCOS)"
             " VALUES (1, 1, 1300, 1, 'TABELA PADRAO', 9.00, 9.00, 'S', '01.01.2024', 'COMISSAO B');\n"
             "INSERT INTO F511TAB (CODEMP, CODCCU, CODPRO, CODTAB, DESTAB, PRCVEN, NOVPRV, SITALT, DATALT, DESCOS)"
             " VALUES (1, 1, 1200, 2, 'TABELA ESPECIAL', 8.00, 8.00, 'S', '01.01.2024', 'COMISSAO A');\n"
             "INSERT INTO F511PRM (CODEMP, CODCCU, CODPRO, DATINI, DATFIM, PRZMAX, VLRPRM) VALUES (1, 1, 1200, %3, %4, 28, 8.10);\n"
             "INSERT INTO F511PRM (CODEMP, CODCCU, CODPRO, DATINI, DATFIM, PRZMAX, VLRPRM) VALUES (1, 1, 1299, %5, %4, 30, 4.00);\n"
             "INSERT INTO F511PRM (CODEMP, CODCCU, CODPRO, DATINI, DATFIM, PRZMAX, VLRPRM) VALUES (1, 1, 1300, %6, %4, 30, 8.50);\n")
             .arg(dataFirebird(hoje.addDays(-5)), dataFirebird(hoje.addDays(-6)), dataFirebird(hoje.addDays(-1)),
                  dataFirebird(hoje.addDays(7)), dataFirebird(hoje.addDays(1)), h);
    return s;
}
