#include "BaseLocalSincronizacao.h"
#include "ClientDataSetPlus.h"
#include "D500DAT.h"
#include "OrcamentosSincronizacao.h"
#include "PacoteEnvio.h"
#include "PendentesEnvio.h"
#include "ScriptedAnswerer.h"
#include "TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <memory>

namespace {

// 04/03/2024 12:00: days since 30/12/1899 plus half a day.
const QDateTime kMomento(QDate(2024, 3, 4), QTime(12, 0));
const QString kMomentoTexto = QStringLiteral("45355.5");

// A data module on a fresh database filled by the test, with the session of user 25 of
// company 1, seller 7.
class Pacote : public ::testing::Test
{
protected:
    void prepara(const QString &script = QString())
    {
        if (!script.isEmpty())
            db.runScript(script);
        dat = std::make_unique<D500DAT>();
        dat->setMessagePresenter(&respostas);
        db.open(dat->cnxFirebird);
        Sessao &s = dat->sessao;
        s.CODEMP = QStringLiteral("1");
        s.CODUSU = QStringLiteral("25");
        s.CODVEN = QStringLiteral("7");
        s.SENUSU = QStringLiteral("k9#p");
        s.EXPSEN = QStringLiteral("N");
        s.EXPANT = QStringLiteral("N");
        orcamentos = std::make_unique<OrcamentosSincronizacao>(dat->cnxFirebird);
        pacote = std::make_unique<PacoteEnvio>(*dat, *orcamentos, db.folder());
    }

    bool gera() { return pacote->geraPacoteEnvio(kMomento); }
    QStringList script() const { return dat->scriptEnvio; }
    QString arquivo(const QString &nome) const { return QDir(db.folder()).filePath(nome); }

    int conta(const QString &sql)
    {
        QSqlQuery q = dat->cnxFirebird.query();
        EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
        return q.next() ? q.value(0).toInt() : -1;
    }

