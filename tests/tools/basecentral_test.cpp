#include "ArquivoZip.h"
#include "CentralExemplo.h"
#include "ConsultaServidor.h"
#include "DatabaseError.h"

#include <QDate>
#include <QDir>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

const UsuarioServidor marcos{QStringLiteral("1"), QStringLiteral("7"), QStringLiteral("MARCOS")};

// A central database created from the example notebook.
class BaseCentralTeste : public ::testing::Test
{
protected:
    CentralExemplo exemplo;
    TestDatabase &notebook = exemplo.notebook;
    QTemporaryDir &pasta = exemplo.pasta;
    std::unique_ptr<BaseCentral> &central = exemplo.central;

    QVariant valor(const QString &sql) { return ConsultaServidor::valor(central->conexao(), sql); }
    int conta(const QString &sql) { return valor(QStringLiteral("SELECT COUNT(*) FROM ") + sql).toInt(); }
    QString texto(const QString &sql) { return valor(sql).toString(); }
};

QString textoEm(FirebirdConnection &conexao, const QString &sql)
{
    return ConsultaServidor::valor(conexao, sql).toString();
}

int contaEm(FirebirdConnection &conexao, const QString &sql)
{
    return ConsultaServidor::valor(conexao, QStringLiteral("SELECT COUNT(*) FROM ") + sql).toInt();
}

} // namespace

// Guards against the central database starting with the notebook's unsent work, which the
// notebook sends again at its first synchronisation (it would be there twice).
TEST_F(BaseCentralTeste, CriacaoDeixaDeForaOQueONotebookNaoEnviou)
{
    EXPECT_EQ(conta(QStringLiteral("F530PDF")), 2);
    EXPECT_EQ(conta(QStringLiteral("F530PDF WHERE CODINT = 0")), 0);
    EXPECT_EQ(conta(QStringLiteral("F530IPF WHERE CODINT = 0")), 0);
    EXPECT_EQ(conta(QStringLiteral("F510CLI WHERE STUCLI IN ('A', 'N')")), 0);
    EXPECT_EQ(conta(QStringLiteral("F510CLI")), 3);
    EXPECT_EQ(conta(QStringLiteral("F512MTF")), 1);

    // Received messages belong to the notebook's user; a read mark not yet reported is unread.
    EXPECT_EQ(conta(QStringLiteral("F599MSG WHERE USUDES = 7")), 2);
    EXPECT_EQ(texto(QStringLiteral("SELECT SITMSG FROM F599MSG WHERE CODINT = 88002")), QStringLiteral("N"));
    // The sent message is one row per recipient; the unsent one is gone.
    EXPECT_EQ(conta(QStringLiteral("F599MSG WHERE TITMSG = 'VISITA' AND USUREM = 7 AND USUDES IN (3, 9)")), 2);
    EXPECT_EQ(conta(QStringLiteral("F599MSG WHERE TITMSG = 'RASCUNHO'")), 0);
    EXPECT_EQ(conta(QStringLiteral("F599MSG WHERE CODMSG IS NULL OR CODINT IS NULL")), 0);

    EXPECT_EQ(texto(QStringLiteral("SELECT AUTBON FROM F030PDV WHERE CODPDV = 7001")), QStringLiteral("P"));
    EXPECT_EQ(conta(QStringLiteral("F530BON")), 0);
    EXPECT_EQ(conta(QStringLiteral("F030SUB WHERE CODEMP = 1 AND CODVEN = 15 AND VENSUB = 12")), 1);

    // Server numbers continue after the largest in use.
    EXPECT_GE(valor(QStringLiteral("SELECT GEN_ID(SQCPDF1, 0) FROM RDB$DATABASE")).toLongLong(), 502);
    EXPECT_GE(valor(QStringLiteral("SELECT GEN_ID(SQCMSG1, 0) FROM RDB$DATABASE")).toLongLong(), 88002);

    EXPECT_THROW(BaseCentral::criaDe(pasta.path(), notebook.path()), DatabaseError);
}

