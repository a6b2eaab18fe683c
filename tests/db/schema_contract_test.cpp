// Holds db/schema.sql to the database contract: the tables and columns the program's statements
// name, with their types, and the statements themselves run against a small seeded file.

#include "FirebirdConnection.h"
#include "TestDatabase.h"

#include <QDate>
#include <QMap>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

// Column lists of the contract. Codes: N0/N2/N3/N6 = NUMERIC(15,scale), Vn = VARCHAR(n),
// D = DATE, T = TIME, S = SMALLINT; a trailing '!' marks NOT NULL.
const QMap<QString, QString> &contractColumns()
{
    static const QMap<QString, QString> tables = {
        {"F599USU", "CODUSU N0!, NOMUSU V30, SENUSU V30, CODCCU N0, CODEMP N0, CODVEN N0, CODSUP N0, "
                    "HSTSRV V50, DATATL D, HORATL T, USASUP V1, SLDFLX N2, ACRTAB N2, ESTCID V2, "
                    "DESRET N2, EXPSEN V1, EXPANT V1, SENANT V30"},
        {"F599MSU", "CODEMP N0!, CODUSU N0!, NOMUSU V30"},
        {"F512VEN", "CODEMP N0, CODVEN N0, NOMVEN V50, DDAEND V3, TEAEND V10, DDBEND V3, TEBEND V10, "
                    "EMLEND V50, CNTSAL N2, CNTACU N2"},
        {"F515CCU", "CODEMP N0, CODCCU N0!, DESCCU V50"},
        {"F501CID", "CODEMP N0, CODCID N0!, NOMCID V50, ESTCID V2"},
        {"F510CLI", "CODEMP N0!, CODCLI N0!, CODNOV N0!, CODVEN N0, RAZCLI V50, FANCLI V50, ENDEND V50, "
                    "NUMEND V10, BAIEND V20, CEPEND V10, CODCID N0, DDAEND V3, TEAEND V10, FONEMB V50, "
                    "CNTEMB V50, EMLEMB V50, FONLIM V50, CNTLIM V50, EMLLIM V50, CPFCGC V25, NUMIES V25, "
                    "CODTIP N0, DESCHK V20, SITCLI V1, STUCLI V1, LIMCRE N2, ABTCLI N2, ATRCLI N2, "
                    "EMIAVS V1, OBSCLI V100, CODTAB N0, CODRED N0, REDE V1"},
        {"F510TIP", "CODEMP N0!, CODTIP N0!, DESTIP V50, TEMCHK V1"},
        {"F510ROT", "CODEMP N0, CODCLI N0, DIASEM S, SEMMES S"},
        {"F510CPC", "CODEMP N0, CODCLI N0, CODCON N0"},
        {"F510OPC", "CODEMP N0, CODCLI N0, CODOPE N0"},
        {"F550TRC", "CODEMP N0!, CODCCU N0!, CODPDV N0!, NUMTRC N0!, PARTRC V5!, CODVEN N0!, CODCLI N0, "
                    "DATEMI D, DATVCT D, VLRTRC N2, DIAVCT N2"},
        {"F511PRO", "CODEMP N0!, CODCCU N0!, CODPRO N0!, CODFAM N0, DESPRO V50, UNDPRO V3, DISPRO N2, "
                    "FATPRO N3, PESPRO N0"},
        {"F511FAM", "CODEMP N0, CODCCU N0, CODFAM N0!, DESFAM V50, RETPDV V1"},
        {"F511GFA", "CODGFA N0!, CODCCU N0!, CODEMP N0!, DESGFA V50"},
        {"F511IFA", "CODEMP N0, CODCCU N0, CODGFA N0!, CODFAM N0"},
        {"F511TAB", "CODEMP N0, CODCCU N0, CODPRO N0, CODTAB N0!, DESTAB V50!, PRCVEN N3, NOVPRV N3, "
                    "SITALT V1, DATALT D, CODCOS N0, DESCOS V30, MAXDCT N2, RJTTAB N2"},
        {"F511PRM", "CODEMP N0, CODCCU N0, CODPRO N0, DATINI D, DATFIM D, PRZMAX N0, VLRPRM N3"},
        {"F511IMP", "CODEMP N0!, CODCCU N0!, CODPRO N0!, ESTCID V2!, ALISTR N2, ALIICM N2, ALIINA N2, "
                    "CFTICM N6"},
        {"F512COS", "CODEMP N0, CODCOS N0, PCTDCT N2"},
        {"F513DES", "CODEMP N0, CODOPE N0, CODCON N0, PORDES N2"},
        {"F530PDF", "CODEMP N0!, CODPDF N0!, CODINT N0!, CODTAB N0, DATPDF D, CODCLI N0, CODNOV N0, "
                    "TOTPDF N2, TOTFLX N2, CODTRA N0, CODCON N0, CODOPE N0, SITPDF V1, CODVEN N0, "
                    "VENSUB N0, OBSCLI V300, MOTCAN V100, SITFLX V1, DATFAT D, DATENT D, PDFORC V1, "
                    "RETPDV V1"},
        {"F530IPF", "CODEMP N0!, CODCCU N0!, CODPDF N0!, CODPRO N0!, CODINT N0!, DESPRO V50, UNDPRO V3, "
                    "QTDPRO N2, VLRUNT N3, VLRTOT N3, USOFLX N2, GERFLX N2, QTDFAT N2, VLRFAT N2, "
                    "FATPRO N3, MAXDCT N2, PRCVEN N3, PRCTAB N3, VLRSTB N2, TABCOS N2, CODCOS N0, "
                    "ITMPRM V1, PRZMAX N0, VLRPRM N3, SITIPF V1, SITFLX V1, CODPDV N0"},
        {"F513TRA", "CODEMP N0!, CODTRA N0!, DESTRA V50, DESFLX V1, GERBON V1, GERTIT V1"},
        {"F513OPE", "CODEMP N0!, CODOPE N0!, NOMOPE V50, TEMFLU V1"},
        {"F513OCU", "CODEMP N0!, CODCCU N0!, CODOPE N0!"},
        {"F513CON", "CODEMP N0!, CODCON N0!, DESCON V50, PDVMIN N2, MAXDIA N0, SEMDBT V1, TIPCON V1"},
        {"F530BON", "CODEMP N0!, CODCCU N0!, CODPDV N0!, DATPDF D, CODCLI N0, RAZCLI V50, TOTPDF N2, "
                    "AUTBON V1, CODVEN N0, CODTRA N0, CODOPE N0, CODCON N0"},
        {"F530IBO", "CODEMP N0!, CODCCU N0!, CODPDV N0!, CODPRO N0!, DESPRO V50, UNDPRO V3, QTDPRO N2, "
                    "VLRUNT N3, VLRTOT N3, USOFLX N2, QTDFAT N2, VLRFAT N2, FATPRO N3, MAXDCT N2, "
                    "PRCVEN N3, PRCTAB N3"},
        {"F512MTF", "CODMOV N0!, CODEMP N0!, CODSUP N0!, DATMOV D!, VENORI N0, VENDES N0, TIPMOV V1, "
                    "SITMOV V1, VLRMOV N2, CCUORI N0, CCUDES N0"},
        {"F599MSG", "CODEMP N0, CODMSG N0!, USUREM N0!, TITMSG V50, DESMSG V200, DATMSG D, SITMSG V1, "
                    "ENVMSG V1, CODINT N0"},
        {"F599MDT", "CODEMP N0!, CODMSG N0!, CODUSU N0!"},
        {"F500RSV", "CODEMP N0, CODVEN N0, NOMVEN V50, CODSUP N0, NOMSUP V50, MESMET V10!, METVEN N2, "
                    "GERVEN N2, GERDEZ N2, METEQP N2, GEREQP N2, VLRCOS N2, DESDIF V30, METDIF N2, "
                    "GERDIF N2, FLXDSP N2, FLXGER N2, METCLI N0, GERCLI N0, GERNOV N0, SUBVEN N2, "
                    "SUBCLI N0, METPRO N2, GERPRO N2"},
        {"F500RPE", "CODEMP N0, CODCLI N0, CODCCU N0, CODPRO N0, QTDPEN N2, VLRPEN N3, DATPEN D"},
    };
    return tables;
}

// The declared type of a column in the codes of contractColumns().
QString typeCode(int type, int subType, int precision, int scale, int length)
{
    switch (type) {
    case 7:
    case 8:
    case 16:
        if (subType == 0 && scale == 0)
            return type == 7 ? QStringLiteral("S") : type == 8 ? QStringLiteral("INTEGER") : QStringLiteral("BIGINT");
        if (precision != 15)
            return QStringLiteral("NUMERIC(%1,%2)").arg(precision).arg(-scale);
        return QStringLiteral("N%1").arg(-scale);
    case 37:
        return QStringLiteral("V%1").arg(length);
    case 14:
        return QStringLiteral("CHAR(%1)").arg(length);
    case 12:
        return QStringLiteral("D");
    case 13:
        return QStringLiteral("T");
    default:
        return QStringLiteral("type %1").arg(type);
    }
}

// A small file with one or two rows per table, enough for every key statement to find rows.
// Dates are fixed: the route and promotion cases below bind their own "today".
const char *seedScript = R"SQL(
INSERT INTO F599USU (CODUSU, NOMUSU, SENUSU, CODCCU, CODEMP, CODVEN, CODSUP, HSTSRV, DATATL, HORATL, USASUP,
  SLDFLX, ACRTAB, ESTCID, DESRET, EXPSEN, EXPANT, SENANT)
  VALUES (7, 'MARCOS', 'x', 1, 1, 12, 3, '127.0.0.1', '15.03.2024', '08:30:00', 'S', 70, 2, 'SP', 3, 'N', 'N', '');
INSERT INTO F512VEN (CODEMP, CODVEN, NOMVEN, CNTSAL, CNTACU) VALUES (1, 12, 'MARCOS PEREIRA', 100.00, 50.00);
INSERT INTO F512VEN (CODEMP, CODVEN, NOMVEN, CNTSAL, CNTACU) VALUES (1, 15, 'JOÃO BATISTA', 10.00, 0);
INSERT INTO F515CCU (CODEMP, CODCCU, DESCCU) VALUES (1, 1, 'ALIMENTOS');
INSERT INTO F515CCU (CODEMP, CODCCU, DESCCU) VALUES (1, 2, 'LIMPEZA');
INSERT INTO F501CID (CODEMP, CODCID, NOMCID, ESTCID) VALUES (1, 10, 'SÃO PAULO', 'SP');
INSERT INTO F501CID (CODEMP, CODCID, NOMCID, ESTCID) VALUES (1, 20, 'BELO HORIZONTE', 'MG');
INSERT INTO F510TIP (CODEMP, CODTIP, DESTIP, TEMCHK) VALUES (1, 1, 'SUPERMERCADO', 'S');
INSERT INTO F510TIP (CODEMP, CODTIP, DESTIP, TEMCHK) VALUES (1, 2, 'MERCEARIA', 'N');
INSERT INTO F510CLI (CODEMP, CODCLI, CODNOV, CODVEN, RAZCLI, FANCLI, ENDEND, NUMEND, CODCID, DDAEND, TEAEND,
  CPFCGC, CODTIP, SITCLI, STUCLI, LIMCRE, ABTCLI, ATRCLI, EMIAVS, OBSCLI, CODTAB, REDE)
  VALUES (1, 12, 0, 12, 'MERCADO BOA VISTA LTDA', 'BOA VISTA', 'RUA DAS FLORES', '100', 10, '11', '33334444',
  '11.222.333/0001-81', 1, 'A', 'E', 1000.00, 800.00, 0, 'S', 'SÓ ENTREGAR PELA MANHÃ', 1, 'N');