    TestDatabase db;
    ScriptedAnswerer respostas;
    std::unique_ptr<D500DAT> dat;
    std::unique_ptr<OrcamentosSincronizacao> orcamentos;
    std::unique_ptr<PacoteEnvio> pacote;
};

const QString kStatusPedidos = QStringLiteral(
    "UPDATE F530PDF SET SITPDF = 'L' WHERE CODEMP = '1' AND   CODNOV = 0 AND   SITPDF = 'D' AND  (CODVEN = '7' OR "
    "VENSUB = '7' )");

// One typed order with an item (remark with quotes and a line break), one typed order without
// items, a budget with an item, and an invoiced server order that shares the typed order's
// number; customers new, changed and inactive; a message to three users and one received;
// two received messages read here; flex movements typed and sent; bonus decisions.
const QString kDadosCompletos = QStringLiteral(
    "INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, CODTAB, DATPDF, CODCLI, CODNOV, TOTPDF, TOTFLX, CODTRA, CODCON,"
    " CODOPE, SITPDF, CODVEN, VENSUB, OBSCLI, MOTCAN, SITFLX, PDFORC, RETPDV) VALUES (1, 10, 0, 2, '04.03.2024',"
    " 500, 0, 150.50, 1.25, 1, 3, 4, 'D', 7, NULL, 'Entregar à tarde, ''portão'' azul' || ASCII_CHAR(13) ||"
    " ASCII_CHAR(10) || '2º andar  ', NULL, 'N', 'N', 'N');\n"
    "INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, SITPDF, CODVEN, PDFORC) VALUES (1, 11, 0, 'D', 7, 'N');\n"
    "INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, SITPDF, CODVEN, PDFORC, TOTPDF) VALUES (1, 12, 0, 'D', 7, 'S', 30);\n"
    "INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, SITPDF, CODVEN, PDFORC) VALUES (1, 10, 900, 'F', 7, 'N');\n"
    "INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, UNDPRO, QTDPRO, VLRUNT, VLRTOT, USOFLX,"
    " GERFLX, QTDFAT, VLRFAT, FATPRO, MAXDCT, PRCVEN, PRCTAB, VLRSTB, TABCOS, CODCOS, ITMPRM, SITIPF, SITFLX)"
    " VALUES (1, 2, 10, 123, 0, 'Café Torrado 500g', 'UN', 12, 10.5, 126, 0.75, 0, 0, 0, 1, 5, 11, 10.5, 0, 0,"
    " NULL, 'N', 'D', 'N');\n"
    "INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, QTDPRO, VLRUNT, VLRTOT, SITIPF)"
    " VALUES (1, 2, 12, 124, 0, 'Açúcar', 3, 10, 30, 'D');\n"
    "INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, QTDPRO, SITIPF)"
    " VALUES (1, 2, 10, 999, 900, 'Do servidor', 1, 'F');\n"
    "INSERT INTO F510CLI (CODEMP, CODCLI, CODNOV, CODVEN, RAZCLI, CPFCGC, STUCLI, CODCID)"
    " VALUES (1, 0, 9900001, 3, 'Mercado O''Brien', '11222333000181', 'N', 4205);\n"
    "INSERT INTO F510CLI (CODEMP, CODCLI, CODNOV, CODVEN, RAZCLI, STUCLI) VALUES (1, 55, 0, 7, 'Padaria Sol', 'A');\n"
    "INSERT INTO F510CLI (CODEMP, CODCLI, CODNOV, CODVEN, RAZCLI, STUCLI) VALUES (1, 56, 0, 7, 'Inativo', 'I');\n"
    "INSERT INTO F599MSG (CODEMP, CODMSG, USUREM, TITMSG, DESMSG, SITMSG, ENVMSG)"
    " VALUES (1, 1, 25, 'Reunião', 'Amanhã às 9h', 'N', 'N');\n"
    "INSERT INTO F599MDT (CODEMP, CODMSG, CODUSU) VALUES (1, 1, 8);\n"
    "INSERT INTO F599MDT (CODEMP, CODMSG, CODUSU) VALUES (1, 1, 3);\n"
    "INSERT INTO F599MDT (CODEMP, CODMSG, CODUSU) VALUES (1, 1, 4);\n"
    "INSERT INTO F599MSG (CODEMP, CODMSG, USUREM, TITMSG, SITMSG, ENVMSG, CODINT) VALUES (1, 2, 3, 'Lida', 'A', 'R', 502);\n"
    "INSERT INTO F599MSG (CODEMP, CODMSG, USUREM, TITMSG, SITMSG, ENVMSG, CODINT) VALUES (1, 3, 4, 'Lida', 'A', 'R', 501);\n"
    "INSERT INTO F599MSG (CODEMP, CODMSG, USUREM, TITMSG, SITMSG, ENVMSG, CODINT) VALUES (1, 4, 4, 'Nova', 'N', 'R', 503);\n"
    "INSERT INTO F512MTF (CODMOV, CODEMP, CODSUP, DATMOV, VENORI, VENDES, TIPMOV, SITMOV, VLRMOV)"
    " VALUES (3, 1, 9, '01.03.2024', 7, 8, 'M', 'D', 250);\n"
    "INSERT INTO F512MTF (CODMOV, CODEMP, CODSUP, DATMOV, VENORI, TIPMOV, SITMOV, VLRMOV)"
    " VALUES (2, 1, 9, '01.02.2024', 7, 'A', 'E', 80);\n"
    "INSERT INTO F530BON (CODEMP, CODCCU, CODPDV, AUTBON) VALUES (1, 2, 7002, 'N');\n"
    "INSERT INTO F530BON (CODEMP, CODCCU, CODPDV, AUTBON) VALUES (1, 2, 7001, 'A');\n"
    "INSERT INTO F530BON (CODEMP, CODCCU, CODPDV, AUTBON) VALUES (1, 2, 7003, 'P');\n");

} // namespace