// Guards against a user being accepted with a wrong password, or refused for the letter case
// of the name (the notebook sends it upper case).
TEST_F(BaseCentralTeste, Autenticacao)
{
    const auto aceito = central->autentica(QStringLiteral("MARCOS"), NotebookExemplo::senhaEmbaralhada());
    ASSERT_TRUE(aceito.has_value());
    EXPECT_EQ(aceito->CODEMP, QStringLiteral("1"));
    EXPECT_EQ(aceito->CODUSU, QStringLiteral("7"));
    EXPECT_TRUE(central->autentica(QStringLiteral("marcos"), NotebookExemplo::senhaEmbaralhada()).has_value());
    EXPECT_FALSE(central->autentica(QStringLiteral("MARCOS"), NotebookExemplo::senha()).has_value());
    EXPECT_FALSE(central->autentica(QStringLiteral("JULIANA"), NotebookExemplo::senhaEmbaralhada()).has_value());

    central->cadastraUsuario(QStringLiteral("1"), QStringLiteral("9"), QStringLiteral("Juliana"), QStringLiteral("s3nha"),
                             QStringLiteral("14"));
    const auto juliana = central->autentica(QStringLiteral("JULIANA"), D500DAT::embaralhaSenha(QStringLiteral("s3nha")));
    ASSERT_TRUE(juliana.has_value());
    EXPECT_EQ(juliana->CODUSU, QStringLiteral("9"));
}

// Guards against the uploaded rows reaching the central database wrongly: items without their
// order's server number, dates read month first, a changed customer duplicated or handed to
// the sender's seller, a new customer without the defaults its screens filter on, messages
// without number or date.
TEST_F(BaseCentralTeste, ScriptDoNotebookChegaABaseCentral)
{
    QStringList script = NotebookExemplo::script();
    script << NotebookExemplo::linhaCliente(QStringLiteral("2"), QStringLiteral("0"), QStringLiteral("PADARIA DOIS ME"),
                                            QStringLiteral("A"), QString());
    EXPECT_EQ(central->executaScript(marcos, script), script.size());

    const qlonglong pedido3 = valor(QStringLiteral("SELECT CODINT FROM F530PDF WHERE CODPDF = 3")).toLongLong();
    const qlonglong pedido5 = valor(QStringLiteral("SELECT CODINT FROM F530PDF WHERE CODPDF = 5")).toLongLong();
    EXPECT_GT(pedido3, 502);
    EXPECT_GT(pedido5, 502);
    EXPECT_NE(pedido3, pedido5);
    EXPECT_EQ(valor(QStringLiteral("SELECT DATPDF FROM F530PDF WHERE CODPDF = 3")).toDate(), QDate(2024, 3, 10));
    EXPECT_EQ(texto(QStringLiteral("SELECT SITPDF FROM F530PDF WHERE CODPDF = 3")), QStringLiteral("L"));
    EXPECT_EQ(texto(QStringLiteral("SELECT SITPDF FROM F530PDF WHERE CODPDF = 5")), QStringLiteral("D"));
    EXPECT_TRUE(valor(QStringLiteral("SELECT VENSUB FROM F530PDF WHERE CODPDF = 3")).isNull());
    EXPECT_EQ(valor(QStringLiteral("SELECT CODINT FROM F530IPF WHERE CODPDF = 3")).toLongLong(), pedido3);
    EXPECT_EQ(valor(QStringLiteral("SELECT CODINT FROM F530IPF WHERE CODPDF = 5")).toLongLong(), pedido5);
    EXPECT_EQ(texto(QStringLiteral("SELECT CAST(VLRUNT AS VARCHAR(20)) FROM F530IPF WHERE CODPDF = 3")),
              QStringLiteral("1.130"));

    EXPECT_EQ(conta(QStringLiteral("F510CLI WHERE CODCLI = 4")), 1);
    EXPECT_EQ(texto(QStringLiteral("SELECT RAZCLI FROM F510CLI WHERE CODCLI = 4")), QStringLiteral("EMPÓRIO QUATRO LTDA"));
    EXPECT_EQ(texto(QStringLiteral("SELECT OBSCLI FROM F510CLI WHERE CODCLI = 4")),
              QStringLiteral("O'Brien\r\nsegunda linha"));
    EXPECT_EQ(valor(QStringLiteral("SELECT LIMCRE FROM F510CLI WHERE CODCLI = 4")).toDouble(), 5000.0);
    EXPECT_EQ(conta(QStringLiteral("F510CLI WHERE CODCLI = 2")), 1);
    EXPECT_EQ(valor(QStringLiteral("SELECT CODVEN FROM F510CLI WHERE CODCLI = 2")).toInt(), 15);
    EXPECT_EQ(texto(QStringLiteral("SELECT RAZCLI FROM F510CLI WHERE CODCLI = 2")), QStringLiteral("PADARIA DOIS ME"));
    EXPECT_EQ(conta(QStringLiteral("F510CLI WHERE CODCLI = 0 AND CODNOV = 9900001 AND CODVEN = 12 AND SITCLI = 'A' "
                                   "AND CODTAB = 1 AND LIMCRE = 0 AND EMIAVS = 'N'")),
              1);

    EXPECT_EQ(conta(QStringLiteral("F599MSG WHERE TITMSG = 'PEDIDO' AND USUREM = 7 AND CODMSG = 4 AND USUENV = 7 "
                                   "AND DATMSG = CURRENT_DATE AND SITMSG = 'N'")),
              2);
    EXPECT_EQ(texto(QStringLiteral("SELECT FIRST 1 DESMSG FROM F599MSG WHERE TITMSG = 'PEDIDO'")),
              QStringLiteral("Favor ligar \r\namanhã"));
    EXPECT_EQ(texto(QStringLiteral("SELECT SITMSG FROM F599MSG WHERE CODINT = 88002")), QStringLiteral("L"));
    EXPECT_EQ(texto(QStringLiteral("SELECT SITMSG FROM F599MSG WHERE CODINT = 88001")), QStringLiteral("N"));

    EXPECT_EQ(valor(QStringLiteral("SELECT DATMOV FROM F512MTF WHERE CODMOV = 2")).toDate(), QDate(2024, 3, 12));
    EXPECT_EQ(texto(QStringLiteral("SELECT SITMOV FROM F512MTF WHERE CODMOV = 2")), QStringLiteral("E"));
    EXPECT_EQ(texto(QStringLiteral("SELECT AUTBON FROM F030PDV WHERE CODPDV = 7001")), QStringLiteral("A"));
    EXPECT_EQ(texto(QStringLiteral("SELECT SENUSU FROM F599USU WHERE CODUSU = 7")),
              D500DAT::embaralhaSenha(QStringLiteral("nova456")));
}