INSERT INTO F510CLI (CODEMP, CODCLI, CODNOV, CODVEN, RAZCLI, ENDEND, NUMEND, CODCID, DDAEND, TEAEND, CPFCGC,
  CODTIP, SITCLI, STUCLI, LIMCRE, ABTCLI, ATRCLI, EMIAVS, CODTAB, CODRED, REDE)
  VALUES (1, 120, 0, 12, 'SUPERMERCADO REDE SUL', 'AV BRASIL', '5', 20, '31', '22223333', '529.982.247-25',
  2, 'A', 'E', 5000.00, 300.00, 150.00, 'N', 2, 3, 'S');
INSERT INTO F510CLI (CODEMP, CODCLI, CODNOV, CODVEN, RAZCLI, CODCID, SITCLI, STUCLI, CODTAB)
  VALUES (1, 13, 0, 12, 'EMPORIO BLOQUEADO', 10, 'B', 'E', 1);
INSERT INTO F510CLI (CODEMP, CODCLI, CODNOV, CODVEN, RAZCLI, CODCID, SITCLI, STUCLI, LIMCRE, ABTCLI, ATRCLI, EMIAVS, CODTAB)
  VALUES (1, 0, 9900001, 12, 'PADARIA NOVA', 10, 'A', 'N', 0, 0, 0, 'N', 1);
INSERT INTO F510ROT (CODEMP, CODCLI, DIASEM, SEMMES) VALUES (1, 12, 5, 3);
INSERT INTO F510ROT (CODEMP, CODCLI, DIASEM, SEMMES) VALUES (1, 120, 5, 3);
INSERT INTO F510ROT (CODEMP, CODCLI, DIASEM, SEMMES) VALUES (1, 13, 5, 3);
INSERT INTO F510ROT (CODEMP, CODCLI, DIASEM, SEMMES) VALUES (1, 12, 1, 1);
INSERT INTO F513CON (CODEMP, CODCON, DESCON, PDVMIN, MAXDIA, SEMDBT, TIPCON) VALUES (1, 1, 'A VISTA', 0, 0, 'N', 'N');
INSERT INTO F513CON (CODEMP, CODCON, DESCON, PDVMIN, MAXDIA, SEMDBT, TIPCON) VALUES (1, 2, '28 DIAS', 100, 28, 'N', 'N');
INSERT INTO F513CON (CODEMP, CODCON, DESCON, PDVMIN, MAXDIA, SEMDBT, TIPCON) VALUES (1, 3, 'BONIFICAÇÃO', 0, 0, 'S', 'N');
INSERT INTO F513CON (CODEMP, CODCON, DESCON, PDVMIN, MAXDIA, SEMDBT, TIPCON) VALUES (1, 4, 'ESPECIAL 45 DIAS', 500, 45, 'N', 'E');
INSERT INTO F510CPC (CODEMP, CODCLI, CODCON) VALUES (1, 120, 4);
INSERT INTO F513OPE (CODEMP, CODOPE, NOMOPE, TEMFLU) VALUES (1, 1, 'VENDA COM ST', 'S');
INSERT INTO F513OPE (CODEMP, CODOPE, NOMOPE, TEMFLU) VALUES (1, 2, 'VENDA CONSUMIDOR', 'N');
INSERT INTO F510OPC (CODEMP, CODCLI, CODOPE) VALUES (1, 12, 1);
INSERT INTO F510OPC (CODEMP, CODCLI, CODOPE) VALUES (1, 12, 2);
INSERT INTO F510OPC (CODEMP, CODCLI, CODOPE) VALUES (1, 0, 1);
INSERT INTO F513OCU (CODEMP, CODCCU, CODOPE) VALUES (1, 1, 1);
INSERT INTO F513OCU (CODEMP, CODCCU, CODOPE) VALUES (1, 1, 2);
INSERT INTO F513OCU (CODEMP, CODCCU, CODOPE) VALUES (1, 2, 1);
INSERT INTO F513TRA (CODEMP, CODTRA, DESTRA, DESFLX, GERBON, GERTIT) VALUES (1, 1, 'VENDA', 'S', 'N', 'S');
INSERT INTO F513TRA (CODEMP, CODTRA, DESTRA, DESFLX, GERBON, GERTIT) VALUES (1, 2, 'BONIFICAÇÃO', 'N', 'S', 'N');
INSERT INTO F513DES (CODEMP, CODOPE, CODCON, PORDES) VALUES (1, 1, 1, 5.00);
INSERT INTO F511GFA (CODGFA, CODCCU, CODEMP, DESGFA) VALUES (1, 1, 1, 'MERCEARIA');
INSERT INTO F511FAM (CODEMP, CODCCU, CODFAM, DESFAM, RETPDV) VALUES (1, 1, 10, 'ARROZ', 'S');
INSERT INTO F511FAM (CODEMP, CODCCU, CODFAM, DESFAM, RETPDV) VALUES (1, 1, 11, 'ÓLEO', 'N');
INSERT INTO F511IFA (CODEMP, CODCCU, CODGFA, CODFAM) VALUES (1, 1, 1, 10);
INSERT INTO F511IFA (CODEMP, CODCCU, CODGFA, CODFAM) VALUES (1, 1, 1, 11);
INSERT INTO F511PRO (CODEMP, CODCCU, CODPRO, CODFAM, DESPRO, UNDPRO, DISPRO, FATPRO, PESPRO)
  VALUES (1, 1, 45, 10, 'ARROZ TIPO 1 5KG', 'FD', 100, 6, 5);
INSERT INTO F511PRO (CODEMP, CODCCU, CODPRO, CODFAM, DESPRO, UNDPRO, DISPRO, FATPRO, PESPRO)
  VALUES (1, 1, 46, 11, 'OLEO DE SOJA 900ML', 'CX', 0, 12, 11);
INSERT INTO F512COS (CODEMP, CODCOS, PCTDCT) VALUES (1, 1, 0);
INSERT INTO F512COS (CODEMP, CODCOS, PCTDCT) VALUES (1, 1, 3);
INSERT INTO F512COS (CODEMP, CODCOS, PCTDCT) VALUES (1, 1, 5);
INSERT INTO F512COS (CODEMP, CODCOS, PCTDCT) VALUES (1, 2, 0);
INSERT INTO F511TAB (CODEMP, CODCCU, CODPRO, CODTAB, DESTAB, PRCVEN, NOVPRV, SITALT, DATALT, CODCOS, DESCOS, MAXDCT, RJTTAB)
  VALUES (1, 1, 45, 1, 'TABELA PADRÃO', 20.000, 21.000, 'S', '12.03.2024', 1, 'COMISSÃO A', 10, 0);
INSERT INTO F511TAB (CODEMP, CODCCU, CODPRO, CODTAB, DESTAB, PRCVEN, NOVPRV, SITALT, DATALT, CODCOS, DESCOS, MAXDCT, RJTTAB)
  VALUES (1, 1, 46, 1, 'TABELA PADRÃO', 8.500, 8.500, 'N', '01.01.2024', 2, 'SEM ESCALA', 7, -1);
INSERT INTO F511TAB (CODEMP, CODCCU, CODPRO, CODTAB, DESTAB, PRCVEN, NOVPRV, SITALT, DATALT, CODCOS, DESCOS, MAXDCT, RJTTAB)
  VALUES (1, 1, 45, 2, 'TABELA ATACADO', 19.000, 19.000, 'N', '01.01.2024', 1, 'COMISSÃO A', 10, 0);
INSERT INTO F511PRM (CODEMP, CODCCU, CODPRO, DATINI, DATFIM, PRZMAX, VLRPRM) VALUES (1, 1, 45, '01.03.2024', '31.03.2024', 28, 18.500);
INSERT INTO F511PRM (CODEMP, CODCCU, CODPRO, DATINI, DATFIM, PRZMAX, VLRPRM) VALUES (1, 1, 46, '01.04.2024', '30.04.2024', 60, 8.000);
INSERT INTO F511IMP (CODEMP, CODCCU, CODPRO, ESTCID, ALISTR, ALIICM, ALIINA, CFTICM) VALUES (1, 1, 45, 'SP', 35, 18, 18, 0.611100);
INSERT INTO F511IMP (CODEMP, CODCCU, CODPRO, ESTCID, ALISTR, ALIICM, ALIINA, CFTICM) VALUES (1, 1, 46, 'SP', 0, 18, 18, 1);
INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, CODTAB, DATPDF, CODCLI, CODNOV, TOTPDF, TOTFLX, CODTRA, CODCON, CODOPE,
  SITPDF, CODVEN, OBSCLI, SITFLX, PDFORC, RETPDV)
  VALUES (1, 1, 0, 1, '15.03.2024', 12, 0, 216.00, 30.00, 1, 1, 1, 'D', 12, 'ENTREGAR CEDO', 'N', 'N', 'N');
INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, CODTAB, DATPDF, CODCLI, CODNOV, TOTPDF, TOTFLX, CODTRA, CODCON, CODOPE,
  SITPDF, CODVEN, SITFLX, DATFAT, DATENT, PDFORC, RETPDV)
  VALUES (1, 2, 5001, 1, '01.03.2024', 12, 0, 240.00, 40.00, 1, 2, 1, 'F', 12, 'S', '05.03.2024', '06.03.2024', 'N', 'N');
INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, CODTAB, DATPDF, CODCLI, CODNOV, TOTPDF, TOTFLX, CODTRA, CODCON, CODOPE,
  SITPDF, CODVEN, MOTCAN, SITFLX, PDFORC, RETPDV)
  VALUES (1, 3, 5002, 2, '15.03.2024', 120, 0, 114.00, 0, 1, 4, 1, 'C', 12, 'CLIENTE DESISTIU', 'N', 'N', 'N');
INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, CODTAB, DATPDF, CODCLI, CODNOV, TOTPDF, TOTFLX, CODTRA, CODCON, CODOPE,
  SITPDF, CODVEN, SITFLX, PDFORC, RETPDV)
  VALUES (1, 4, 0, 1, '14.03.2024', 0, 9900001, 102.00, 0, 1, 1, 1, 'D', 12, 'N', 'S', 'N');
INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, UNDPRO, QTDPRO, VLRUNT, VLRTOT, USOFLX, GERFLX,
  QTDFAT, VLRFAT, FATPRO, MAXDCT, PRCVEN, PRCTAB, VLRSTB, TABCOS, CODCOS, ITMPRM, PRZMAX, VLRPRM, SITIPF, SITFLX)
  VALUES (1, 1, 1, 45, 0, 'ARROZ TIPO 1 5KG', 'FD', 6, 18.000, 108.000, 30.00, 0, 0, 0, 6, 10, 19.388, 19.000, 0, 0, 1, 'N', 28, 18.500, 'D', 'N');
INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, UNDPRO, QTDPRO, VLRUNT, VLRTOT, USOFLX, GERFLX,
  QTDFAT, VLRFAT, FATPRO, MAXDCT, PRCVEN, PRCTAB, VLRSTB, TABCOS, CODCOS, ITMPRM, SITIPF, SITFLX)
  VALUES (1, 1, 1, 46, 0, 'OLEO DE SOJA 900ML', 'CX', 12, 9.000, 108.000, 0, 6.00, 0, 0, 12, 0, 8.500, 8.500, 0, 0, 2, 'N', 'D', 'N');
INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, UNDPRO, QTDPRO, VLRUNT, VLRTOT, USOFLX, GERFLX,
  QTDFAT, VLRFAT, FATPRO, MAXDCT, PRCVEN, PRCTAB, VLRSTB, TABCOS, CODCOS, ITMPRM, SITIPF, SITFLX)
  VALUES (1, 1, 2, 45, 5001, 'ARROZ TIPO 1 5KG', 'FD', 12, 20.000, 240.000, 40.00, 0, 6, 19.50, 6, 10, 20.408, 20.000, 0, 0, 1, 'N', 'F', 'S');
INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, UNDPRO, QTDPRO, VLRUNT, VLRTOT, USOFLX, GERFLX,
  QTDFAT, VLRFAT, FATPRO, MAXDCT, PRCVEN, PRCTAB, VLRSTB, TABCOS, CODCOS, ITMPRM, SITIPF, SITFLX)
  VALUES (1, 1, 3, 45, 5002, 'ARROZ TIPO 1 5KG', 'FD', 6, 19.000, 114.000, 0, 0, 0, 0, 6, 10, 19.000, 19.000, 0, 0, 1, 'N', 'C', 'N');
INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, UNDPRO, QTDPRO, VLRUNT, VLRTOT, USOFLX, GERFLX,
  QTDFAT, VLRFAT, FATPRO, MAXDCT, PRCVEN, PRCTAB, VLRSTB, TABCOS, CODCOS, ITMPRM, SITIPF, SITFLX)
  VALUES (1, 1, 4, 46, 0, 'OLEO DE SOJA 900ML', 'CX', 12, 8.500, 102.000, 0, 0, 0, 0, 12, 0, 8.500, 8.500, 0, 0, 2, 'N', 'D', 'N');
INSERT INTO F530BON (CODEMP, CODCCU, CODPDV, DATPDF, CODCLI, RAZCLI, TOTPDF, AUTBON, CODVEN, CODTRA, CODOPE, CODCON)
  VALUES (1, 1, 9001, '10.03.2024', 12, 'MERCADO BOA VISTA LTDA', 60.00, 'P', 12, 2, 2, 3);
INSERT INTO F530IBO (CODEMP, CODCCU, CODPDV, CODPRO, DESPRO, UNDPRO, QTDPRO, VLRUNT, VLRTOT, USOFLX, QTDFAT, VLRFAT,
  FATPRO, MAXDCT, PRCVEN, PRCTAB)
  VALUES (1, 1, 9001, 45, 'ARROZ TIPO 1 5KG', 'FD', 3, 20.000, 60.000, 0, 0, 0, 6, 10, 20.408, 20.000);
INSERT INTO F512MTF (CODMOV, CODEMP, CODSUP, DATMOV, VENORI, VENDES, TIPMOV, SITMOV, VLRMOV, CCUORI, CCUDES)
  VALUES (1, 1, 3, '11.03.2024', 12, 15, 'M', 'E', 25.00, 1, 1);
INSERT INTO F512MTF (CODMOV, CODEMP, CODSUP, DATMOV, VENORI, VENDES, TIPMOV, SITMOV, VLRMOV)
  VALUES (2, 1, 3, '12.03.2024', 15, NULL, 'A', 'D', 40.00);
INSERT INTO F599MSU (CODEMP, CODUSU, NOMUSU) VALUES (1, 0, 'SISTEMA');
INSERT INTO F599MSU (CODEMP, CODUSU, NOMUSU) VALUES (1, 3, 'ROBERTO');
INSERT INTO F599MSU (CODEMP, CODUSU, NOMUSU) VALUES (1, 7, 'MARCOS');
INSERT INTO F599MSU (CODEMP, CODUSU, NOMUSU) VALUES (1, 8, 'ANA');
INSERT INTO F599MSG (CODEMP, CODMSG, USUREM, TITMSG, DESMSG, DATMSG, SITMSG, ENVMSG, CODINT)
  VALUES (1, 1, 3, 'META DE MARÇO', 'Atenção à meta', '10.03.2024', 'N', 'R', 801);
INSERT INTO F599MSG (CODEMP, CODMSG, USUREM, TITMSG, DESMSG, DATMSG, SITMSG, ENVMSG, CODINT)
  VALUES (1, 2, 8, 'TABELA NOVA', 'Nova tabela', '05.03.2024', 'L', 'R', 802);
INSERT INTO F599MSG (CODEMP, CODMSG, USUREM, TITMSG, DESMSG, DATMSG, SITMSG, ENVMSG)
  VALUES (1, 3, 7, 'VISITA', 'Visitei o cliente', '12.03.2024', 'L', 'N');
INSERT INTO F599MSG (CODEMP, CODMSG, USUREM, TITMSG, DESMSG, DATMSG, SITMSG, ENVMSG)
  VALUES (1, 4, 7, 'PEDIDO URGENTE', 'Liberar pedido', '11.03.2024', 'L', 'E');
INSERT INTO F599MSG (CODEMP, CODMSG, USUREM, TITMSG, DESMSG, DATMSG, SITMSG, ENVMSG)
  VALUES (1, 5, 7, 'SEM DESTINO', 'Rascunho', '13.03.2024', 'L', 'N');
INSERT INTO F599MDT (CODEMP, CODMSG, CODUSU) VALUES (1, 3, 8);
INSERT INTO F599MDT (CODEMP, CODMSG, CODUSU) VALUES (1, 3, 3);
INSERT INTO F599MDT (CODEMP, CODMSG, CODUSU) VALUES (1, 4, 3);
INSERT INTO F550TRC (CODEMP, CODCCU, CODPDV, NUMTRC, PARTRC, CODVEN, CODCLI, DATEMI, DATVCT, VLRTRC, DIAVCT)
  VALUES (1, 1, 5001, 7001, '1/2', 12, 12, '01.03.2024', '31.03.2024', 400.00, 0);
INSERT INTO F550TRC (CODEMP, CODCCU, CODPDV, NUMTRC, PARTRC, CODVEN, CODCLI, DATEMI, DATVCT, VLRTRC, DIAVCT)
  VALUES (1, 1, 4990, 6990, '1/1', 12, 120, '01.02.2024', '05.03.2024', 150.00, 10);
INSERT INTO F500RSV (CODEMP, CODVEN, NOMVEN, CODSUP, NOMSUP, MESMET, METVEN, GERVEN, GERDEZ, METEQP, GEREQP, VLRCOS,
  DESDIF, METDIF, GERDIF, FLXDSP, FLXGER, METCLI, GERCLI, GERNOV, SUBVEN, SUBCLI, METPRO, GERPRO)
  VALUES (1, 12, 'MARCOS PEREIRA', 3, 'ROBERTO', '12/2010', 90000, 81000, 25000, 500000, 450000, 2430,
  'LINHA LIMPEZA', 10000, 8000, 70, 150, 120, 98, 4, 1500, 2, 60, 52);
INSERT INTO F500RSV (CODEMP, CODVEN, NOMVEN, CODSUP, NOMSUP, MESMET, METVEN, GERVEN, GERDEZ, METEQP, GEREQP, VLRCOS,
  DESDIF, METDIF, GERDIF, FLXDSP, FLXGER, METCLI, GERCLI, GERNOV, SUBVEN, SUBCLI, METPRO, GERPRO)
  VALUES (1, 12, 'MARCOS PEREIRA', 3, 'ROBERTO', '01/2011', 95000, 30000, 12000, 520000, 160000, 900,
  'LINHA BEBIDAS', 12000, 3000, 70, 150, 120, 40, 1, 0, 0, 60, 30);
INSERT INTO F500RPE (CODEMP, CODCLI, CODCCU, CODPRO, QTDPEN, VLRPEN, DATPEN) VALUES (1, 12, 1, 45, 6, 19.500, '10.03.2024');
INSERT INTO F500RPE (CODEMP, CODCLI, CODCCU, CODPRO, QTDPEN, VLRPEN, DATPEN) VALUES (1, 120, 1, 46, 12, 8.500, '11.03.2024');
)SQL";

using Row = QVariantMap;

// Rounds a NUMERIC read through the driver (which carries double noise) to its scale.
double num(const QVariant &value, int scale = 3)
{
    const double factor = std::pow(10.0, scale);
    return std::round(value.toDouble() * factor) / factor;
}

QString text(const QVariant &value)
{
    return value.toString().trimmed();
}

class SchemaContract : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_db = std::make_unique<TestDatabase>();
        m_cnx = std::make_unique<FirebirdConnection>(QStringLiteral("schema_contract"));
        m_db->open(*m_cnx);
    }

    void TearDown() override
    {
        m_cnx.reset();
        m_db.reset();
    }

    void seed()
    {
        m_cnx->close();
        m_db->runScript(QString::fromUtf8(seedScript));
        m_db->open(*m_cnx);
    }

    // Runs a SELECT with named parameters bound as text (the program's way) except dates, which
    // go as dates: the driver reads a text bound to a DATE parameter as an ISO date, so a
    // month-first text would arrive as a wrong day. The test fails with the engine's message
    // when a column or relation is missing.
    QList<Row> select(const QString &sql, const QVariantMap &params = {})
    {
        QList<Row> rows;
        QSqlQuery q = m_cnx->query();
        if (!q.prepare(sql)) {
            ADD_FAILURE() << "prepare failed: " << q.lastError().text().toStdString() << "\n" << sql.toStdString();
            return rows;
        }
        for (auto it = params.cbegin(); it != params.cend(); ++it)
            q.bindValue(u':' + it.key(),
                        it.value().typeId() == QMetaType::QDate ? it.value() : QVariant(it.value().toString()));
        if (!q.exec()) {
            ADD_FAILURE() << "exec failed: " << q.lastError().text().toStdString() << "\n" << sql.toStdString();
            return rows;
        }
        // record() asks the catalogue on this driver: once per statement, not per row. Column
        // aliases come as the Latin-1 reading of their UTF-8 bytes.
        const QSqlRecord rec = q.record();
        QStringList names;
        for (int i = 0; i < rec.count(); ++i)
            names << QString::fromUtf8(rec.fieldName(i).toLatin1()).toUpper();
        while (q.next()) {
            Row row;
            for (int i = 0; i < names.size(); ++i)
                row.insert(names[i], q.value(i));
            rows << row;
        }
        return rows;
    }

    int execute(const QString &sql)
    {
        try {
            return m_cnx->execute(sql);
        } catch (const std::exception &e) {
            ADD_FAILURE() << e.what() << "\n" << sql.toStdString();
            return -1;
        }
    }

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<FirebirdConnection> m_cnx;
};

} // namespace

// --------------------------------------------------------------------------- catalogue

// Guards against a missing, misnamed or mistyped column (or a stray NOT NULL that would refuse
// the program's inserts) in any table of the contract.
TEST_F(SchemaContract, EveryTableHasTheContractColumnsAndTypes)
{
    const QList<Row> rows = select(QStringLiteral(
        "SELECT RF.RDB$RELATION_NAME TAB, RF.RDB$FIELD_NAME COL, F.RDB$FIELD_TYPE TYP, "
        "COALESCE(F.RDB$FIELD_SUB_TYPE, 0) SUB, COALESCE(F.RDB$FIELD_PRECISION, 0) PRE, "
        "COALESCE(F.RDB$FIELD_SCALE, 0) SCA, COALESCE(F.RDB$CHARACTER_LENGTH, 0) LEN, "
        "COALESCE(RF.RDB$NULL_FLAG, 0) NN "
        "FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = RF.RDB$FIELD_SOURCE "
        "JOIN RDB$RELATIONS R ON R.RDB$RELATION_NAME = RF.RDB$RELATION_NAME "
        "WHERE R.RDB$VIEW_BLR IS NULL AND COALESCE(R.RDB$SYSTEM_FLAG, 0) = 0"));

    QMap<QString, QMap<QString, QString>> actual;
    for (const Row &r : rows) {
        QString code = typeCode(r["TYP"].toInt(), r["SUB"].toInt(), r["PRE"].toInt(), r["SCA"].toInt(),
                                r["LEN"].toInt());
        if (r["NN"].toInt() == 1)
            code += u'!';
        actual[text(r["TAB"])][text(r["COL"])] = code;
    }

    for (auto t = contractColumns().cbegin(); t != contractColumns().cend(); ++t) {
        SCOPED_TRACE(t.key().toStdString());
        ASSERT_TRUE(actual.contains(t.key())) << "table missing";
        QMap<QString, QString> columns = actual.take(t.key());
        const QStringList expected = t.value().split(QStringLiteral(", "));
        for (const QString &entry : expected) {
            const QString name = entry.section(u' ', 0, 0);
            const QString code = entry.section(u' ', 1, 1);
            ASSERT_TRUE(columns.contains(name)) << "column missing: " << name.toStdString();
            EXPECT_EQ(columns.take(name), code) << "column " << name.toStdString();
        }
        EXPECT_TRUE(columns.isEmpty()) << "columns outside the contract: "
                                       << QStringList(columns.keys()).join(u',').toStdString();
    }
    EXPECT_TRUE(actual.isEmpty()) << "tables outside the contract: "
                                  << QStringList(actual.keys()).join(u',').toStdString();
}