// Guards the outbox the seller reads against what the package really carries: the package's
// own rows, kind by kind (the typed order with its customer and total, not the budget, the
// order without items or the server's; a message once per recipient; decided bonuses only),
// the password change while it is pending, and nothing at all once it was sent.
TEST_F(Pacote, PendentesMostramOQueOPacoteLeva)
{
    prepara(kDadosCompletos
            + QStringLiteral("INSERT INTO F510CLI (CODEMP, CODCLI, CODNOV, RAZCLI, STUCLI) "
                             "VALUES (1, 500, 0, 'Empório Central', 'S');\n"
                             "INSERT INTO F599MSU (CODEMP, CODUSU, NOMUSU) VALUES (1, 8, 'Beatriz');\n"));
    dat->sessao.EXPANT = QStringLiteral("S");
    dat->sessao.NOMUSU = QStringLiteral("Ana");
    EXPECT_EQ(PendentesEnvio::texto(QStringLiteral("Pendentes de envio"), PendentesEnvio(*dat).le()),
              (QStringList{
                  QStringLiteral("Pendentes de envio: 12"),
                  QStringLiteral("Pedidos (1)"),
                  QStringLiteral("  Pedido 10 de 04/03/2024 – 500 Empório Central – 150,50"),
                  QStringLiteral("Clientes novos (1)"),
                  QStringLiteral("  9900001 Mercado O'Brien"),
                  QStringLiteral("Clientes alterados (1)"),
                  QStringLiteral("  55 Padaria Sol"),
                  QStringLiteral("Mensagens (3)"),
                  QStringLiteral("  \"Reunião\" para 3"),
                  QStringLiteral("  \"Reunião\" para 4"),
                  QStringLiteral("  \"Reunião\" para Beatriz"),
                  QStringLiteral("Mensagens lidas (2)"),
                  QStringLiteral("  Mensagem 501"),
                  QStringLiteral("  Mensagem 502"),
                  QStringLiteral("Movimentos de flex (1)"),
                  QStringLiteral("  Movimentação de 250,00 do vendedor 7 para o 8 em 01/03/2024"),
                  QStringLiteral("Decisões de bonificação (2)"),
                  QStringLiteral("  Pedido 7001: aprovado"),
                  QStringLiteral("  Pedido 7002: não aprovado"),
                  QStringLiteral("Troca de senha (1)"),
                  QStringLiteral("  Nova senha de Ana"),
              }));

    ASSERT_TRUE(gera());
    dat->sessao.EXPANT = QStringLiteral("N");
    BaseLocalSincronizacao(dat->cnxFirebird).marcaEnviados(true, true);
    for (const char *sql : {"UPDATE F510CLI SET STUCLI = 'S'", "UPDATE F599MSG SET ENVMSG = 'E'",
                            "UPDATE F599MSG SET SITMSG = 'L'", "UPDATE F512MTF SET SITMOV = 'E'",
                            "UPDATE F530BON SET AUTBON = 'P'"})
        dat->cnxFirebird.execute(QLatin1String(sql));
    EXPECT_EQ(PendentesEnvio::texto(QStringLiteral("Pendentes de envio"), PendentesEnvio(*dat).le()),
              QStringList{QStringLiteral("Pendentes de envio: nada")});
}

// Guards the empty exchange: nothing pending gives no statement and no budget file.
TEST_F(Pacote, SemPendenciasNaoGeraComando)
{
    prepara();
    EXPECT_FALSE(gera());
    EXPECT_TRUE(script().isEmpty());
    EXPECT_FALSE(QFile::exists(arquivo(QStringLiteral("ORCPED.XML"))));
    EXPECT_TRUE(respostas.shown.isEmpty());
}

// Guards the notebook without user: no package at all.
TEST_F(Pacote, SemUsuarioNaoGeraPacote)
{
    prepara(kDadosCompletos);
    dat->sessao.CODUSU.clear();
    EXPECT_FALSE(gera());
    EXPECT_TRUE(script().isEmpty());
}

// Guards the pending password: its statement (quotes doubled) and the order status statement,
// and no insert.
TEST_F(Pacote, SoTrocaDeSenha)
{
    prepara();
    dat->sessao.EXPANT = QStringLiteral("S");
    dat->sessao.SENUSU = QStringLiteral("a'b");
    EXPECT_TRUE(gera());
    EXPECT_EQ(script(), (QStringList{
                            QStringLiteral("UPDATE F599USU SET EXPSEN = 'N', SENUSU = 'a''b' WHERE CODEMP = '1' AND "
                                           "CODUSU = '25'"),
                            kStatusPedidos,
                        }));
}