// Guards against work counted twice or reverted to an older copy when a notebook sends again
// (a synchronisation broke once the script had run, or the seller corrected an order): the
// latest copy replaces the earlier one under its server number while the back office has not
// taken it; a taken order keeps the back office's copy.
TEST_F(BaseCentralTeste, ScriptRepetidoSubstituiACopiaAnterior)
{
    central->executaScript(marcos, NotebookExemplo::script(QStringLiteral("45366.5")));
    const QVariant numero3 = valor(QStringLiteral("SELECT CODINT FROM F530PDF WHERE CODPDF = 3"));
    central->conexao().execute(QStringLiteral("UPDATE F530PDF SET SITPDF = 'F', OBSCLI = 'FATURADO' WHERE CODPDF = 5"));
    central->conexao().execute(QStringLiteral("UPDATE F599MSG SET SITMSG = 'L' WHERE TITMSG = 'PEDIDO' AND USUDES = 9"));

    QStringList script = NotebookExemplo::script(QStringLiteral("45366.75"));
    for (QString &linha : script) {
        linha.replace(QStringLiteral("entregar cedo"), QStringLiteral("entregar à tarde"));
        linha.replace(QStringLiteral("'3','PEDIDO'"), QStringLiteral("'3','PEDIDO 2'"));
    }
    central->executaScript(marcos, script);
    EXPECT_EQ(conta(QStringLiteral("F530PDF WHERE CODPDF = 3")), 1);
    EXPECT_EQ(conta(QStringLiteral("F530IPF WHERE CODPDF = 3")), 1);
    EXPECT_EQ(valor(QStringLiteral("SELECT CODINT FROM F530PDF WHERE CODPDF = 3")), numero3);
    EXPECT_EQ(valor(QStringLiteral("SELECT CODINT FROM F530IPF WHERE CODPDF = 3")), numero3);
    EXPECT_EQ(texto(QStringLiteral("SELECT OBSCLI FROM F530PDF WHERE CODPDF = 3")), QStringLiteral("entregar à tarde"));
    EXPECT_EQ(conta(QStringLiteral("F530PDF WHERE CODPDF = 5")), 1);
    EXPECT_EQ(conta(QStringLiteral("F530IPF WHERE CODPDF = 5")), 1);
    EXPECT_EQ(texto(QStringLiteral("SELECT OBSCLI FROM F530PDF WHERE CODPDF = 5")), QStringLiteral("FATURADO"));
    EXPECT_EQ(conta(QStringLiteral("F512MTF WHERE CODMOV = 2")), 1);
    EXPECT_EQ(conta(QStringLiteral("F510CLI WHERE CODNOV = 9900001")), 1);
    EXPECT_EQ(conta(QStringLiteral("F510CLI WHERE CODCLI = 4")), 1);
    // Unread: the latest text; read and unchanged: the one copy the recipient saw.
    EXPECT_EQ(conta(QStringLiteral("F599MSG WHERE TITMSG STARTING WITH 'PEDIDO'")), 2);
    EXPECT_EQ(texto(QStringLiteral("SELECT TITMSG FROM F599MSG WHERE USUDES = 3 AND USUENV = 7")), QStringLiteral("PEDIDO 2"));
    EXPECT_EQ(texto(QStringLiteral("SELECT SITMSG FROM F599MSG WHERE USUDES = 9 AND USUENV = 7")), QStringLiteral("L"));
}