// Guards the user table: the session reads all 18 columns with "Select *" and falls back to the
// seven minimum ones.
TEST_F(SchemaContract, UserTableAnswersBothSessionReads)
{
    seed();
    const QList<Row> all = select(QStringLiteral("Select * from F599USU"));
    ASSERT_EQ(all.size(), 1);
    EXPECT_EQ(all[0].size(), 18);
    EXPECT_EQ(text(all[0]["NOMUSU"]), "MARCOS");
    EXPECT_EQ(all[0]["HORATL"].toTime(), QTime(8, 30));
    const QList<Row> minimum =
        select(QStringLiteral("Select CODUSU, NOMUSU, SENUSU, HSTSRV, CODCCU, CODVEN, CODEMP from F599USU"));
    ASSERT_EQ(minimum.size(), 1);
    EXPECT_EQ(num(minimum[0]["CODVEN"], 0), 12);
    EXPECT_EQ(execute(QStringLiteral("UPDATE F599USU SET SENUSU = 'abc''d', EXPSEN = 'N'")), 1);
}

// Guards the reset: the catalogue listing finds exactly the contract's tables (no view or
// procedure), and an unconditional DELETE of each name as read (blank-padded) empties it.
TEST_F(SchemaContract, ResetListsEveryTableAndEmptiesItWithPlainDeletes)
{
    seed();
    const QList<Row> tables = select(QStringLiteral(
        " SELECT RDB$RELATION_NAME \"TABELAS\" FROM RDB$RELATIONS "
        " WHERE RDB$VIEW_BLR IS NULL AND (RDB$SYSTEM_FLAG = 0 OR RDB$SYSTEM_FLAG IS NULL) "
        " AND RDB$VIEW_BLR IS NULL"));
    QSet<QString> names;
    for (const Row &r : tables)
        names.insert(text(r["TABELAS"]));
    const QList<QString> contractNames = contractColumns().keys();
    EXPECT_EQ(names, QSet<QString>(contractNames.cbegin(), contractNames.cend()));

    for (const Row &r : tables)
        execute(QStringLiteral("DELETE FROM ") + r["TABELAS"].toString());
    execute(QStringLiteral("COMMIT"));
    for (const QString &name : names) {
        const QList<Row> count = select(QStringLiteral("SELECT COUNT(*) N FROM ") + name);
        ASSERT_EQ(count.size(), 1);
        EXPECT_EQ(count[0]["N"].toInt(), 0) << name.toStdString();
    }
    // The procedures still answer on an empty file.
    EXPECT_TRUE(select(QStringLiteral("SELECT * FROM PRC_LISTA_DST")).isEmpty());
}

// Guards SEMANA_MES: weeks 1 to 5 of the month, called with EXECUTE PROCEDURE (bound date or a
// month-first literal); like the server's, it is executable, not selectable.
TEST_F(SchemaContract, SemanaMesNumbersWeeksOneToFive)
{
    QSqlQuery q = m_cnx->query();
    ASSERT_TRUE(q.prepare(QStringLiteral("EXECUTE PROCEDURE SEMANA_MES(:DATA)")));
    const QList<std::pair<QDate, int>> cases = {
        {QDate(2024, 3, 1), 1},  {QDate(2024, 3, 7), 1},  {QDate(2024, 3, 8), 2}, {QDate(2024, 3, 15), 3},
        {QDate(2024, 3, 28), 4}, {QDate(2024, 3, 29), 5}, {QDate(2024, 3, 31), 5}, {QDate(2024, 2, 29), 5}};
    for (const auto &[date, week] : cases) {
        q.bindValue(QStringLiteral(":DATA"), date);
        ASSERT_TRUE(q.exec()) << q.lastError().text().toStdString();
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toInt(), week) << date.toString(Qt::ISODate).toStdString();
    }
    QSqlQuery literal = m_cnx->query();
    ASSERT_TRUE(literal.exec(QStringLiteral("EXECUTE PROCEDURE SEMANA_MES('12/09/2026')")));
    ASSERT_TRUE(literal.next());
    EXPECT_EQ(literal.value(0).toInt(), 2);
    // Procedure type 2: executable, as the server delivers it; a SELECT from it is refused.
    const QList<Row> tipo = select(QStringLiteral(
        "SELECT RDB$PROCEDURE_TYPE FROM RDB$PROCEDURES WHERE RDB$PROCEDURE_NAME = 'SEMANA_MES'"));
    ASSERT_EQ(tipo.size(), 1);
    EXPECT_EQ(tipo[0]["RDB$PROCEDURE_TYPE"].toInt(), 2);
    QSqlQuery selecionada = m_cnx->query();
    EXPECT_FALSE(selecionada.exec(QStringLiteral("SELECT SEMANA FROM SEMANA_MES('12/31/2026')")) && selecionada.next());
    EXPECT_TRUE(selecionada.lastError().databaseText().contains(QLatin1String("not selectable")));
}

// --------------------------------------------------------------------------- order entry

// Guards the flex balance statement (parameters used twice): the seller's account minus the flex
// of his orders not yet settled.
TEST_F(SchemaContract, FlexBalanceSubtractsUnsettledOrders)
{
    seed();
    const QString sql = QStringLiteral(
        "SELECT COALESCE(U.CNTSAL,0) - COALESCE(A.FLXABERTO,0) SALDOFLX FROM F512VEN U, "
        "(SELECT SUM(I.USOFLX) FLXABERTO FROM F530PDF P, F530IPF I WHERE P.CODEMP = I.CODEMP AND "
        "P.CODPDF = I.CODPDF AND P.CODINT = I.CODINT AND P.SITFLX = 'N' AND P.CODEMP = :PCODEMP AND "
        "P.CODVEN = :PCODVEN) A where U.CODEMP = :PCODEMP AND U.CODVEN = :PCODVEN");
    const QList<Row> seller12 = select(sql, {{"PCODEMP", "1"}, {"PCODVEN", "12"}});
    ASSERT_EQ(seller12.size(), 1);
    EXPECT_DOUBLE_EQ(num(seller12[0]["SALDOFLX"], 2), 70.00);
    const QList<Row> seller15 = select(sql, {{"PCODEMP", "1"}, {"PCODVEN", "15"}});
    ASSERT_EQ(seller15.size(), 1);
    EXPECT_DOUBLE_EQ(num(seller15[0]["SALDOFLX"], 2), 10.00);
}

// Guards the header lists: transactions, the customer's operations, the three-way union of
// conditions (exclusive ones hide the other normal ones), the customer row with its table and
// city, the seller names (UPPER over a code) and the tax rows of a state.
TEST_F(SchemaContract, OrderHeaderStatementsFollowTheCommercialRules)
{
    seed();
    EXPECT_EQ(select(QStringLiteral("SELECT * FROM F513TRA ORDER BY CODTRA")).size(), 2);

    const QString operations = QStringLiteral(
        "SELECT CODEMP, CODOPE, NOMOPE, TEMFLU FROM F513OPE WHERE CODOPE IN (SELECT CODOPE FROM F510OPC "
        "WHERE CODCLI = :PCODCLI AND CODEMP = :PCODEMP) AND CODEMP = :PCODEMP ORDER BY 3");
    EXPECT_EQ(select(operations, {{"PCODCLI", "12"}, {"PCODEMP", "1"}}).size(), 2);
    EXPECT_EQ(select(operations, {{"PCODCLI", "0"}, {"PCODEMP", "1"}}).size(), 1);

    const QString conditions = QStringLiteral(
        "SELECT CODEMP, CODCON, DESCON, PDVMIN, MAXDIA, SEMDBT FROM F513CON "
        "WHERE TIPCON = 'N' AND SEMDBT = 'S' AND CODEMP = :PCODEMP "
        "UNION "
        "SELECT CODEMP, CODCON, DESCON, PDVMIN, MAXDIA, SEMDBT FROM F513CON "
        "WHERE TIPCON = 'N' AND CODEMP = :PCODEMP AND (SELECT COUNT(*) FROM F510CPC P, F513CON C "
        "WHERE P.CODCON = C.CODCON AND P.CODEMP = C.CODEMP AND C.TIPCON = 'E' AND P.CODCLI = :PCODCLI "
        "AND P.CODEMP = :PCODEMP) = 0 "
        "UNION "
        "SELECT P.CODEMP, P.CODCON, C.DESCON, C.PDVMIN, C.MAXDIA, C.SEMDBT FROM F510CPC P, F513CON C "
        "WHERE P.CODCON = C.CODCON AND P.CODEMP = C.CODEMP AND C.TIPCON = 'E' AND P.CODCLI = :PCODCLI "
        "AND P.CODEMP = :PCODEMP");
    auto codes = [&](const QString &customer) {
        QSet<int> set;
        for (const Row &r : select(conditions, {{"PCODEMP", "1"}, {"PCODCLI", customer}}))
            set.insert(r["CODCON"].toInt());
        return set;
    };
    EXPECT_EQ(codes("120"), (QSet<int>{3, 4}));
    EXPECT_EQ(codes("12"), (QSet<int>{1, 2, 3}));
    EXPECT_EQ(codes("-1"), (QSet<int>{1, 2, 3}));

    const QList<Row> customer = select(
        QStringLiteral("SELECT DISTINCT C.CODCLI, C.RAZCLI, C.FANCLI, TRIM(D.NOMCID)||'-'||D.ESTCID CIDADE, "
                       "C.LIMCRE, C.CODTAB, T.DESTAB, D.ESTCID FROM F510CLI C, F511TAB T, F501CID D "
                       "WHERE C.CODTAB = T.CODTAB AND C.CODCID = D.CODCID AND C.CODEMP = :PCODEMP "
                       "AND C.CODCLI = :PCODCLI AND C.CODNOV = :PCODNOV"),
        {{"PCODEMP", "1"}, {"PCODCLI", "12"}, {"PCODNOV", "0"}});
    ASSERT_EQ(customer.size(), 1);
    EXPECT_EQ(text(customer[0]["CIDADE"]), QStringLiteral("SÃO PAULO-SP"));
    EXPECT_EQ(text(customer[0]["DESTAB"]), QStringLiteral("TABELA PADRÃO"));

    const QList<Row> finance = select(
        QStringLiteral("SELECT CODCLI, IIF(ABTCLI IS NULL,0,ABTCLI) AS ABERTO, IIF(ATRCLI IS NULL, 0, ATRCLI) "
                       "AS VENCIDO FROM F510CLI WHERE CODCLI = :PCODCLI"),
        {{"PCODCLI", "120"}});
    ASSERT_EQ(finance.size(), 1);
    EXPECT_DOUBLE_EQ(num(finance[0]["VENCIDO"], 2), 150.00);

    const QList<Row> names = select(
        QStringLiteral("SELECT MAX(VEN) NOMVEN, MAX(SUB) NOMSUB FROM ("
                       "SELECT NOMVEN VEN, '' SUB FROM F512VEN WHERE CODEMP = :PCODEMP AND UPPER(CODVEN) LIKE UPPER(:PCODVEN) "
                       "UNION SELECT '' VEN, NOMVEN SUB FROM F512VEN WHERE CODEMP = :PCODEMP AND UPPER(CODVEN) LIKE UPPER(:PCODSUB))"),
        {{"PCODEMP", "1"}, {"PCODVEN", "15"}, {"PCODSUB", "12"}});
    ASSERT_EQ(names.size(), 1);
    EXPECT_EQ(text(names[0]["NOMVEN"]), QStringLiteral("JOÃO BATISTA"));
    EXPECT_EQ(text(names[0]["NOMSUB"]), QStringLiteral("MARCOS PEREIRA"));

    const QList<Row> taxes = select(
        QStringLiteral("SELECT * FROM F511IMP WHERE CODEMP = :PCODEMP AND UPPER(ESTCID) LIKE UPPER(:PESTCID)"),
        {{"PCODEMP", "1"}, {"PESTCID", "sp"}});
    ASSERT_EQ(taxes.size(), 2);
    EXPECT_DOUBLE_EQ(num(taxes[0]["CFTICM"], 6) + num(taxes[1]["CFTICM"], 6), 1.6111);

    const QList<Row> discount = select(
        QStringLiteral("SELECT IIF(PORDES = NULL,0,PORDES) PORDES FROM F513DES WHERE CODOPE = :PCODOPE "
                       "AND CODEMP = :PCODEMP AND CODCON = :PCODCON"),
        {{"PCODOPE", "1"}, {"PCODEMP", "1"}, {"PCODCON", "1"}});
    ASSERT_EQ(discount.size(), 1);
    EXPECT_DOUBLE_EQ(num(discount[0]["PORDES"], 2), 5.00);
}