// Guards the whole script, line by line: order of the steps, the exact shapes, quotes and
// CR LF in texts, one insert per message recipient, one read confirmation for two messages,
// orders without items, budgets, inactive customers and pending bonus orders left out, and
// the items of a server order with the same number never sent with the typed one.
TEST_F(Pacote, ScriptCompletoLinhaALinha)
{
    prepara(kDadosCompletos);
    ASSERT_TRUE(gera());
    const QString m = kMomentoTexto;
    const QStringList esperado = {
        QStringLiteral(" INSERT INTO F530PDF (CODINT, CODEMP, CODPDF, CODTAB, DATPDF, CODCLI, CODNOV, TOTPDF, TOTFLX, "
                       "CODTRA, CODCON, CODOPE, SITPDF, CODVEN, OBSCLI, MOTCAN, SITFLX, RETPDV, VENSUB, CODNOW)  "
                       "SELECT SQCPDF1.NEXTVAL, '1','10','2','04/03/2024','500','0','150.5','1.25','1','3','4','D','7',"
                       "'Entregar à tarde, ''portão'' azul'||CHR(13)||CHR(10)||'2º andar','','N','N','','")
            + m + QStringLiteral("' FROM DUAL "),
        QStringLiteral(" INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, UNDPRO, QTDPRO, VLRUNT, "
                       "VLRTOT, USOFLX, QTDFAT, VLRFAT, FATPRO, MAXDCT, PRCVEN, PRCTAB, CODVEN, VLRSTB, TABCOS, CODCOS, "
                       "SITIPF, SITFLX, CODPDV, CODNOW)  SELECT '1','2','10','123','0','Café Torrado 500g','UN','12',"
                       "'10.5','126','0.75','0','0','1','5','11','10.5','7','0','0','','D','N','','")
            + m + QStringLiteral("' FROM DUAL "),
        kStatusPedidos,
        QStringLiteral(" INSERT INTO F510CLI (CODEMP, CODVEN, CODNOV, CODCLI, RAZCLI, FANCLI, ENDEND, NUMEND, BAIEND, "
                       "CEPEND, DDAEND, TEAEND, FONEMB, CNTEMB, EMLEMB, FONLIM, CNTLIM, EMLLIM, CPFCGC, NUMIES, CODTIP, "
                       "DESCHK, STUCLI, OBSCLI, CODCID, CODNOW)  SELECT '1','7','0','55','Padaria Sol','','','','','','',"
                       "'','','','','','','','','','','','A','','','")
            + m + QStringLiteral("' FROM DUAL "),
        QStringLiteral(" INSERT INTO F510CLI (CODEMP, CODVEN, CODNOV, CODCLI, RAZCLI, FANCLI, ENDEND, NUMEND, BAIEND, "
                       "CEPEND, DDAEND, TEAEND, FONEMB, CNTEMB, EMLEMB, FONLIM, CNTLIM, EMLLIM, CPFCGC, NUMIES, CODTIP, "
                       "DESCHK, STUCLI, OBSCLI, CODCID, CODNOW)  SELECT '1','7','9900001','0','Mercado O''Brien','','',"
                       "'','','','','','','','','','','','11222333000181','','','','N','','4205','")
            + m + QStringLiteral("' FROM DUAL "),
        QStringLiteral(" INSERT INTO F599MSG (CODINT, USUREM, USUDES, TITMSG, DESMSG, CODEMP, SITMSG, ENVMSG, CODMSG)  "
                       "SELECT SQCMSG1.NEXTVAL, '25','3','Reunião','Amanhã às 9h','1','N','E','1' FROM DUAL "),
        QStringLiteral(" INSERT INTO F599MSG (CODINT, USUREM, USUDES, TITMSG, DESMSG, CODEMP, SITMSG, ENVMSG, CODMSG)  "
                       "SELECT SQCMSG1.NEXTVAL, '25','4','Reunião','Amanhã às 9h','1','N','E','1' FROM DUAL "),
        QStringLiteral(" INSERT INTO F599MSG (CODINT, USUREM, USUDES, TITMSG, DESMSG, CODEMP, SITMSG, ENVMSG, CODMSG)  "
                       "SELECT SQCMSG1.NEXTVAL, '25','8','Reunião','Amanhã às 9h','1','N','E','1' FROM DUAL "),
        QStringLiteral("UPDATE F599MSG SET SITMSG = 'L' WHERE CODEMP = 1 AND   USUDES = 25 AND   CODINT IN (501,502)"),
        QStringLiteral(" INSERT INTO F512MTF (CODMOV, CODEMP, CODSUP, CCUORI, VENORI, CCUDES, VENDES, DATMOV, TIPMOV, "
                       "SITMOV, VLRMOV, CODNOW)  SELECT '3','1','9','','7','','8','01/03/2024','M','E','250','")
            + m + QStringLiteral("' FROM DUAL "),
        QStringLiteral("UPDATE F030PDV SET AUTBON = 'A' WHERE CODPDV = 7001 AND   CODEMP = 1"),
        QStringLiteral("UPDATE F030PDV SET AUTBON = 'N' WHERE CODPDV = 7002 AND   CODEMP = 1"),
    };
    const QStringList obtido = script();
    for (int i = 0; i < std::min(esperado.size(), obtido.size()); ++i)
        EXPECT_EQ(obtido.at(i), esperado.at(i)) << "line " << i;
    EXPECT_EQ(obtido.size(), esperado.size());
    EXPECT_TRUE(respostas.shown.isEmpty());
    EXPECT_TRUE(pacote->pedidosIncluidos());
    EXPECT_TRUE(pacote->mensagensIncluidas());
    EXPECT_FALSE(pacote->interrompido());
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE SITPDF = 'D'")), 3) << "no local row changes";
}

