#pragma once

#include "D500DAT.h"
#include "SqlText.h"
#include "TestDatabase.h"

#include <QString>
#include <QStringList>

// A small notebook database (company 1, user MARCOS = 7, seller 12, supervisor 3) with server
// data and work not yet sent, the source the central database is created from in tests; and
// the script lines that notebook would upload, in the shapes the package builder writes.
namespace NotebookExemplo {

inline QString senha() { return QStringLiteral("venda123"); }
inline QString senhaEmbaralhada() { return D500DAT::embaralhaSenha(senha()); }
inline QString momento() { return QStringLiteral("45366.5123456789"); }

inline void preenche(const TestDatabase &base)
{
    QString script;
    script += QStringLiteral(
                  "INSERT INTO F599USU (CODUSU, NOMUSU, SENUSU, CODCCU, CODEMP, CODVEN, CODSUP, HSTSRV, USASUP, SLDFLX, "
                  "ACRTAB, ESTCID, DESRET, EXPSEN, EXPANT, SENANT) VALUES (7, 'Marcos', %1, 1, 1, 12, 3, '127.0.0.1', 'S', "
                  "650, 0, 'SP', 2, 'N', 'N', NULL);\n")
                  .arg(SqlText::quoted(senhaEmbaralhada()));
    script += QStringLiteral(
        "INSERT INTO F599MSU (CODEMP, CODUSU, NOMUSU) VALUES (1, 7, 'MARCOS PEREIRA');\n"
        "INSERT INTO F599MSU (CODEMP, CODUSU, NOMUSU) VALUES (1, 3, 'ROBERTO MOREIRA');\n"
        "INSERT INTO F599MSU (CODEMP, CODUSU, NOMUSU) VALUES (1, 9, 'JULIANA LIMA');\n"
        "INSERT INTO F512VEN (CODEMP, CODVEN, NOMVEN, CNTSAL) VALUES (1, 12, 'MARCOS ANTÔNIO PEREIRA', 1850.40);\n"
        "INSERT INTO F512VEN (CODEMP, CODVEN, NOMVEN, CNTSAL) VALUES (1, 15, 'RAFAEL MENDES COSTA', 135.50);\n"
        "INSERT INTO F515CCU (CODEMP, CODCCU, DESCCU) VALUES (1, 1, 'ALIMENTOS');\n"
        "INSERT INTO F511PRO (CODEMP, CODCCU, CODPRO, DESPRO, UNDPRO, FATPRO) VALUES (1, 1, 100, 'ARROZ 5KG', 'FD', 1.13);\n"
        "INSERT INTO F511TAB (CODEMP, CODCCU, CODPRO, CODTAB, DESTAB, PRCVEN, MAXDCT) "
        "VALUES (1, 1, 100, 1, 'TABELA 1', 123456789012.29, 0.29);\n"
        // Customers: the seller's, a substitute's, one changed here, one registered here.
        "INSERT INTO F510CLI (CODEMP, CODCLI, CODNOV, CODVEN, RAZCLI, SITCLI, STUCLI, CODTAB, LIMCRE, EMIAVS, REDE) "
        "VALUES (1, 1, 0, 12, 'MERCADO UM', 'A', 'E', 1, 40000, 'N', 'N');\n"
        "INSERT INTO F510CLI (CODEMP, CODCLI, CODNOV, CODVEN, RAZCLI, SITCLI, STUCLI, CODTAB, LIMCRE, EMIAVS, REDE) "
        "VALUES (1, 2, 0, 15, 'PADARIA DOIS', 'A', 'E', 1, 1000, 'N', 'N');\n"
        "INSERT INTO F510CLI (CODEMP, CODCLI, CODNOV, CODVEN, RAZCLI, FANCLI, SITCLI, STUCLI, CODTAB, LIMCRE, EMIAVS, REDE) "
        "VALUES (1, 4, 0, 12, 'EMPÓRIO QUATRO', 'QUATRO', 'A', 'A', 2, 5000, 'S', 'N');\n"
        "INSERT INTO F510CLI (CODEMP, CODCLI, CODNOV, CODVEN, RAZCLI, SITCLI, STUCLI, CODTAB, LIMCRE, EMIAVS, REDE) "
        "VALUES (1, 0, 9900001, 12, 'CLIENTE NOVO', 'A', 'N', 1, 0, 'N', 'N');\n"
        "INSERT INTO F510OPC (CODEMP, CODCLI, CODOPE) VALUES (1, 0, 1);\n"
        "INSERT INTO F510OPC (CODEMP, CODCLI, CODOPE) VALUES (1, 1, 1);\n"
        "INSERT INTO F510OPC (CODEMP, CODCLI, CODOPE) VALUES (1, 2, 3);\n"
        // Orders: invoiced and sent ones from the server, one typed here and one budget.
        "INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, DATPDF, CODCLI, CODNOV, TOTPDF, SITPDF, CODVEN, PDFORC) "
        "VALUES (1, 1, 501, '03/01/2024', 1, 0, 11.30, 'F', 12, 'N');\n"
        "INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, DATPDF, CODCLI, CODNOV, TOTPDF, SITPDF, CODVEN, VENSUB, PDFORC) "
        "VALUES (1, 2, 502, '03/02/2024', 2, 0, 22.60, 'E', 15, 12, 'N');\n"
        "INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, DATPDF, CODCLI, CODNOV, TOTPDF, SITPDF, CODVEN, PDFORC) "
        "VALUES (1, 3, 0, '03/10/2024', 1, 0, 11.30, 'D', 12, 'N');\n"
        "INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, DATPDF, CODCLI, CODNOV, TOTPDF, SITPDF, CODVEN, PDFORC) "
        "VALUES (1, 4, 0, '03/11/2024', 1, 0, 11.30, 'D', 12, 'S');\n"
        "INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, QTDPRO, VLRUNT, VLRTOT, SITIPF) "
        "VALUES (1, 1, 1, 100, 501, 'ARROZ 5KG', 10, 1.13, 11.30, 'F');\n"
        "INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, QTDPRO, VLRUNT, VLRTOT, SITIPF) "
        "VALUES (1, 1, 2, 100, 502, 'ARROZ 5KG', 20, 1.13, 22.60, 'E');\n"
        "INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, QTDPRO, VLRUNT, VLRTOT, SITIPF) "
        "VALUES (1, 1, 3, 100, 0, 'ARROZ 5KG', 10, 1.13, 11.30, 'D');\n"
        "INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, QTDPRO, VLRUNT, VLRTOT, SITIPF) "
        "VALUES (1, 1, 4, 100, 0, 'ARROZ 5KG', 10, 1.13, 11.30, 'D');\n"
        // Messages: two received (one read here), one sent to two users, one not sent.
        "INSERT INTO F599MSG (CODEMP, CODMSG, USUREM, TITMSG, DESMSG, DATMSG, SITMSG, ENVMSG, CODINT) "
        "VALUES (1, 1, 3, 'META', 'Meta do mês', '03/01/2024', 'N', 'R', 88001);\n"
        "INSERT INTO F599MSG (CODEMP, CODMSG, USUREM, TITMSG, DESMSG, DATMSG, SITMSG, ENVMSG, CODINT) "
        "VALUES (1, 2, 3, 'PREÇOS', 'Tabela nova', '03/02/2024', 'A', 'R', 88002);\n"
        "INSERT INTO F599MSG (CODEMP, CODMSG, USUREM, TITMSG, DESMSG, DATMSG, SITMSG, ENVMSG) "
        "VALUES (1, 3, 7, 'VISITA', 'Visitei o cliente', '03/03/2024', 'L', 'E');\n"
        "INSERT INTO F599MDT (CODEMP, CODMSG, CODUSU) VALUES (1, 3, 3);\n"
        "INSERT INTO F599MDT (CODEMP, CODMSG, CODUSU) VALUES (1, 3, 9);\n"
        "INSERT INTO F599MSG (CODEMP, CODMSG, USUREM, TITMSG, DESMSG, DATMSG, SITMSG, ENVMSG) "
        "VALUES (1, 4, 7, 'RASCUNHO', 'Ainda não foi', '03/04/2024', 'L', 'N');\n"
        "INSERT INTO F599MDT (CODEMP, CODMSG, CODUSU) VALUES (1, 4, 3);\n"
        // A bonus order decided here, flex movements recorded and typed, goals.
        "INSERT INTO F530BON (CODEMP, CODCCU, CODPDV, DATPDF, CODCLI, RAZCLI, TOTPDF, AUTBON, CODVEN) "
        "VALUES (1, 1, 7001, '03/05/2024', 1, 'MERCADO UM', 99.90, 'A', 15);\n"
        "INSERT INTO F530IBO (CODEMP, CODCCU, CODPDV, CODPRO, DESPRO, QTDPRO) VALUES (1, 1, 7001, 100, 'ARROZ 5KG', 3);\n"
        "INSERT INTO F512MTF (CODMOV, CODEMP, CODSUP, DATMOV, VENORI, VENDES, TIPMOV, SITMOV, VLRMOV) "
        "VALUES (1, 1, 3, '03/01/2024', 12, 15, 'M', 'R', 150);\n"
        "INSERT INTO F512MTF (CODMOV, CODEMP, CODSUP, DATMOV, VENORI, VENDES, TIPMOV, SITMOV, VLRMOV) "
        "VALUES (2, 1, 3, '03/12/2024', 12, NULL, 'A', 'D', 60);\n"
        "INSERT INTO F500RSV (CODEMP, CODVEN, CODSUP, MESMET, METVEN, GERVEN) VALUES (1, 12, 3, '03/2024', 1000, 500);\n"
        "INSERT INTO F500RSV (CODEMP, CODVEN, CODSUP, MESMET, METVEN, GERVEN) VALUES (1, 15, 3, '03/2024', 900, 800);\n");
    base.runScript(script);
}

// The columns the package builder writes, in its order.
inline QString colunasPedido()
{
    return QStringLiteral("CODINT, CODEMP, CODPDF, CODTAB, DATPDF, CODCLI, CODNOV, TOTPDF, TOTFLX, CODTRA, CODCON, "
                          "CODOPE, SITPDF, CODVEN, OBSCLI, MOTCAN, SITFLX, RETPDV, VENSUB");
}

inline QString linhaPedido(const QString &codpdf, const QString &data, const QString &codcli, const QString &codnov,
                           const QString &observacao, const QString &moment = momento())
{
    return QStringLiteral(" INSERT INTO F530PDF (") + colunasPedido() + QStringLiteral(", CODNOW) ")
           + QStringLiteral(" SELECT SQCPDF1.NEXTVAL, '1','%1','1','%2','%3','%4','11.3','0','1','1','1','D','12','%5','','N','N',''")
                 .arg(codpdf, data, codcli, codnov, observacao)
           + QStringLiteral(",'") + moment + QStringLiteral("' FROM DUAL ");
}

inline QString linhaItem(const QString &codpdf, const QString &moment = momento())
{
    return QStringLiteral(" INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, UNDPRO, QTDPRO, VLRUNT, "
                          "VLRTOT, USOFLX, QTDFAT, VLRFAT, FATPRO, MAXDCT, PRCVEN, PRCTAB, CODVEN, VLRSTB, TABCOS, CODCOS, "
                          "SITIPF, SITFLX, CODPDV, CODNOW) ")
           + QStringLiteral(" SELECT '1','1','%1','100','0','ARROZ 5KG','FD','10','1.13','11.3','0','','','1.13','5',"
                            "'1.13','1.13','12','0','0','1','D','N',''")
                 .arg(codpdf)
           + QStringLiteral(",'") + moment + QStringLiteral("' FROM DUAL ");
}

inline QString linhaCliente(const QString &codcli, const QString &codnov, const QString &razao, const QString &estado,
                            const QString &observacao, const QString &moment = momento())
{
    return QStringLiteral(" INSERT INTO F510CLI (CODEMP, CODVEN, CODNOV, CODCLI, RAZCLI, FANCLI, ENDEND, NUMEND, BAIEND, "
                          "CEPEND, DDAEND, TEAEND, FONEMB, CNTEMB, EMLEMB, FONLIM, CNTLIM, EMLLIM, CPFCGC, NUMIES, CODTIP, "
                          "DESCHK, STUCLI, OBSCLI, CODCID, CODNOW) ")
           + QStringLiteral(" SELECT '1','12','%1','%2','%3','FANTASIA','RUA A','10','CENTRO','01000-000','11',"
                            "'3333-4444','','','','','','','12.345.678/0001-95','','2','','%4','%5','101'")
                 .arg(codnov, codcli, razao, estado, observacao)
           + QStringLiteral(",'") + moment + QStringLiteral("' FROM DUAL ");
}

inline QString linhaMensagem(const QString &destinatario, const QString &titulo, const QString &numero = QStringLiteral("4"))
{
    return QStringLiteral(" INSERT INTO F599MSG (CODINT, USUREM, USUDES, TITMSG, DESMSG, CODEMP, SITMSG, ENVMSG, CODMSG)  "
                          "SELECT SQCMSG1.NEXTVAL, '7','%1','%2','Favor ligar '||CHR(13)||CHR(10)||'amanhã','1','N','E','%3' "
                          "FROM DUAL ")
        .arg(destinatario, titulo, numero);
}

inline QString linhaMovimento(const QString &moment = momento())
{
    return QStringLiteral(" INSERT INTO F512MTF (CODMOV, CODEMP, CODSUP, CCUORI, VENORI, CCUDES, VENDES, DATMOV, TIPMOV, "
                          "SITMOV, VLRMOV, CODNOW)  SELECT '2','1','3','','12','','','12/03/2024','A','E','60'")
           + QStringLiteral(",'") + moment + QStringLiteral("' FROM DUAL ");
}

// What the notebook of the example uploads: the typed order with its item, the server-side
// status, the changed and the new customer, a message to two users, the read mark, the flex
// movement, the bonus decision and a password change.
inline QStringList script(const QString &moment = momento())
{
    return {
        QStringLiteral("UPDATE F599USU SET EXPSEN = 'N', SENUSU = %1 WHERE CODEMP = '1' AND CODUSU = '7'")
            .arg(SqlText::quoted(D500DAT::embaralhaSenha(QStringLiteral("nova456")))),
        linhaPedido(QStringLiteral("3"), QStringLiteral("10/03/2024"), QStringLiteral("1"), QStringLiteral("0"),
                    QStringLiteral("entregar cedo"), moment),
        linhaPedido(QStringLiteral("5"), QStringLiteral("11/03/2024"), QStringLiteral("0"), QStringLiteral("9900001"),
                    QStringLiteral(""), moment),
        linhaItem(QStringLiteral("3"), moment),
        linhaItem(QStringLiteral("5"), moment),
        QStringLiteral("UPDATE F530PDF SET SITPDF = 'L' WHERE CODEMP = '1' AND   CODNOV = 0 AND   SITPDF = 'D' AND  "
                       "(CODVEN = '12' OR VENSUB = '12' )"),
        linhaCliente(QStringLiteral("4"), QStringLiteral("0"), QStringLiteral("EMPÓRIO QUATRO LTDA"), QStringLiteral("A"),
                     QStringLiteral("O''Brien'||CHR(13)||CHR(10)||'segunda linha"), moment),
        linhaCliente(QStringLiteral("0"), QStringLiteral("9900001"), QStringLiteral("CLIENTE NOVO"), QStringLiteral("N"),
                     QStringLiteral(""), moment),
        linhaMensagem(QStringLiteral("3"), QStringLiteral("PEDIDO")),
        linhaMensagem(QStringLiteral("9"), QStringLiteral("PEDIDO")),
        QStringLiteral("UPDATE F599MSG SET SITMSG = 'L' WHERE CODEMP = 1 AND   USUDES = 7 AND   CODINT IN (88002)"),
        linhaMovimento(moment),
        QStringLiteral("UPDATE F030PDV SET AUTBON = 'A' WHERE CODPDV = 7001 AND   CODEMP = 1"),
    };
}

} // namespace NotebookExemplo