// Guards the customer's last purchases: orders joined to their non-bonus transaction, latest day
// per product.
TEST_F(SchemaContract, LastPurchasesTakeTheLatestDayPerProduct)
{
    seed();
    const QList<Row> rows = select(QStringLiteral(
        "SELECT P.DATPDF, I.CODPRO, I.CODCCU, MAX(I.QTDPRO) QTDPRO, MAX(I.VLRUNT) VLRUNT "
        "FROM F530PDF P, F530IPF I, F513TRA T, "
        "(SELECT MAX(P.DATPDF) ULTIMA_COMPRA, I.CODPRO FROM F530PDF P, F530IPF I, F513TRA T "
        " WHERE P.CODPDF = I.CODPDF AND P.CODEMP = I.CODEMP AND P.CODINT = I.CODINT AND P.CODTRA = T.CODTRA "
        " AND P.CODEMP = T.CODEMP AND T.GERBON = 'N' AND P.CODCLI = :PCODCLI AND I.CODPRO IS NOT NULL "
        " GROUP BY I.CODPRO) X "
        "WHERE P.CODPDF = I.CODPDF AND P.CODEMP = I.CODEMP AND P.CODINT = I.CODINT AND P.CODTRA = T.CODTRA "
        "AND P.CODEMP = T.CODEMP AND T.GERBON = 'N' AND P.CODCLI = :PCODCLI AND I.CODPRO IS NOT NULL "
        "AND I.CODPRO = X.CODPRO AND P.DATPDF = X.ULTIMA_COMPRA GROUP BY P.DATPDF, I.CODPRO, I.CODCCU"),
        {{"PCODCLI", "12"}});
    ASSERT_EQ(rows.size(), 2);
    for (const Row &r : rows)
        EXPECT_EQ(r["DATPDF"].toDate(), QDate(2024, 3, 15));
}

// Guards the product picker's price derivation: product, family, group, table, commission maxima
// and today's promotion joined as the list builds them; a scale whose maximum is 0 falls back to
// the table's MAXDCT, and the pick-up factor only reaches families with RETPDV 'S'.
TEST_F(SchemaContract, ProductPickerStatementPricesTheTable)
{
    seed();
    const QString sql = QStringLiteral(
        "SELECT DISTINCT CODEMP, CODFAM, DESFAM, CODCCU, CODPRO, DESPRO, UNDPRO, PRCVEN, PRCTAB, NOVPRV, SITALT, "
        "DATALT, VERFAM, CODORD, DISPRO, FATPRO, PESPRO, DESCOS, MAXDCT, RJTTAB, CODCOS, PRZMAX, VLRPRM, CODGFA FROM ("
        "SELECT DISTINCT G.CODGFA, P.CODEMP, P.CODFAM, F.DESFAM, P.CODCCU, P.CODPRO, P.DESPRO, P.UNDPRO, P.DISPRO, "
        "P.FATPRO, P.PESPRO, T.DESCOS, T.NOVPRV, T.SITALT, T.DATALT, T.RJTTAB, 'N' AS VERFAM, "
        "((G.CODGFA * 100000) + (F.CODFAM *10) + 1) CODORD, T.CODCOS, IIF(C.MAXDCT = 0,T.MAXDCT,C.MAXDCT) MAXDCT, "
        "IIF(F.RETPDV = 'S',( CAST((T.PRCVEN * 0.95) * 0.97 as numeric(15,3)))/0.98,"
        "(CAST(T.PRCVEN * 0.95 as numeric(15,3)))/0.98) PRCVEN, "
        "IIF(F.RETPDV = 'S',  CAST((T.PRCVEN * 0.95) * 0.97  as numeric(15,3)) ,CAST(T.PRCVEN * 0.95 as numeric(15,3))) PRCTAB, "
        "R.PRZMAX, R.VLRPRM "
        "FROM F511PRO P, F511FAM F, F511TAB T "
        "LEFT JOIN (SELECT * FROM F511PRM WHERE DATINI <= '03/15/2024' AND DATFIM >= '03/15/2024') R "
        "ON T.CODEMP = R.CODEMP AND T.CODCCU = R.CODCCU AND T.CODPRO = R.CODPRO, "
        "F511GFA G, F511IFA I, (SELECT CODEMP, CODCOS, MAX(PCTDCT) MAXDCT FROM F512COS GROUP BY CODEMP, CODCOS) C "
        "WHERE T.CODEMP = P.CODEMP AND T.CODCCU = P.CODCCU AND T.CODPRO = P.CODPRO "
        "AND P.CODFAM = F.CODFAM AND P.CODCCU = F.CODCCU AND P.CODEMP = F.CODEMP "
        "AND F.CODFAM = I.CODFAM AND F.CODCCU = I.CODCCU AND F.CODEMP = I.CODEMP "
        "AND I.CODEMP = G.CODEMP AND I.CODCCU = G.CODCCU AND I.CODGFA = G.CODGFA "
        "AND T.CODCOS = C.CODCOS AND T.CODEMP = C.CODEMP "
        "AND P.CODEMP = 1 AND T.CODTAB = 1 "
        "AND SUBSTRING('0000000'||P.CODPRO FROM (CHAR_LENGTH('0000000'||P.CODPRO)-6) FOR 7) LIKE '00000%' "
        "AND SUBSTRING('0000'||P.CODFAM FROM (CHAR_LENGTH('0000'||P.CODFAM)-3) FOR 4) LIKE '00%' "
        "AND SUBSTRING('00000'||G.CODGFA FROM (CHAR_LENGTH('00000'||G.CODGFA)-4) FOR 5) LIKE '00001%' "
        "AND UPPER(P.DESPRO) LIKE UPPER('%%') "
        "UNION "
        "SELECT DISTINCT G.CODGFA, F.CODEMP, F.CODFAM, F.DESFAM, F.CODCCU, F.CODFAM, F.DESFAM, '' UND, NULL DISPRO, "
        "NULL FATPRO, NULL PESPRO, '' DESCOS, NULL NOV, '' ATL, NULL DAT, NULL RJTTAB, 'S' AS VERFAM, "
        "((G.CODGFA * 100000) + (F.CODFAM *10)) CODORD, NULL CODCOS, NULL MAXDCT, NULL PRCVEN, NULL PRCTAB, "
        "NULL PRZMAX, NULL VLRPRM "
        "FROM F511FAM F, F511PRO P, F511TAB T, F511GFA G, F511IFA I "
        "WHERE F.CODEMP = P.CODEMP AND F.CODCCU = P.CODCCU AND F.CODFAM = P.CODFAM AND P.CODEMP = T.CODEMP "
        "AND P.CODCCU = T.CODCCU AND P.CODPRO = T.CODPRO AND F.CODFAM = I.CODFAM AND F.CODCCU = I.CODCCU "
        "AND F.CODEMP = I.CODEMP AND I.CODEMP = G.CODEMP AND I.CODCCU = G.CODCCU AND I.CODGFA = G.CODGFA "
        "AND F.CODEMP = 1 AND T.CODTAB = 1) ORDER BY 14, 6");
    const QList<Row> rows = select(sql);
    ASSERT_EQ(rows.size(), 4); // two family headers, two products
    QMap<int, Row> products;
    for (const Row &r : rows)
        if (text(r["VERFAM"]) == "N")
            products.insert(r["CODPRO"].toInt(), r);
    ASSERT_EQ(products.size(), 2);
    // Rice: family with pick-up discount, scale maximum 5, promotion valid on the day.
    EXPECT_DOUBLE_EQ(num(products[45]["PRCTAB"]), 18.430);
    EXPECT_DOUBLE_EQ(num(products[45]["MAXDCT"], 2), 5.00);
    EXPECT_EQ(num(products[45]["PRZMAX"], 0), 28);
    EXPECT_DOUBLE_EQ(num(products[45]["VLRPRM"]), 18.500);
    // Oil: scale whose maximum is 0 -> table MAXDCT; promotion starts later -> none today.
    EXPECT_DOUBLE_EQ(num(products[46]["PRCTAB"]), 8.075);
    EXPECT_DOUBLE_EQ(num(products[46]["MAXDCT"], 2), 7.00);
    EXPECT_TRUE(products[46]["VLRPRM"].isNull());
    EXPECT_LT(num(products[46]["RJTTAB"], 2), 0);
}

// Guards the save checks: cost centres of the company, the operation per cost centre and the
// names of the customer's operations a cost centre allows.
TEST_F(SchemaContract, SavingChecksPerCostCentre)
{
    seed();
    EXPECT_EQ(select(QStringLiteral("SELECT DISTINCT CODCCU, DESCCU FROM F515CCU WHERE CODEMP = :PCODEMP"),
                     {{"PCODEMP", "1"}}).size(), 2);
    const QString allowed = QStringLiteral(
        "SELECT * FROM F513OCU WHERE CODEMP = :PCODEMP AND CODCCU = :PCODCCU AND CODOPE = :PCODOPE");
    EXPECT_EQ(select(allowed, {{"PCODEMP", "1"}, {"PCODCCU", "2"}, {"PCODOPE", "1"}}).size(), 1);
    EXPECT_TRUE(select(allowed, {{"PCODEMP", "1"}, {"PCODCCU", "2"}, {"PCODOPE", "2"}}).isEmpty());
    const QList<Row> names = select(
        QStringLiteral("SELECT DISTINCT O.NOMOPE FROM F513OPE O, F510OPC C WHERE O.CODOPE = C.CODOPE AND "
                       "O.CODEMP = C.CODEMP AND C.CODCLI = :PCODCLI AND O.CODOPE IN (SELECT CODOPE FROM F513OCU "
                       "WHERE CODEMP = :PCODEMP AND CODCCU = :PCODCCU)"),
        {{"PCODCLI", "12"}, {"PCODEMP", "1"}, {"PCODCCU", "2"}});
    ASSERT_EQ(names.size(), 1);
    EXPECT_EQ(text(names[0]["NOMOPE"]), QStringLiteral("VENDA COM ST"));
}