// Guards the carry-over: budget orders and their items are written to the two files, with
// every column, and never to the script.
TEST_F(Pacote, OrcamentosVaoParaOsArquivos)
{
    prepara(kDadosCompletos);
    gera();
    for (const QString &linha : script())
        EXPECT_FALSE(linha.contains(QStringLiteral("'12',")) && linha.contains(QStringLiteral("F530PDF")))
            << linha.toStdString();

    TClientDataSetPlus pedidos, itens;
    pedidos.loadFromFile(arquivo(QStringLiteral("ORCPED.XML")));
    itens.loadFromFile(arquivo(QStringLiteral("ORCITM.XML")));
    ASSERT_EQ(pedidos.recordCount(), 1);
    pedidos.first();
    EXPECT_EQ(pedidos.asInteger(QStringLiteral("CODPDF")), 12);
    EXPECT_EQ(pedidos.asString(QStringLiteral("PDFORC")), QStringLiteral("S"));
    EXPECT_DOUBLE_EQ(pedidos.asFloat(QStringLiteral("TOTPDF")), 30.0);
    EXPECT_EQ(pedidos.fieldCount(), 22);
    ASSERT_EQ(itens.recordCount(), 1);
    itens.first();
    EXPECT_EQ(itens.asString(QStringLiteral("VLDITM")), QStringLiteral("N"));
    EXPECT_EQ(itens.asString(QStringLiteral("DESPRO")), QStringLiteral("Açúcar"));
    EXPECT_EQ(itens.fieldCount(), 28);
}

// Guards files left by the package of an exchange that never replaced the database: without
// budget orders now they go, or the next database would bring back budgets deleted since.
TEST_F(Pacote, SemOrcamentosArquivosAnterioresSaem)
{
    prepara();
    for (const char *nome : {"ORCPED.XML", "ORCITM.XML"}) {
        QFile antigo(arquivo(QString::fromLatin1(nome)));
        ASSERT_TRUE(antigo.open(QIODevice::WriteOnly));
        antigo.write("anterior");
    }
    gera();
    EXPECT_FALSE(QFile::exists(arquivo(QStringLiteral("ORCPED.XML"))));
    EXPECT_FALSE(QFile::exists(arquivo(QStringLiteral("ORCITM.XML"))));
}

// Guards the mended loss of orders: when the order statements cannot be generated, the
// server's confirmation must not mark the unsent orders as sent; messages still are.
TEST_F(Pacote, FalhaNosPedidosNaoMarcaComoEnviados)
{
    prepara(kDadosCompletos + QStringLiteral("ALTER TABLE F530PDF DROP RETPDV;\n"));
    EXPECT_TRUE(gera());
    EXPECT_FALSE(pacote->pedidosIncluidos());
    EXPECT_TRUE(pacote->mensagensIncluidas());
    ASSERT_EQ(respostas.shown.size(), 2) << "the statement so far and the engine's message";
    for (const QString &linha : script())
        EXPECT_FALSE(linha.contains(QStringLiteral("INTO F530")));

    BaseLocalSincronizacao(dat->cnxFirebird).marcaEnviados(pacote->pedidosIncluidos(), pacote->mensagensIncluidas());
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE CODPDF = 10 AND CODINT = 0 AND SITPDF = 'D'")), 1);
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM F599MSG WHERE CODMSG = 1 AND ENVMSG = 'E'")), 1);
}

// Guards the marks after a complete package: the sent order becomes 'L'; the order without
// items, which was not sent, and the budget stay typed.
TEST_F(Pacote, MarcaSoOQueFoiNoPacote)
{
    prepara(kDadosCompletos);
    gera();
    BaseLocalSincronizacao(dat->cnxFirebird).marcaEnviados(pacote->pedidosIncluidos(), pacote->mensagensIncluidas());
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE CODPDF = 10 AND CODINT = 0 AND SITPDF = 'L'")), 1);
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE CODPDF = 11 AND SITPDF = 'D'")), 1);
    EXPECT_EQ(conta(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE CODPDF = 12 AND SITPDF = 'D'")), 1);
}

// Guards the budget carry-over: when the budget files cannot be written the gathering stops
// and says so, so the exchange cannot go on to replace the database.
TEST_F(Pacote, FalhaAoSalvarOrcamentosInterrompe)
{
    prepara(kDadosCompletos);
    pacote = std::make_unique<PacoteEnvio>(*dat, *orcamentos, db.folder() + QStringLiteral("/nao-existe"));
    gera();
    EXPECT_TRUE(pacote->interrompido());
    EXPECT_FALSE(respostas.shown.isEmpty()) << "the engine's message in the generic error box";
}