// Guards against half a script staying in the central database: the notebook sends it all
// again next time.
TEST_F(BaseCentralTeste, ScriptComFalhaNaoDeixaNada)
{
    QStringList script = NotebookExemplo::script();
    script.insert(5, NotebookExemplo::linhaPedido(QStringLiteral("9"), QStringLiteral("12/03/2024"), QStringLiteral("1"),
                                                  QStringLiteral("0"), QString(600, u'x')));
    try {
        central->executaScript(marcos, script);
        FAIL() << "o script com valor inválido foi aceito";
    } catch (const DatabaseError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("comando 6"))) << e.message().toStdString();
    }
    EXPECT_EQ(conta(QStringLiteral("F530PDF")), 2);
    EXPECT_EQ(conta(QStringLiteral("F599MSG WHERE TITMSG = 'PEDIDO'")), 0);
    EXPECT_EQ(texto(QStringLiteral("SELECT SENUSU FROM F599USU WHERE CODUSU = 7")), NotebookExemplo::senhaEmbaralhada());
}

// Guards against a notebook writing through its script what is not its own: other users'
// passwords copied out, other sellers' orders, customers or bonus orders changed, rows
// deleted, sub-selects, two statements in a line. The whole script is refused.
TEST_F(BaseCentralTeste, ComandosRecusados)
{
    central->cadastraUsuario(QStringLiteral("1"), QStringLiteral("3"), QStringLiteral("ROBERTO"), QStringLiteral("abc"),
                             QString());
    central->conexao().execute(QStringLiteral("INSERT INTO F510CLI (CODEMP, CODCLI, CODNOV, CODVEN, RAZCLI, STUCLI) "
                                              "VALUES (1, 3, 0, 20, 'DE OUTRO VENDEDOR', 'E')"));
    const QString pedido = NotebookExemplo::linhaPedido(QStringLiteral("3"), QStringLiteral("10/03/2024"), QStringLiteral("1"),
                                                        QStringLiteral("0"), QString());
    QString deOutro = pedido;
    deOutro.replace(QStringLiteral("'D','12'"), QStringLiteral("'D','20'"));
    QString subSelect = pedido;
    subSelect.replace(QStringLiteral("'D','12'"), QStringLiteral("'D',(SELECT MAX(CODVEN) FROM F512VEN)"));
    QString copiaSenhas = NotebookExemplo::linhaCliente(QStringLiteral("0"), QStringLiteral("9900009"), QStringLiteral("X"),
                                                         QStringLiteral("N"), QString());
    copiaSenhas.replace(QStringLiteral("FROM DUAL"), QStringLiteral("FROM F599USU"));
    QString mensagemDeOutro = NotebookExemplo::linhaMensagem(QStringLiteral("9"), QStringLiteral("X"));
    mensagemDeOutro.replace(QStringLiteral("NEXTVAL, '7'"), QStringLiteral("NEXTVAL, '3'"));
    const QStringList hostis = {
        QStringLiteral("DELETE FROM F510CLI"),
        QStringLiteral("UPDATE F599USU SET USASUP = 'S' WHERE CODUSU = '7'"),
        QStringLiteral("UPDATE F599USU SET EXPSEN = 'N', SENUSU = 'trocada' WHERE CODEMP = '1' AND CODUSU = '3'"),
        QStringLiteral("UPDATE F530PDF SET SITPDF = 'L'; DELETE FROM F530PDF"),
        QStringLiteral("UPDATE F530PDF SET SITPDF = 'L' WHERE CODEMP = '1' AND CODVEN <> 12"),
        QStringLiteral("UPDATE F530PDF SET SITPDF = 'L' WHERE CODEMP = '1' AND   CODNOV = 0 AND   SITPDF = 'D' AND  "
                       "(CODVEN = '15' OR VENSUB = '15' )"),
        QStringLiteral("UPDATE F030PDV SET AUTBON = 'A' WHERE 1=1"),
        QStringLiteral("UPDATE F030PDV SET AUTBON = 'A' WHERE CODPDV = 7001 AND   CODEMP = 2"),
        QStringLiteral("UPDATE F599MSG SET SITMSG = 'L' WHERE CODEMP = 1 AND   USUDES = 3 AND   CODINT IN (88002)"),
        QStringLiteral("INSERT INTO F030SUB (CODEMP, CODVEN, VENSUB) VALUES (1, 20, 12)"),
        QStringLiteral(" INSERT INTO F510CLI (CODEMP, CODVEN, CODNOV, CODCLI, RAZCLI) SELECT CODEMP, '12', '9900009', '0', "
                       "SENUSU FROM F599USU"),
        copiaSenhas,
        deOutro,
        subSelect,
        mensagemDeOutro,
        NotebookExemplo::linhaCliente(QStringLiteral("3"), QStringLiteral("0"), QStringLiteral("TOMADO"), QStringLiteral("A"),
                                      QString()),
        NotebookExemplo::linhaItem(QStringLiteral("8")),
        NotebookExemplo::linhaPedido(QStringLiteral("9"), QStringLiteral("12/03/2024"), QStringLiteral("um"), QStringLiteral("0"),
                                     QString()),
        NotebookExemplo::linhaPedido(QStringLiteral("9"), QStringLiteral("31/02/2024"), QStringLiteral("1"), QStringLiteral("0"),
                                     QString()),
    };
    for (const QString &linha : hostis) {
        QStringList script = NotebookExemplo::script();
        script << linha;
        try {
            central->executaScript(marcos, script);
            ADD_FAILURE() << "aceito: " << linha.toStdString();
        } catch (const DatabaseError &e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("linha %1:").arg(script.size()))) << e.message().toStdString();
        }
    }
    EXPECT_EQ(conta(QStringLiteral("F510CLI")), 4);
    EXPECT_EQ(conta(QStringLiteral("F530PDF")), 2);
    EXPECT_EQ(texto(QStringLiteral("SELECT RAZCLI FROM F510CLI WHERE CODCLI = 3")), QStringLiteral("DE OUTRO VENDEDOR"));
    EXPECT_EQ(texto(QStringLiteral("SELECT AUTBON FROM F030PDV WHERE CODPDV = 7001")), QStringLiteral("P"));
    EXPECT_EQ(texto(QStringLiteral("SELECT SENUSU FROM F599USU WHERE CODUSU = 3")),
              D500DAT::embaralhaSenha(QStringLiteral("abc")));
}