// Guards the order list (invoiced value from items), the one-order reads, and the copy statements
// whose column lists name every column of header and items.
TEST_F(SchemaContract, OrderListReadAndCopyStatements)
{
    seed();
    const QList<Row> list = select(
        QStringLiteral("SELECT P.CODEMP, P.CODPDF, P.CODINT, P.DATPDF, P.PDFORC, P.CODCLI, C.RAZCLI, P.TOTPDF, "
                       "P.SITPDF, SUM(I.QTDFAT*I.VLRFAT) TOTFAT FROM F530PDF P, F530IPF I, F510CLI C "
                       "WHERE P.CODEMP = I.CODEMP AND P.CODPDF = I.CODPDF AND P.CODCLI = C.CODCLI AND "
                       "P.CODNOV = C.CODNOV AND P.CODEMP = :PCODEMP AND P.CODPDF LIKE :PCODPDF AND C.RAZCLI LIKE "
                       ":PRAZCLI AND P.DATPDF >= :PDATINI AND P.DATPDF <= :PDATFIM AND P.SITPDF LIKE :PSITPDF AND "
                       "IIF(P.PDFORC IS NULL,'N',P.PDFORC) LIKE :PPDFORC GROUP BY P.CODEMP, P.CODPDF, P.CODINT, "
                       "P.DATPDF, P.CODCLI, C.RAZCLI, P.TOTPDF, P.SITPDF, P.PDFORC"),
        {{"PCODEMP", "1"}, {"PCODPDF", "%"}, {"PRAZCLI", "%"}, {"PDATINI", QDate(1900, 1, 1)},
         {"PDATFIM", QDate(2124, 12, 31)}, {"PSITPDF", "%"}, {"PPDFORC", "%"}});
    ASSERT_EQ(list.size(), 4);
    for (const Row &r : list) {
        if (r["CODPDF"].toInt() == 2) {
            EXPECT_DOUBLE_EQ(num(r["TOTFAT"], 4), 117.0);
        }
    }

    EXPECT_EQ(select(QStringLiteral("SELECT * FROM F530PDF WHERE CODEMP = :PCODEMP AND CODPDF = :PCODPDF AND "
                                    "CODINT = :PCODINT"),
                     {{"PCODEMP", "1"}, {"PCODPDF", "2"}, {"PCODINT", "5001"}}).size(), 1);
    const QList<Row> items = select(
        QStringLiteral("SELECT 'N' AS VLDITM, I.* FROM F530IPF I WHERE I.CODEMP = :PCODEMP AND I.CODPDF = :PCODPDF "
                       "AND I.CODINT = :PCODINT"),
        {{"PCODEMP", "1"}, {"PCODPDF", "1"}, {"PCODINT", "0"}});
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0].size(), 28);

    // Copy of the pending quantities of order 2 into number 10, items before header.
    EXPECT_EQ(execute(QStringLiteral(
                  " INSERT INTO F530IPF (CODEMP,CODCCU,CODPDF,CODPRO,CODINT,DESPRO,UNDPRO,QTDPRO,VLRUNT,VLRTOT,USOFLX,"
                  "QTDFAT,VLRFAT,FATPRO,MAXDCT,PRCVEN,PRCTAB,TABCOS,CODCOS,GERFLX,ITMPRM,SITFLX,SITIPF)"
                  " SELECT CODEMP,CODCCU,10 AS CODPDF,CODPRO,0 AS CODINT,DESPRO,UNDPRO,(QTDPRO-QTDFAT) QTD,VLRUNT,"
                  "((QTDPRO-QTDFAT) * VLRUNT) TOT,(USOFLX/QTDPRO)*(QTDPRO-QTDFAT) FLX,0 AS QTDFAT,0 AS VLRFAT, "
                  "FATPRO,MAXDCT,PRCVEN,PRCTAB,TABCOS,CODCOS, (GERFLX/QTDPRO)*(QTDPRO-QTDFAT) GERFLX, ITMPRM, 'S', 'D' "
                  " FROM F530IPF WHERE CODEMP = '1' AND   CODPDF = '2' AND   CODINT = '5001' AND   QTDPRO > QTDFAT ")),
              1);
    EXPECT_EQ(execute(QStringLiteral(
                  " INSERT INTO F530PDF (CODEMP,CODPDF,CODINT,CODTAB,DATPDF,CODCLI,CODNOV,TOTPDF,TOTFLX,CODTRA,CODCON,"
                  "CODOPE,SITPDF,CODVEN,OBSCLI,MOTCAN,SITFLX,PDFORC,RETPDV,VENSUB)  SELECT CODEMP,10 AS CODPDF,0 AS "
                  "CODINT,CODTAB,'03-15-2024' AS DATPDF,CODCLI,CODNOV,TOTPDF,TOTFLX,CODTRA,CODCON,CODOPE,'D' AS SITPDF,"
                  "CODVEN,OBSCLI, NULL AS MOTCAN,'N' SITFLX, PDFORC, RETPDV, VENSUB  FROM F530PDF  WHERE CODEMP = '1' "
                  "AND   CODPDF = '2' AND   CODINT = '5001'")),
              1);
    const QList<Row> copy = select(QStringLiteral("SELECT QTDPRO, USOFLX, VLRTOT FROM F530IPF WHERE CODPDF = 10"));
    ASSERT_EQ(copy.size(), 1);
    EXPECT_DOUBLE_EQ(num(copy[0]["QTDPRO"], 2), 6.0);
    EXPECT_DOUBLE_EQ(num(copy[0]["USOFLX"], 2), 20.0);
    EXPECT_DOUBLE_EQ(num(copy[0]["VLRTOT"], 3), 120.0);
}

// Guards the carry-over of budgets across a replacement (text key of header and items).
TEST_F(SchemaContract, BudgetStatementsFindBudgetsAndTheirItems)
{
    seed();
    EXPECT_EQ(select(QStringLiteral("SELECT * FROM F530PDF WHERE PDFORC = 'S'")).size(), 1);
    const QList<Row> items = select(QStringLiteral(
        "SELECT 'N' AS VLDITM, I.* FROM F530IPF I WHERE I.CODEMP||'-'||I.CODPDF||'-'||I.CODINT IN "
        "(SELECT CODEMP||'-'||CODPDF||'-'||CODINT FROM F530PDF WHERE PDFORC = 'S')"));
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0]["CODPDF"].toInt(), 4);
}

// --------------------------------------------------------------------------- customers and route

// Guards the customer list (numeric codes matched with LIKE on text), the city lists, and the
// route: SEMANA_MES feeds SEMMES, blocked customers are left out, customers with an order that day
// come first and cancelled orders do not count.
TEST_F(SchemaContract, CustomerListAndRouteOfTheDay)
{
    seed();
    const QString customers = QStringLiteral(
        "SELECT C.*, D.NOMCID, D.ESTCID FROM F510CLI C, F501CID D WHERE C.CODCID = D.CODCID AND C.CODEMP = "
        ":PCODEMP AND C.CODCLI LIKE :PCODCLI AND C.RAZCLI LIKE :PRAZCLI AND C.SITCLI LIKE :PSITCLI AND "
        "C.CPFCGC LIKE :PCPFCGC ORDER BY C.CODNOV DESC, C.RAZCLI");
    const QList<Row> byCode = select(customers, {{"PCODEMP", "1"}, {"PCODCLI", "12%"}, {"PRAZCLI", "%"},
                                                 {"PSITCLI", "%"}, {"PCPFCGC", "%"}});
    EXPECT_EQ(byCode.size(), 2); // 12 and 120
    const QList<Row> all = select(
        QStringLiteral("SELECT C.*, D.NOMCID, D.ESTCID FROM F510CLI C, F501CID D WHERE C.CODCID = D.CODCID AND "
                       "C.CODEMP = :PCODEMP AND C.CODCLI LIKE :PCODCLI AND C.RAZCLI LIKE :PRAZCLI AND "
                       "C.SITCLI LIKE :PSITCLI ORDER BY C.CODNOV DESC, C.RAZCLI"),
        {{"PCODEMP", "1"}, {"PCODCLI", "%"}, {"PRAZCLI", "%"}, {"PSITCLI", "%"}});
    ASSERT_EQ(all.size(), 4);
    EXPECT_EQ(num(all[0]["CODNOV"], 0), 9900001); // notebook customers first

    EXPECT_EQ(select(QStringLiteral("SELECT DISTINCT ESTCID FROM F501CID WHERE CODEMP = :PCODEMP"),
                     {{"PCODEMP", "1"}}).size(), 2);
    const QList<Row> cities = select(
        QStringLiteral("SELECT DISTINCT CODCID, TRIM(NOMCID)||'-'||ESTCID CIDADE, NOMCID, ESTCID FROM F501CID "
                       "WHERE CODEMP = :PCODEMP AND ESTCID LIKE :PESTCID"),
        {{"PCODEMP", "1"}, {"PESTCID", "MG"}});
    ASSERT_EQ(cities.size(), 1);
    EXPECT_EQ(text(cities[0]["CIDADE"]), QStringLiteral("BELO HORIZONTE-MG"));
    EXPECT_EQ(select(QStringLiteral("SELECT * FROM F510TIP ORDER BY DESTIP")).size(), 2);

    QSqlQuery week = m_cnx->query();
    ASSERT_TRUE(week.exec(QStringLiteral("EXECUTE PROCEDURE SEMANA_MES('03/15/2024')"))); // a Friday
    ASSERT_TRUE(week.next());
    const QString semana = QString::number(week.value(0).toInt());

    const QList<Row> route = select(
        QStringLiteral("SELECT DISTINCT C.CODCLI, C.RAZCLI, C.OBSCLI, C.EMIAVS, '('||C.DDAEND||') '||C.TEAEND TELEND, "
                       "C.ENDEND||','||C.NUMEND ENDCLI, COALESCE(P.CODCLI,0) TEMPED, "
                       "(SELECT NOMCID FROM f501CID A WHERE A.CODCID = C.CODCID AND A.CODEMP = C.CODEMP) NOMCID "
                       "FROM F510CLI C LEFT JOIN (SELECT CODEMP, CODCLI FROM F530PDF WHERE SITPDF <> 'C' AND "
                       "DATPDF = :PDATPDV) P ON C.CODEMP = P.CODEMP AND C.CODCLI = P.CODCLI, F510ROT R "
                       "WHERE C.CODCLI = R.CODCLI AND C.CODEMP = R.CODEMP AND C.SITCLI <> 'B' AND "
                       "R.DIASEM LIKE :PDIASEM AND R.SEMMES LIKE :PSEMMES order by TEMPED desc"),
        {{"PDATPDV", QDate(2024, 3, 15)}, {"PDIASEM", "5"}, {"PSEMMES", semana}});
    ASSERT_EQ(route.size(), 2);
    EXPECT_EQ(route[0]["CODCLI"].toInt(), 12);
    EXPECT_EQ(route[0]["TEMPED"].toInt(), 12);
    EXPECT_EQ(text(route[0]["TELEND"]), QStringLiteral("(11) 33334444"));
    EXPECT_EQ(route[1]["CODCLI"].toInt(), 120);
    EXPECT_EQ(route[1]["TEMPED"].toInt(), 0); // its only order of the day is cancelled
}

// Guards the titles window: overdue filter on DIAVCT, period on DATVCT, customer code as typed.
TEST_F(SchemaContract, TitlesQueryFiltersOverdueAndPeriod)
{
    seed();
    const QString sql = QStringLiteral(
        "SELECT T.*, C.RAZCLI FROM F550TRC T, F510CLI C WHERE T.CODEMP = C.CODEMP AND T.CODCLI = C.CODCLI "
        "AND T.CODEMP = :PCODEMP AND T.CODCLI LIKE :PCODCLI AND C.RAZCLI LIKE :PRAZCLI AND T.DATVCT >= :PDATINI "
        "AND T.DATVCT <= :PDATFIM AND IIF(T.DIAVCT > 0,'S','N') LIKE :PSITVCT");
    QVariantMap p = {{"PCODEMP", "1"}, {"PCODCLI", "%"}, {"PRAZCLI", "%"}, {"PDATINI", QDate(1900, 1, 1)},
                     {"PDATFIM", QDate(2124, 12, 31)}, {"PSITVCT", "%"}};
    EXPECT_EQ(select(sql, p).size(), 2);
    p["PSITVCT"] = "S";
    const QList<Row> overdue = select(sql, p);
    ASSERT_EQ(overdue.size(), 1);
    EXPECT_EQ(overdue[0]["CODCLI"].toInt(), 120);
    p["PSITVCT"] = "%";
    p["PCODCLI"] = "12";
    EXPECT_EQ(select(sql, p).size(), 1);
    p["PCODCLI"] = "%";
    p["PDATINI"] = QDate(2024, 3, 1);
    p["PDATFIM"] = QDate(2024, 3, 31);
    EXPECT_EQ(select(sql, p).size(), 2);
    p["PDATFIM"] = QDate(2024, 3, 30);
    EXPECT_EQ(select(sql, p).size(), 1);
}

// Guards the products window's own statements: table list, groups, families of a group and the
// coming promotions.
TEST_F(SchemaContract, CatalogueWindowStatements)
{
    seed();
    EXPECT_EQ(select(QStringLiteral("SELECT CODTAB, DESTAB FROM F511TAB GROUP BY CODTAB, DESTAB ORDER BY CODTAB")).size(), 2);
    EXPECT_EQ(select(QStringLiteral("SELECT * FROM F511GFA ORDER BY DESGFA")).size(), 1);
    const QString families = QStringLiteral(
        "SELECT F.CODFAM, F.DESFAM, G.CODGFA FROM F511FAM F, F511IFA G WHERE F.CODEMP = G.CODEMP AND F.CODCCU = "
        "G.CODCCU AND F.CODFAM = G.CODFAM AND EXISTS (SELECT CODGFA FROM f511IFA I WHERE I.CODFAM = F.CODFAM AND "
        "I.CODCCU = F.CODCCU AND I.CODEMP = F.CODEMP AND SUBSTRING('00000'||I.CODGFA FROM "
        "(CHAR_LENGTH('00000'||I.CODGFA)-4) FOR 5)LIKE :CODGFA ||'%') ORDER BY F.DESFAM");
    EXPECT_EQ(select(families, {{"CODGFA", "00001"}}).size(), 2);
    EXPECT_EQ(select(families, {{"CODGFA", ""}}).size(), 2);
    EXPECT_TRUE(select(families, {{"CODGFA", "00002"}}).isEmpty());
    const QList<Row> promotions = select(
        QStringLiteral("SELECT P.CODEMP, P.CODCCU, P.CODPRO, P.DESPRO, R.DATINI, R.DATFIM, R.PRZMAX, R.VLRPRM "
                       "FROM F511PRO P, F511PRM R WHERE P.CODEMP = R.CODEMP AND P.CODCCU = R.CODCCU AND "
                       "P.CODPRO = R.CODPRO AND P.CODEMP = :PCODEMP AND R.DATINI >= :PDATINI AND R.DATINI <= :PDATFIM "),
        {{"PCODEMP", "1"}, {"PDATINI", QDate(2024, 3, 15)}, {"PDATFIM", QDate(2124, 3, 15)}});
    ASSERT_EQ(promotions.size(), 1);
    EXPECT_EQ(promotions[0]["CODPRO"].toInt(), 46);
}

// --------------------------------------------------------------------------- messages

// Guards the message lists: received with the sender's name, sent with the recipients joined by
// prc_lista_dst (a message without recipients is not listed), and the recipient grid.
TEST_F(SchemaContract, MessageListsJoinNamesAndRecipients)
{
    seed();
    const QList<Row> received = select(
        QStringLiteral("SELECT M.CODMSG, M.USUREM , U.NOMUSU, M.TITMSG, M.DATMSG, M.SITMSG, M.DESMSG FROM F599MSG M, "
                       "F599MSU U WHERE M.USUREM = U.CODUSU AND M.CODEMP = U.CODEMP AND M.ENVMSG = 'R' AND "
                       "M.CODEMP = :PCODEMP AND M.SITMSG LIKE :PSITMSG ORDER BY M.DATMSG DESC"),
        {{"PCODEMP", "1"}, {"PSITMSG", "%"}});
    ASSERT_EQ(received.size(), 2);
    EXPECT_EQ(text(received[0]["NOMUSU"]), QStringLiteral("ROBERTO"));
    EXPECT_EQ(text(received[0]["TITMSG"]), QStringLiteral("META DE MARÇO"));

    const QList<Row> sent = select(
        QStringLiteral("SELECT DISTINCT M.CODMSG, P.nomdst, M.TITMSG, M.DATMSG, M.ENVMSG, M.DESMSG FROM F599MSG M, "
                       "prc_lista_dst P WHERE M.CODEMP = P.CODEMP AND M.CODMSG = P.CODMSG AND M.CODEMP = :PCODEMP "
                       "AND M.USUREM = :PCODUSU AND M.ENVMSG in ('N','E') ORDER BY M.DATMSG DESC"),
        {{"PCODEMP", "1"}, {"PCODUSU", "7"}});
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(sent[0]["CODMSG"].toInt(), 3);
    EXPECT_EQ(text(sent[0]["NOMDST"]), QStringLiteral("ANA, ROBERTO"));
    EXPECT_EQ(text(sent[1]["NOMDST"]), QStringLiteral("ROBERTO"));

    const QList<Row> recipients = select(
        QStringLiteral("SELECT M.*, U.NOMUSU FROM F599MDT M, F599MSU U WHERE M.CODUSU = U.CODUSU AND M.CODEMP = "
                       "U.CODEMP AND M.CODEMP = :PCODEMP AND M.CODMSG = :PCODMSG ORDER BY U.NOMUSU"),
        {{"PCODEMP", "1"}, {"PCODMSG", "3"}});
    EXPECT_EQ(recipients.size(), 2);
    EXPECT_EQ(select(QStringLiteral("SELECT CODUSU, NOMUSU FROM F599MSU WHERE CODUSU > 0 AND CODEMP = :PCODEMP "
                                    "ORDER BY NOMUSU"),
                     {{"PCODEMP", "1"}}).size(), 3);

    EXPECT_EQ(execute(QStringLiteral("DELETE FROM F599MSG WHERE CODEMP = 1 AND CODMSG = 3")), 1);
    EXPECT_EQ(execute(QStringLiteral(" INSERT INTO F599MSG (CODMSG, CODEMP ,USUREM, TITMSG, DESMSG, DATMSG, SITMSG, "
                                     "ENVMSG)  VALUES (3,1,7,'VISITA','Texto com ''aspas''','03-16-2024','L','N')")),
              1);
    EXPECT_EQ(execute(QStringLiteral("UPDATE F599MSG SET SITMSG = 'A' WHERE SITMSG = 'N' AND CODEMP = 1 AND CODMSG = 1")), 1);
}

// A recipient list longer than NOMDST is shortened, never an error that empties the sent list.
TEST_F(SchemaContract, RecipientNamesAreCutToTheColumnWidth)
{
    seed();
    for (int user = 100; user < 130; ++user) {
        execute(QStringLiteral("INSERT INTO F599MSU (CODEMP, CODUSU, NOMUSU) VALUES (1, %1, 'USUARIO NUMERO %1')")
                    .arg(user));
        execute(QStringLiteral("INSERT INTO F599MDT (CODEMP, CODMSG, CODUSU) VALUES (1, 4, %1)").arg(user));
    }
    const QList<Row> rows =
        select(QStringLiteral("SELECT NOMDST FROM PRC_LISTA_DST WHERE CODEMP = 1 AND CODMSG = 4"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0]["NOMDST"].toString().size(), 200);
}

// --------------------------------------------------------------------------- supervisor, reports, sync

// Guards the supervisor console's statements: bonus search and header with the rule tables,
// bonus items, sellers, and the flex movements with the two seller names (advance without
// destination still listed).
TEST_F(SchemaContract, SupervisorConsoleStatements)
{
    seed();
    const QList<Row> bonus = select(
        QStringLiteral("SELECT P.CODEMP, P.CODCCU, P.CODPDV, P.DATPDF, P.CODCLI, P.RAZCLI, P.TOTPDF, P.AUTBON, "
                       "P.CODVEN, V.NOMVEN FROM F530BON P, F512VEN V WHERE P.CODVEN = V.CODVEN AND P.CODEMP = "
                       ":PCODEMP AND P.CODVEN LIKE :PCODVEN AND P.DATPDF >= :PDATINI AND P.DATPDF <= :PDATFIM "
                       "AND P.AUTBON LIKE :PAUTBON ORDER BY P.DATPDF, p.codpdv"),
        {{"PCODEMP", "1"}, {"PCODVEN", "%"}, {"PDATINI", QDate(1900, 1, 1)}, {"PDATFIM", QDate(2124, 12, 31)}, {"PAUTBON", "P"}});
    ASSERT_EQ(bonus.size(), 1);
    const QList<Row> header = select(
        QStringLiteral("SELECT P.CODPDV, P.DATPDF, P.CODCLI, P.RAZCLI, P.codtra, T.DESTRA, P.codope, O.NOMOPE, "
                       "P.codcon,  C.DESCON FROM F530BON P, f513tra T, f513ope O, f513con C WHERE P.CODTRA = "
                       "T.CODTRA AND P.CODOPE = O.CODOPE AND P.CODCON = C.CODCON AND P.CODEMP = :PCODEMP AND "
                       "P.CODPDV = :PCODPDV AND P.CODCCU = :PCODCCU"),
        {{"PCODEMP", "1"}, {"PCODPDV", "9001"}, {"PCODCCU", "1"}});
    ASSERT_EQ(header.size(), 1);
    EXPECT_EQ(text(header[0]["DESCON"]), QStringLiteral("BONIFICAÇÃO"));
    EXPECT_EQ(select(QStringLiteral("SELECT * FROM F530IBO WHERE CODEMP = :PCODEMP AND CODPDV = :PCODPDV AND "
                                    "CODCCU = :PCODCCU"),
                     {{"PCODEMP", "1"}, {"PCODPDV", "9001"}, {"PCODCCU", "1"}}).size(), 1);
    EXPECT_EQ(select(QStringLiteral("SELECT * FROM F512VEN WHERE CODEMP = :PCODEMP ORDER BY NOMVEN"),
                     {{"PCODEMP", "1"}}).size(), 2);
    const QList<Row> moves = select(
        QStringLiteral("SELECT M.*, O.NOMVEN \"NOMORI\", D.NOMVEN \"NOMDES\" FROM F512MTF M LEFT JOIN F512VEN D ON "
                       "M.VENDES = D.CODVEN , F512VEN O WHERE M.VENORI = O.CODVEN AND M.CODEMP = :PCODEMP AND "
                       "M.CODSUP = :PCODSUP ORDER BY M.DATMOV DESC"),
        {{"PCODEMP", "1"}, {"PCODSUP", "3"}});
    ASSERT_EQ(moves.size(), 2);
    EXPECT_TRUE(moves[0]["NOMDES"].isNull());
    EXPECT_EQ(execute(QStringLiteral(" UPDATE F530BON SET AUTBON = 'A' WHERE CODPDV = 9001 AND CODCCU = 1 AND CODEMP = 1")), 1);
}