// Guards against a user's file missing what the screens need or holding what the user must not
// see: other sellers' customers, unsent states that would be sent again, server columns,
// numbers changed on the way (NUMERIC values copied through doubles), and a stale catalogue or
// order history kept from an earlier file or its package.
TEST_F(BaseCentralTeste, BaseDoUsuario)
{
    central->executaScript(marcos, NotebookExemplo::script());
    central->gravaServidor(marcos, QStringLiteral("servidor.teste"));
    central->conexao().execute(QStringLiteral("INSERT INTO F510CLI (CODEMP, CODCLI, CODNOV, CODVEN, RAZCLI, STUCLI) "
                                              "VALUES (1, 3, 0, 20, 'DE OUTRO VENDEDOR', 'E')"));
    central->conexao().execute(QStringLiteral("INSERT INTO F510OPC (CODEMP, CODCLI, CODOPE) VALUES (1, 3, 1)"));
    central->conexao().execute(QStringLiteral("INSERT INTO F030PDV (CODEMP, CODCCU, CODPDV, AUTBON, CODVEN) VALUES (1, 1, 7002, 'P', 15)"));
    central->conexao().execute(QStringLiteral("INSERT INTO F530IBO (CODEMP, CODCCU, CODPDV, CODPRO, QTDPRO) VALUES (1, 1, 7002, 100, 1)"));

    const QString arquivo = QDir(pasta.path()).filePath(QStringLiteral("ORVA1_7.FDB"));
    central->geraBase(marcos, arquivo);

    FirebirdConnection base(QStringLiteral("teste_base_usuario"));
    base.setDatabaseName(arquivo);
    base.open();

    EXPECT_EQ(contaEm(base, QStringLiteral("F599USU")), 1);
    QSqlQuery usuario = ConsultaServidor::executa(
        base, QStringLiteral("SELECT CODUSU, DATATL, HSTSRV, EXPSEN, EXPANT, SENUSU, SENANT, HORATL FROM F599USU"));
    ASSERT_TRUE(usuario.next());
    EXPECT_EQ(usuario.value(0).toInt(), 7);
    EXPECT_EQ(usuario.value(1).toDate(), QDate::currentDate());
    EXPECT_EQ(usuario.value(2).toString(), QStringLiteral("servidor.teste"));
    EXPECT_EQ(usuario.value(4).toString(), usuario.value(3).toString());
    EXPECT_EQ(usuario.value(6).toString(), usuario.value(5).toString());
    EXPECT_FALSE(usuario.value(7).isNull());

    EXPECT_EQ(contaEm(base, QStringLiteral("F510CLI WHERE CODCLI IN (1, 2, 4)")), 3);
    EXPECT_EQ(contaEm(base, QStringLiteral("F510CLI WHERE CODNOV = 9900001")), 1);
    EXPECT_EQ(contaEm(base, QStringLiteral("F510CLI WHERE CODCLI = 3")), 0);
    EXPECT_EQ(contaEm(base, QStringLiteral("F510CLI WHERE STUCLI IN ('A', 'N')")), 0);
    EXPECT_EQ(contaEm(base, QStringLiteral("F510OPC")), 3);

    EXPECT_EQ(contaEm(base, QStringLiteral("F530PDF")), 4);
    EXPECT_EQ(contaEm(base, QStringLiteral("F530PDF WHERE CODINT = 0 OR SITPDF IN ('D', 'L') OR PDFORC <> 'N'")), 0);
    EXPECT_EQ(textoEm(base, QStringLiteral("SELECT SITPDF FROM F530PDF WHERE CODINT = 501")), QStringLiteral("F"));
    EXPECT_EQ(textoEm(base, QStringLiteral("SELECT SITPDF FROM F530PDF WHERE CODPDF = 3")), QStringLiteral("E"));
    EXPECT_EQ(contaEm(base, QStringLiteral("F530IPF I WHERE NOT EXISTS (SELECT 1 FROM F530PDF P WHERE P.CODEMP = I.CODEMP "
                                           "AND P.CODPDF = I.CODPDF AND P.CODINT = I.CODINT)")),
              0);
    EXPECT_EQ(contaEm(base, QStringLiteral("F530IPF")), 4);
    EXPECT_EQ(textoEm(base, QStringLiteral("SELECT CAST(PRCVEN AS VARCHAR(30)) FROM F511TAB")),
              QStringLiteral("123456789012.290"));
    EXPECT_EQ(textoEm(base, QStringLiteral("SELECT CAST(MAXDCT AS VARCHAR(30)) FROM F511TAB")), QStringLiteral("0.29"));
    EXPECT_EQ(textoEm(base, QStringLiteral("SELECT CAST(FATPRO AS VARCHAR(30)) FROM F511PRO")), QStringLiteral("1.130"));

    // Messages to the user as received; the user's own as one message with its recipients.
    EXPECT_EQ(contaEm(base, QStringLiteral("F599MSG WHERE ENVMSG = 'R' AND CODMSG = CODINT AND USUREM = 3")), 2);
    EXPECT_EQ(textoEm(base, QStringLiteral("SELECT SITMSG FROM F599MSG WHERE CODINT = 88002")), QStringLiteral("L"));
    EXPECT_EQ(contaEm(base, QStringLiteral("F599MSG WHERE ENVMSG = 'E' AND USUREM = 7")), 2);
    EXPECT_EQ(contaEm(base, QStringLiteral("F599MDT D JOIN F599MSG M ON M.CODEMP = D.CODEMP AND M.CODMSG = D.CODMSG "
                                           "WHERE M.TITMSG = 'PEDIDO'")),
              2);
    EXPECT_EQ(textoEm(base, QStringLiteral("SELECT P.NOMDST FROM PRC_LISTA_DST P JOIN F599MSG M ON M.CODEMP = P.CODEMP "
                                           "AND M.CODMSG = P.CODMSG WHERE M.TITMSG = 'VISITA'")),
              QStringLiteral("JULIANA LIMA, ROBERTO MOREIRA"));

    // Bonus orders awaiting a decision only: 7001 was decided by the script.
    EXPECT_EQ(textoEm(base, QStringLiteral("SELECT LIST(CODPDV || AUTBON) FROM F530BON")), QStringLiteral("7002P"));
    EXPECT_EQ(contaEm(base, QStringLiteral("F530IBO WHERE CODPDV = 7002")), 1);
    EXPECT_EQ(contaEm(base, QStringLiteral("F530IBO")), 1);
    EXPECT_EQ(contaEm(base, QStringLiteral("F512MTF")), 2);
    EXPECT_EQ(contaEm(base, QStringLiteral("F500RSV")), 2);
    EXPECT_EQ(contaEm(base, QStringLiteral("RDB$RELATION_FIELDS WHERE TRIM(RDB$FIELD_NAME) IN ('CODNOW', 'SITSRV', 'USUDES')")),
              0);
    usuario = QSqlQuery(); // an open statement would keep the file attached
    base.close();

    // The catalogue and the closed orders are kept between files: a change reaches the next one.
    central->conexao().execute(QStringLiteral("UPDATE F511TAB SET PRCVEN = 7.5"));
    central->conexao().execute(QStringLiteral("UPDATE F530PDF SET OBSCLI = 'FATURADO' WHERE CODINT = 501"));
    central->conexao().execute(QStringLiteral("UPDATE F530IPF SET QTDPRO = 9 WHERE CODINT = 501"));
    // This time as the notebook receives it: the package made with the history's pieces.
    const QString pacote = QDir(pasta.path()).filePath(QStringLiteral("ORVALIS.KXD"));
    central->geraPacote(marcos, pacote);
    ASSERT_TRUE(ArquivoZip::extrai(pacote, QStringLiteral("ORVA1_7.FDB"), arquivo).ok());
    FirebirdConnection segunda(QStringLiteral("teste_base_usuario_2"));
    segunda.setDatabaseName(arquivo);
    segunda.open();
    EXPECT_EQ(textoEm(segunda, QStringLiteral("SELECT CAST(PRCVEN AS VARCHAR(30)) FROM F511TAB")), QStringLiteral("7.500"));
    EXPECT_EQ(textoEm(segunda, QStringLiteral("SELECT OBSCLI FROM F530PDF WHERE CODINT = 501")), QStringLiteral("FATURADO"));
    EXPECT_EQ(textoEm(segunda, QStringLiteral("SELECT CAST(QTDPRO AS INTEGER) FROM F530IPF WHERE CODINT = 501")), QStringLiteral("9"));
    EXPECT_EQ(contaEm(segunda, QStringLiteral("F530PDF")), 4);
    segunda.close();
}