// Guards the report queries and the goal window: sales summary union, pending items, order print
// with its seven-table join, synthetic report, months in text order and gauges in date order.
TEST_F(SchemaContract, ReportAndGoalQueries)
{
    seed();
    QStringList parts;
    const QStringList refs = {"'VENDAS GERAL', METVEN, GERVEN, FLXDSP, FLXGER", "DESDIF, METDIF, GERDIF, 0, 0",
                              "'CLIENTES GERAL', METCLI, GERCLI, 0, 0", "'CLIENTES NOVOS', 0, GERNOV, 0, 0",
                              "'VENDAS SUB.', 0, SUBVEN, 0, 0", "'CLIENTES SUB.', 0, SUBCLI, 0, 0",
                              "'MIX PRODUTOS(%)', METPRO, GERPRO, 0, 0"};
    for (int i = 0; i < refs.size(); ++i) {
        const QStringList c = refs[i].split(QStringLiteral(", "));
        parts << QStringLiteral("SELECT %1 REFERENCIA, %2 \"OBJETIVO#(2)#\", %3 \"REALIZADO#(2)#\", %4 \"SALDO FLEX#(2)#\", "
                                "%5 \"ACUM. FLEX#(2)#\", NOMVEN||' - '||MESMET \"VENDEDOR_OCULT\", %6 \"ORDEM_OCULT\" "
                                "FROM F500RSV WHERE CODVEN = '12' AND   CODEMP = '1' AND MESMET = '12/2010'")
                     .arg(c[0], c[1], c[2], c[3], c[4])
                     .arg(i + 1);
    }
    EXPECT_EQ(select(parts.join(QStringLiteral(" UNION ")) + QStringLiteral(" ORDER BY 6, 7 ")).size(), 7);

    const QList<Row> pending = select(QStringLiteral(
        "SELECT P.CODCLI \"Cliente\", C.RAZCLI \"Razão Social\", P.CODPRO \"Produto\", R.DESPRO \"Descrição\", "
        "R.UNDPRO \"Und.\", R.DISPRO \"Estoque#(2)#\", P.QTDPEN \"Qtde.#(2)#\", P.VLRPEN \"Vl. Unit.#(3)#\", "
        "P.DATPEN \"DATA_OCULT\", (P.QTDPEN*P.VLRPEN) \"Pendência_OCULT\" FROM F500RPE P, F510CLI C, F511PRO R "
        "WHERE P.CODEMP = R.CODEMP AND P.CODCLI = C.CODCLI AND P.CODCCU = R.CODCCU AND P.CODPRO = R.CODPRO "
        "AND   P.DATPEN BETWEEN '01.03.2024' AND '31.03.2024' AND R.DISPRO > 0 "
        "ORDER BY P.DATPEN DESC, P.CODCLI, P.CODPRO "));
    ASSERT_EQ(pending.size(), 1);
    EXPECT_DOUBLE_EQ(num(pending[0][QStringLiteral("PENDÊNCIA_OCULT")], 3), 117.0);

    const QList<Row> print = select(QStringLiteral(
        "SELECT P.CODPDF||'          DATA : '||EXTRACT(DAY FROM P.DATPDF)||'/'||EXTRACT(MONTH FROM P.DATPDF)||'/'||"
        "EXTRACT(YEAR FROM P.DATPDF)||IIF(P.PDFORC = 'S','    -    O R Ç A M E N T O ',' ') \"PEDIDO_OCULT\", "
        "C.CODCLI||' - '||C.RAZCLI \"CLIENTE_OCULT\", trim(D.NOMCID)||'-'||D.ESTCID \"CIDADE_OCULT\", "
        "trim(N.DESCON)||' - '||trim(O.NOMOPE)||' - '||T.DESTRA \"COND. PAGTO._OCULT\", "
        "SUBSTRING('0000000'||I.CODPRO FROM (CHAR_LENGTH('0000000'||I.CODPRO)-6) FOR 7) \"Produto\", "
        "I.DESPRO \"Descrição\", I.UNDPRO \"Und.\", I.QTDPRO \"Quant.#(2)#\", I.VLRUNT \"Vl. Unitário#(3)#\", "
        "I.VLRTOT \"Tot. Item#(3)#\", IIF(I.VLRSTB IS NULL,0,I.VLRSTB) \"Subs. Trib.#(2)#\" "
        "FROM F530PDF P, F530IPF I, F510CLI C, F513TRA T, F513CON N, F513OPE O, F501CID D "
        "WHERE P.CODEMP = I.CODEMP AND P.CODPDF = I.CODPDF AND P.CODCLI = C.CODCLI AND P.CODNOV = C.CODNOV "
        "AND P.CODEMP = T.CODEMP AND P.CODTRA = T.CODTRA AND P.CODEMP = N.CODEMP AND P.CODCON = N.CODCON "
        "AND P.CODEMP = O.CODEMP AND P.CODOPE = O.CODOPE AND C.CODCID = D.CODCID AND P.CODEMP = D.CODEMP "
        "AND   P.CODEMP = '1' AND P.CODPDF = '4'"));
    ASSERT_EQ(print.size(), 1);
    EXPECT_TRUE(text(print[0]["PEDIDO_OCULT"]).contains(QStringLiteral("O R Ç A M E N T O")));
    EXPECT_EQ(text(print[0]["PRODUTO"]), QStringLiteral("0000046"));

    EXPECT_EQ(select(QStringLiteral(
                  "SELECT CODVEN||'-'||NOMVEN \"VENDEDOR\", METVEN \"META VENDAS#(2)#\", GERVEN \"VENDAS REAL.#(2)#\", "
                  "METCLI \"META CLIENTES#(2)#\", GERCLI \"CLIENTES REAL.#(2)#\", GERNOV \"CLIENTES NOVOS#(2)#\", "
                  "METPRO \"META MIX#(2)#\", GERPRO \"MIX REALI.#(2)#\", NOMSUP||'-'||MESMET \"SUPERVISOR_OCULT\" "
                  "FROM F500RSV WHERE CODSUP = '3' AND   CODEMP = '1' ORDER BY 3 desc, 1 ")).size(),
              2);

    const QList<Row> months = select(QStringLiteral("SELECT DISTINCT MESMET, DESDIF FROM F500RSV ORDER BY MESMET DESC"));
    ASSERT_EQ(months.size(), 2);
    EXPECT_EQ(text(months[0]["MESMET"]), QStringLiteral("12/2010"));
    const QList<Row> gauges = select(
        QStringLiteral("SELECT DISTINCT MESMET, METVEN, GERVEN, GERDEZ, METEQP, GEREQP, VLRCOS, DESDIF, METDIF, GERDIF, "
                       "CAST('01/'||MESMET AS DATE) FROM F500RSV WHERE CODEMP = :PCODEMP AND CODVEN = :PCODVEN "
                       "ORDER BY CAST('01/'||MESMET AS DATE) DESC"),
        {{"PCODEMP", "1"}, {"PCODVEN", "12"}});
    ASSERT_EQ(gauges.size(), 2);
    EXPECT_EQ(text(gauges[0]["MESMET"]), QStringLiteral("01/2011"));
}

// Guards the outbound package's selects: typed orders with items, their items, changed customers
// with the seller literal as a quoted alias, unsent messages per recipient, read receipts, typed
// flex movements and decided bonus orders.
TEST_F(SchemaContract, OutboundPackageSelects)
{
    seed();
    const QString orders = QStringLiteral(
        "SELECT DISTINCT P.CODEMP, P.CODPDF, P.CODTAB, P.DATPDF, P.CODCLI, P.CODNOV, P.TOTPDF, P.TOTFLX, P.CODTRA, "
        "P.CODCON, P.CODOPE, 'D' AS SITPDF, P.CODVEN, P.OBSCLI, P.MOTCAN, P.SITFLX, P.RETPDV, P.VENSUB "
        "FROM F530PDF P, F530IPF I WHERE P.CODEMP = I.CODEMP AND   P.CODPDF = I.CODPDF AND   P.SITPDF = 'D' "
        "AND   P.PDFORC = 'N'");
    EXPECT_EQ(select(orders).size(), 1);
    EXPECT_EQ(select(QStringLiteral(
                  "SELECT DISTINCT I.CODEMP, I.CODCCU, I.CODPDF, I.CODPRO, P.CODINT, I.DESPRO, I.UNDPRO, I.QTDPRO, "
                  "I.VLRUNT, I.VLRTOT, I.USOFLX, I.QTDFAT, I.VLRFAT, I.FATPRO, I.MAXDCT, I.PRCVEN, I.PRCTAB, P.CODVEN, "
                  "I.VLRSTB, I.TABCOS, I.CODCOS, I.SITIPF, I.SITFLX, I.CODPDV FROM F530PDF P, F530IPF I WHERE "
                  "P.CODEMP = I.CODEMP AND   P.CODPDF = I.CODPDF AND   P.SITPDF = 'D' AND   P.PDFORC = 'N'")).size(),
              2);
    EXPECT_EQ(select(QStringLiteral(
                  "SELECT DISTINCT CODEMP,'12' \"VEN\", CODNOV, CODCLI, RAZCLI, FANCLI, ENDEND, NUMEND, BAIEND, CEPEND, "
                  "DDAEND, TEAEND, FONEMB, CNTEMB, EMLEMB, FONLIM, CNTLIM, EMLLIM, CPFCGC, NUMIES, CODTIP, DESCHK, "
                  "STUCLI, OBSCLI, CODCID FROM F510CLI WHERE (STUCLI = 'A' OR STUCLI = 'N')")).size(),
              1);
    EXPECT_EQ(select(QStringLiteral(
                  "SELECT DISTINCT '7' USUREM, D.CODUSU, M.TITMSG, M.DESMSG, M.CODEMP, 'N' SITMSG, 'E' ENV "
                  "FROM F599MSG M, F599MDT D WHERE M.CODEMP = D.CODEMP AND   M.CODMSG = D.CODMSG AND   "
                  "M.ENVMSG = 'N' AND   M.CODEMP ='1'")).size(),
              2);
    execute(QStringLiteral("UPDATE F599MSG SET SITMSG = 'A' WHERE SITMSG = 'N' AND CODEMP = 1 AND CODMSG = 1"));
    const QList<Row> read = select(QStringLiteral("SELECT DISTINCT CODINT FROM F599MSG WHERE SITMSG = 'A' AND ENVMSG = 'R'"));
    ASSERT_EQ(read.size(), 1);
    EXPECT_EQ(num(read[0]["CODINT"], 0), 801);
    EXPECT_EQ(select(QStringLiteral("SELECT DISTINCT CODMOV, CODEMP, CODSUP, CCUORI, VENORI, CCUDES, VENDES, DATMOV, "
                                    "TIPMOV, 'E' AS SITMOV, VLRMOV FROM F512MTF WHERE SITMOV = 'D'")).size(),
              1);
    EXPECT_TRUE(select(QStringLiteral("SELECT DISTINCT P.CODEMP, P.CODCCU, P.CODPDV, P.AUTBON FROM F530BON P "
                                      "WHERE AUTBON <> 'P'")).isEmpty());
    EXPECT_EQ(execute(QStringLiteral("UPDATE F599MSG SET ENVMSG = 'E' WHERE ENVMSG = 'N'")), 2);
}
