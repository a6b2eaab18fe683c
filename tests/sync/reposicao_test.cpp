#include "AcoesSincronizacao.h"
#include "ArquivoZip.h"
#include "ClienteSincronizacao.h"
#include "D500DAT.h"
#include "OrcamentosSincronizacao.h"
#include "ReposicaoBase.h"
#include "ScriptedAnswerer.h"
#include "TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kUsuarioAntigo = QStringLiteral(
    "INSERT INTO F599USU (CODUSU, NOMUSU, SENUSU, CODEMP, CODVEN, EXPSEN, EXPANT) "
    "VALUES (25, 'Antigo', 'x', 1, 7, 'N', 'N');\n");
const QString kUsuarioNovo = QStringLiteral(
    "INSERT INTO F599USU (CODUSU, NOMUSU, SENUSU, CODEMP, CODVEN, DATATL, HORATL, EXPSEN, EXPANT) "
    "VALUES (25, 'Novo', 'y', 1, 7, '05.03.2024', '09:30:00', 'S', 'N');\n");
const QString kOrcamento = QStringLiteral(
    "INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, CODTAB, DATPDF, CODCLI, CODNOV, TOTPDF, TOTFLX, SITPDF, CODVEN,"
    " OBSCLI, SITFLX, PDFORC, RETPDV) VALUES (1, 12, 0, 2, '04.03.2024', 500, 0, 42.35, 0.5, 'D', 7,"
    " 'Orçamento ''A''', 'N', 'S', 'N');\n"
    "INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, QTDPRO, VLRUNT, VLRTOT, USOFLX, SITIPF)"
    " VALUES (1, 2, 12, 124, 0, 'Açúcar', 3, 10.45, 31.35, 0.5, 'D');\n"
    "INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, QTDPRO, VLRUNT, VLRTOT, USOFLX, SITIPF)"
    " VALUES (1, 2, 12, 125, 0, 'Sal', 1, 11, 11, 0, 'D');\n"
    "INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, SITPDF, CODVEN, PDFORC) VALUES (1, 13, 0, 'D', 7, 'N');\n");

struct Queda
{
};

// The program folder holds the current database (a user "Antigo"), opened by the data module;
// the received archive is built from a second database.
class Reposicao : public ::testing::Test
{
protected:
    void prepara(const QString &scriptAntigo = kUsuarioAntigo)
    {
        atual.runScript(scriptAntigo);
        dat = std::make_unique<D500DAT>();
        dat->setMessagePresenter(&respostas);
        atual.open(dat->cnxFirebird);
        dat->carregaUsuario();
        cliente = std::make_unique<ClienteSincronizacao>(*dat, QStringLiteral("1.0.2.6"), pasta());
    }

    QString pasta() const { return atual.folder(); }
    QString arquivo(const QString &nome) const { return QDir(pasta()).filePath(nome); }
    QString recebido() const { return arquivo(QStringLiteral("ORVALIS.KXD")); }

    // ORVALIS.KXD with one entry, `nomeEntrada`, holding `conteudo`.
    void gravaPacote(const QString &nomeEntrada, const QByteArray &conteudo)
    {
        const QString entrada = temporario.filePath(nomeEntrada);
        QFile f(entrada);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(conteudo);
        f.close();
        ASSERT_TRUE(ArquivoZip::compacta(entrada, recebido()).ok());
    }

    // ORVALIS.KXD holding a database built by `script`.
    void gravaPacoteBase(const QString &script, const QString &nomeEntrada = QStringLiteral("ORVA1_25.FDB"))
    {
        if (!script.isEmpty())
            novo.runScript(script);
        QFile f(novo.path());
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        gravaPacote(nomeEntrada, f.readAll());
    }

    QString consulta(const QString &sql)
    {
        QSqlQuery q = dat->cnxFirebird.query();
        if (!q.exec(sql) || !q.next())
            return QStringLiteral("<nada>");
        return q.value(0).toString().trimmed();
    }

    ResultadoSubstituicao substitui() { return cliente->substituiBase(recebido(), QStringLiteral("ORVA1_25")); }

    void esperaBaseAntigaNoLugar()
    {
        EXPECT_TRUE(dat->cnxFirebird.isOpen());
        EXPECT_EQ(consulta(QStringLiteral("SELECT NOMUSU FROM F599USU")), QStringLiteral("Antigo"));
        EXPECT_EQ(dat->sessao.NOMUSU, QStringLiteral("Antigo"));
        EXPECT_FALSE(QFile::exists(arquivo(QStringLiteral("ORVALIS.OLD"))));
        EXPECT_FALSE(QFile::exists(arquivo(QStringLiteral("ORVA1_25.FDB"))));
        EXPECT_FALSE(dat->sessao.mostraMetas);
    }

    TestDatabase atual;
    TestDatabase novo;
    QTemporaryDir temporario;
    ScriptedAnswerer respostas;
    std::unique_ptr<D500DAT> dat;
    std::unique_ptr<ClienteSincronizacao> cliente;
};

} // namespace

// Guards the swap: the new file is open, the session comes from its user row, nothing is left
// set aside, and the goal window is due.
TEST_F(Reposicao, SubstituiComSucesso)
{
    prepara();
    gravaPacoteBase(kUsuarioNovo);
    EXPECT_EQ(substitui(), ResultadoSubstituicao::Sucesso);
    EXPECT_TRUE(dat->cnxFirebird.isOpen());
    EXPECT_EQ(consulta(QStringLiteral("SELECT NOMUSU FROM F599USU")), QStringLiteral("Novo"));
    EXPECT_EQ(dat->sessao.NOMUSU, QStringLiteral("Novo"));
    EXPECT_EQ(dat->sessao.EXPSEN, QStringLiteral("S")) << "the server's password expiry takes effect";
    EXPECT_TRUE(dat->sessao.mostraMetas);
    EXPECT_TRUE(QFile::exists(arquivo(QStringLiteral("ORVALIS.FDB"))));
    EXPECT_FALSE(QFile::exists(arquivo(QStringLiteral("ORVALIS.OLD"))));
    EXPECT_FALSE(QFile::exists(arquivo(QStringLiteral("ORVA1_25.FDB"))));
    EXPECT_FALSE(QFile::exists(recebido()));
}

// Guards a bad download: garbage, a truncated archive, or an entry of another name leave the
// database as it was, open.
TEST_F(Reposicao, PacoteCorrompidoMantemBaseAntiga)
{
    prepara();
    QFile lixo(recebido());
    ASSERT_TRUE(lixo.open(QIODevice::WriteOnly));
    lixo.write(QByteArray(4096, 'x'));
    lixo.close();
    EXPECT_EQ(substitui(), ResultadoSubstituicao::ErroExtraindo);
    esperaBaseAntigaNoLugar();

    gravaPacoteBase(kUsuarioNovo);
    QFile inteiro(recebido());
    ASSERT_TRUE(inteiro.open(QIODevice::ReadOnly));
    const QByteArray bytes = inteiro.readAll();
    inteiro.close();
    QFile cortado(recebido());
    ASSERT_TRUE(cortado.open(QIODevice::WriteOnly | QIODevice::Truncate));
    cortado.write(bytes.left(bytes.size() / 2));
    cortado.close();
    EXPECT_EQ(substitui(), ResultadoSubstituicao::ErroExtraindo);
    esperaBaseAntigaNoLugar();

    gravaPacote(QStringLiteral("ORVA9_9.FDB"), QByteArray("outro"));
    EXPECT_EQ(substitui(), ResultadoSubstituicao::ErroExtraindo);
    esperaBaseAntigaNoLugar();
}

// Guards a package whose file is not a usable database (not a database at all, or one without
// the user's row): the old file comes back and is reopened.
TEST_F(Reposicao, BaseInvalidaDevolveAntiga)
{
    prepara();
    gravaPacote(QStringLiteral("ORVA1_25.FDB"), QByteArray(8192, '\0'));
    EXPECT_EQ(substitui(), ResultadoSubstituicao::ErroAbrindo);
    esperaBaseAntigaNoLugar();

    gravaPacoteBase(QStringLiteral("DELETE FROM F599USU;\n"));
    EXPECT_EQ(substitui(), ResultadoSubstituicao::ErroAbrindo);
    esperaBaseAntigaNoLugar();
}

// Guards a crash between setting the old file aside and moving the new one in: at the next
// start the old database is put back and opens with its data.
TEST_F(Reposicao, QuedaEntreRenomeacoesRecuperadaNoInicio)
{
    prepara();
    gravaPacoteBase(kUsuarioNovo);
    ReposicaoBase reposicao(dat->cnxFirebird, pasta(), [this] { dat->carregaUsuario(); });
    reposicao.aoAvancar = [](ReposicaoBase::Etapa etapa) {
        if (etapa == ReposicaoBase::Etapa::AntigoAfastado)
            throw Queda{};
    };
    EXPECT_THROW(reposicao.substitui(recebido(), QStringLiteral("ORVA1_25")), Queda);
    ASSERT_FALSE(QFile::exists(arquivo(QStringLiteral("ORVALIS.FDB"))));
    ASSERT_TRUE(QFile::exists(arquivo(QStringLiteral("ORVALIS.OLD"))));

    EXPECT_TRUE(ReposicaoBase::recuperaSeInterrompida(pasta()));
    EXPECT_FALSE(QFile::exists(arquivo(QStringLiteral("ORVALIS.OLD"))));
    dat->cnxFirebird.setDatabaseName(arquivo(QStringLiteral("ORVALIS.FDB")));
    dat->cnxFirebird.open();
    EXPECT_EQ(consulta(QStringLiteral("SELECT NOMUSU FROM F599USU")), QStringLiteral("Antigo"));
    EXPECT_FALSE(ReposicaoBase::recuperaSeInterrompida(pasta())) << "nothing to do with a database in place";
}

// Guards a crash after the new file moved in: the new database is in place and the stale old
// one is dropped by the next swap.
TEST_F(Reposicao, QuedaDepoisDaTrocaDeixaBaseNova)
{
    prepara();
    gravaPacoteBase(kUsuarioNovo);
    ReposicaoBase reposicao(dat->cnxFirebird, pasta(), [this] { dat->carregaUsuario(); });
    reposicao.aoAvancar = [](ReposicaoBase::Etapa etapa) {
        if (etapa == ReposicaoBase::Etapa::NovoNoLugar)
            throw Queda{};
    };
    EXPECT_THROW(reposicao.substitui(recebido(), QStringLiteral("ORVA1_25")), Queda);
    EXPECT_FALSE(ReposicaoBase::recuperaSeInterrompida(pasta()));
    dat->cnxFirebird.setDatabaseName(arquivo(QStringLiteral("ORVALIS.FDB")));
    dat->cnxFirebird.open();
    EXPECT_EQ(consulta(QStringLiteral("SELECT NOMUSU FROM F599USU")), QStringLiteral("Novo"));

    gravaPacoteBase(QString());
    EXPECT_EQ(substitui(), ResultadoSubstituicao::Sucesso);
    EXPECT_FALSE(QFile::exists(arquivo(QStringLiteral("ORVALIS.OLD"))));
}

// Guards the carry-over: the budget orders come back into the new database with their numbers
// and values, and the four files are gone.
TEST_F(Reposicao, OrcamentosRestauradosComSeusNumeros)
{
    prepara(kUsuarioAntigo + kOrcamento);
    cliente->orcamentos().salvaOrcamentos(pasta());
    for (const char *nome : {"BKPPED.XML", "BKPITEM.XML"}) {
        QFile f(arquivo(QString::fromLatin1(nome)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    gravaPacoteBase(kUsuarioNovo);
    ASSERT_EQ(substitui(), ResultadoSubstituicao::Sucesso);

    EXPECT_EQ(consulta(QStringLiteral("SELECT COUNT(*) FROM F530PDF")), QStringLiteral("1"));
    EXPECT_EQ(consulta(QStringLiteral("SELECT CODPDF || '-' || CODINT || '-' || PDFORC || '-' || TOTPDF || '-' || OBSCLI "
                                      "FROM F530PDF")),
              QStringLiteral("12-0-S-42.35-Orçamento 'A'"));
    EXPECT_EQ(consulta(QStringLiteral("SELECT COUNT(*) FROM F530IPF WHERE CODPDF = 12 AND CODINT = 0")),
              QStringLiteral("2"));
    EXPECT_EQ(consulta(QStringLiteral("SELECT CAST(VLRUNT AS VARCHAR(20)) FROM F530IPF WHERE CODPRO = 124")),
              QStringLiteral("10.450"));
    for (const char *nome : {"ORCPED.XML", "ORCITM.XML", "BKPPED.XML", "BKPITEM.XML"})
        EXPECT_FALSE(QFile::exists(arquivo(QString::fromLatin1(nome)))) << nome;
}

// Guards a carry-over without its items file: the orders come back (all the files hold), the
// crash-recovery copy is deleted, and nothing is left to bring the orders back a second time.
TEST_F(Reposicao, SemArquivoDeItensRestauraSoPedidos)
{
    prepara(kUsuarioAntigo + kOrcamento);
    cliente->orcamentos().salvaOrcamentos(pasta());
    QFile::remove(arquivo(QStringLiteral("ORCITM.XML")));
    for (const char *nome : {"BKPPED.XML", "BKPITEM.XML"}) {
        QFile f(arquivo(QString::fromLatin1(nome)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    gravaPacoteBase(kUsuarioNovo);
    ASSERT_EQ(substitui(), ResultadoSubstituicao::Sucesso) << "a failed restore is silent";
    EXPECT_EQ(consulta(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE CODPDF = 12")), QStringLiteral("1"));
    EXPECT_EQ(consulta(QStringLiteral("SELECT COUNT(*) FROM F530IPF")), QStringLiteral("0"));
    EXPECT_FALSE(QFile::exists(arquivo(QStringLiteral("ORCPED.XML"))));
    EXPECT_FALSE(QFile::exists(arquivo(QStringLiteral("ORCPED.PEN"))));
    EXPECT_FALSE(QFile::exists(arquivo(QStringLiteral("BKPPED.XML"))));
    EXPECT_FALSE(QFile::exists(arquivo(QStringLiteral("BKPITEM.XML"))));
    EXPECT_TRUE(respostas.shown.isEmpty());
}

// Guards the order in edition: without budget files its crash-recovery copy stays.
TEST_F(Reposicao, SemOrcamentosCopiaDeRecuperacaoFica)
{
    prepara();
    for (const char *nome : {"BKPPED.XML", "BKPITEM.XML"}) {
        QFile f(arquivo(QString::fromLatin1(nome)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    gravaPacoteBase(kUsuarioNovo);
    ASSERT_EQ(substitui(), ResultadoSubstituicao::Sucesso);
    EXPECT_TRUE(QFile::exists(arquivo(QStringLiteral("BKPPED.XML"))));
    EXPECT_TRUE(QFile::exists(arquivo(QStringLiteral("BKPITEM.XML"))));
}

namespace {

// Budget orders whose keys look alike as text: 1/12/0, 1/121/0, 11/2/0 and 1/1/20 are budgets;
// 1/12/5 and 1/1/2 are typed orders with items of their own. Budget 1/12/0 is held twice.
QString orcamentosParecidos()
{
    QString script;
    auto pedido = [&script](int emp, int pdf, int integ, const char *orcamento) {
        script += QStringLiteral("INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, SITPDF, CODVEN, PDFORC) "
                                 "VALUES (%1, %2, %3, 'D', 7, '%4');\n")
                      .arg(emp).arg(pdf).arg(integ).arg(QLatin1String(orcamento));
    };
    auto item = [&script](int emp, int pdf, int integ, int pro) {
        script += QStringLiteral("INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, QTDPRO) "
                                 "VALUES (%1, 2, %2, %4, %3, %4);\n")
                      .arg(emp).arg(pdf).arg(integ).arg(pro);
    };
    pedido(1, 12, 0, "S");
    pedido(1, 12, 0, "S");
    pedido(1, 121, 0, "S");
    pedido(11, 2, 0, "S");
    pedido(1, 1, 20, "S");
    pedido(1, 12, 5, "N");
    pedido(1, 1, 2, "N");
    for (int pro : {1, 2})
        item(1, 12, 0, pro);
    for (int pro : {3, 4, 5})
        item(1, 121, 0, pro);
    item(11, 2, 0, 6);
    item(1, 1, 20, 7);
    item(1, 12, 5, 90);
    item(1, 1, 2, 91);
    item(1, 120, 0, 92); // an item of no order at all
    return script;
}

} // namespace

// Guards the key match of the budget items: items go with their own order only, whatever
// numbers look alike, and a budget held twice does not double its items.
TEST_F(Reposicao, ItensDeOrcamentosComNumerosParecidos)
{
    prepara(kUsuarioAntigo + orcamentosParecidos());
    cliente->orcamentos().salvaOrcamentos(pasta());
    gravaPacoteBase(kUsuarioNovo);
    ASSERT_EQ(substitui(), ResultadoSubstituicao::Sucesso);

    EXPECT_EQ(consulta(QStringLiteral("SELECT COUNT(*) FROM F530IPF")), QStringLiteral("7"));
    EXPECT_EQ(consulta(QStringLiteral("SELECT LIST(CODEMP || '/' || CODPDF || '/' || CODINT || ':' || CODPRO, ' ') "
                                      "FROM (SELECT * FROM F530IPF ORDER BY CODPRO)")),
              QStringLiteral("1/12/0:1 1/12/0:2 1/121/0:3 1/121/0:4 1/121/0:5 11/2/0:6 1/1/20:7"));
    EXPECT_EQ(consulta(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE PDFORC = 'S'")), QStringLiteral("5"));
    EXPECT_EQ(consulta(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE PDFORC = 'N'")), QStringLiteral("0"));
}

// Guards the carry-over of a notebook with many budgets: every order and item comes back
// with its values.
TEST_F(Reposicao, MuitosOrcamentosVoltamInteiros)
{
    QString script = kUsuarioAntigo;
    for (int pdf = 1; pdf <= 150; ++pdf) {
        script += QStringLiteral("INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, SITPDF, CODVEN, PDFORC, TOTPDF) "
                                 "VALUES (1, %1, 0, 'D', 7, 'S', %1.25);\n")
                      .arg(pdf);
        for (int pro = 1; pro <= 8; ++pro)
            script += QStringLiteral("INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, QTDPRO, "
                                     "VLRUNT) VALUES (1, 2, %1, %2, 0, 'Produto %2', %2, %1.125);\n")
                          .arg(pdf)
                          .arg(pro);
    }
    prepara(script);
    cliente->orcamentos().salvaOrcamentos(pasta());
    gravaPacoteBase(kUsuarioNovo);
    ASSERT_EQ(substitui(), ResultadoSubstituicao::Sucesso);

    EXPECT_EQ(consulta(QStringLiteral("SELECT COUNT(*) || '/' || SUM(TOTPDF) FROM F530PDF WHERE PDFORC = 'S'")),
              QStringLiteral("150/11362.50"));
    EXPECT_EQ(consulta(QStringLiteral("SELECT COUNT(*) || '/' || SUM(QTDPRO) || '/' || SUM(VLRUNT) FROM F530IPF")),
              QStringLiteral("1200/5400.00/90750.000"));
    EXPECT_EQ(consulta(QStringLiteral("SELECT DESPRO FROM F530IPF WHERE CODPDF = 77 AND CODPRO = 3")),
              QStringLiteral("Produto 3"));
    EXPECT_FALSE(QFile::exists(arquivo(QStringLiteral("ORCPED.XML"))));
    EXPECT_FALSE(QFile::exists(arquivo(QStringLiteral("ORCITM.XML"))));
}

// Guards a restore the new database refuses (one item of a budget): no order comes back
// without its items, the files stay, and the next package neither overwrites them with the
// item-less database nor goes on as if the budgets were safe.
TEST_F(Reposicao, ItemRecusadoNaoRestauraNadaEGuardaArquivos)
{
    prepara(kUsuarioAntigo + kOrcamento
            + QStringLiteral("INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, QTDPRO)"
                             " VALUES (1, 2, 12, 126, 0, 'Sal', 2);\n"));
    cliente->orcamentos().salvaOrcamentos(pasta());
    // The new database takes one item per description: the second "Sal" is refused.
    gravaPacoteBase(kUsuarioNovo + QStringLiteral("CREATE UNIQUE INDEX UX_DESPRO ON F530IPF (DESPRO);\n"));
    ASSERT_EQ(substitui(), ResultadoSubstituicao::Sucesso) << "a failed restore is silent";

    EXPECT_EQ(consulta(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE CODPDF = 12")), QStringLiteral("0"));
    EXPECT_EQ(consulta(QStringLiteral("SELECT COUNT(*) FROM F530IPF")), QStringLiteral("0"));
    QByteArray antes;
    for (const char *nome : {"ORCPED.XML", "ORCITM.XML"}) {
        QFile f(arquivo(QString::fromLatin1(nome)));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << nome;
        antes += f.readAll();
    }
    EXPECT_FALSE(cliente->geraPacoteEnvio());
    EXPECT_EQ(respostas.shown.size(), 1) << "the engine's refusal is shown";
    QByteArray depois;
    for (const char *nome : {"ORCPED.XML", "ORCITM.XML"}) {
        QFile f(arquivo(QString::fromLatin1(nome)));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << nome;
        depois += f.readAll();
    }
    EXPECT_EQ(depois, antes);
}

// Guards budgets the seller deleted after an exchange that failed before the swap: the files of
// that package must not bring them back with the next database.
TEST_F(Reposicao, OrcamentoApagadoDepoisDeFalhaNaoVolta)
{
    prepara(kUsuarioAntigo + kOrcamento);
    cliente->geraPacoteEnvio();
    ASSERT_TRUE(QFile::exists(arquivo(QStringLiteral("ORCPED.XML"))));
    dat->cnxFirebird.execute(QStringLiteral("DELETE FROM F530IPF"));
    dat->cnxFirebird.execute(QStringLiteral("DELETE FROM F530PDF WHERE PDFORC = 'S'"));
    cliente->geraPacoteEnvio();
    gravaPacoteBase(kUsuarioNovo);
    ASSERT_EQ(substitui(), ResultadoSubstituicao::Sucesso);
    EXPECT_EQ(consulta(QStringLiteral("SELECT COUNT(*) FROM F530PDF")), QStringLiteral("0"));
}

class ReposicaoQueda : public Reposicao, public ::testing::WithParamInterface<OrcamentosSincronizacao::Etapa>
{
};

// Guards budget items lost to an interrupted restore: the program dies at a step of the
// restore and starts again, the seller synchronises once more, and every budget order is back
// once, with all its items, and no carry-over file is left.
TEST_P(ReposicaoQueda, NovaSincronizacaoDevolveOrcamentosInteiros)
{
    prepara(kUsuarioAntigo + kOrcamento);
    cliente->geraPacoteEnvio();
    gravaPacoteBase(kUsuarioNovo);
    cliente->orcamentos().aoAvancar = [](OrcamentosSincronizacao::Etapa etapa) {
        if (etapa == GetParam())
            throw Queda{};
    };
    EXPECT_THROW(substitui(), Queda);

    cliente->orcamentos().aoAvancar = nullptr;
    dat->cnxFirebird.close();
    ReposicaoBase::recuperaSeInterrompida(pasta());
    dat->cnxFirebird.setDatabaseName(arquivo(QStringLiteral("ORVALIS.FDB")));
    dat->cnxFirebird.open();
    dat->carregaUsuario();
    ASSERT_EQ(dat->sessao.NOMUSU, QStringLiteral("Novo"));

    cliente->geraPacoteEnvio();
    gravaPacoteBase(QString());
    ASSERT_EQ(substitui(), ResultadoSubstituicao::Sucesso);
    EXPECT_TRUE(respostas.shown.isEmpty());
    EXPECT_EQ(consulta(QStringLiteral("SELECT COUNT(*) || '/' || MAX(TOTPDF) FROM F530PDF WHERE PDFORC = 'S'")),
              QStringLiteral("1/42.35"));
    EXPECT_EQ(consulta(QStringLiteral("SELECT COUNT(*) || '/' || SUM(VLRTOT) FROM F530IPF WHERE CODPDF = 12")),
              QStringLiteral("2/42.350"));
    for (const char *nome : {"ORCPED.XML", "ORCITM.XML", "ORCPED.PEN"})
        EXPECT_FALSE(QFile::exists(arquivo(QString::fromLatin1(nome)))) << nome;
}

// Guards the time between a crash in the restore and the next synchronisation: at the next start
// the budgets are back at once, with their items, and the order in edition keeps its
// crash-recovery copy for the start-up question.
TEST_F(Reposicao, QuedaNaRestauracaoVoltaNaPartida)
{
    prepara(kUsuarioAntigo + kOrcamento);
    cliente->geraPacoteEnvio();
    gravaPacoteBase(kUsuarioNovo);
    cliente->orcamentos().aoAvancar = [](OrcamentosSincronizacao::Etapa etapa) {
        if (etapa == OrcamentosSincronizacao::Etapa::ItensGravados)
            throw Queda{};
    };
    EXPECT_THROW(substitui(), Queda);
    QFile recuperacao(arquivo(QStringLiteral("BKPPED.XML")));
    ASSERT_TRUE(recuperacao.open(QIODevice::WriteOnly));
    recuperacao.close();

    OrcamentosSincronizacao(dat->cnxFirebird).restauraPendentes(pasta(), QStringLiteral("1"));
    EXPECT_EQ(consulta(QStringLiteral("SELECT COUNT(*) FROM F530IPF WHERE CODPDF = 12")), QStringLiteral("2"));
    EXPECT_TRUE(QFile::exists(arquivo(QStringLiteral("BKPPED.XML"))));
    EXPECT_FALSE(QFile::exists(arquivo(QStringLiteral("ORCPED.PEN"))));
}

INSTANTIATE_TEST_SUITE_P(CadaEtapa, ReposicaoQueda,
                         ::testing::Values(OrcamentosSincronizacao::Etapa::Inicio,
                                           OrcamentosSincronizacao::Etapa::PedidosGravados,
                                           OrcamentosSincronizacao::Etapa::ItensGravados,
                                           OrcamentosSincronizacao::Etapa::Confirmada,
                                           OrcamentosSincronizacao::Etapa::PedidosApagados));

namespace {

void criaArquivo(const QString &caminho, const QByteArray &conteudo = QByteArray("x"))
{
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(conteudo);
}

// What a kill during the download, the extraction or the zipping of the package may leave.
const QStringList kRestos = {
    QStringLiteral("ORVALIS.KXD"),         QStringLiteral("ORVALIS.KXD.aB3dE9"), QStringLiteral("ORVA1_25.FDB"),
    QStringLiteral("ORVA1_25.FDB.Zq81Lm"), QStringLiteral("ORVA1_25.KXD.x1y2z3"),
};
// What must survive: the program's own files and the outgoing script and archive.
const QStringList kFicam = {
    QStringLiteral("ORVA1_25.KXD"), QStringLiteral("ORVA1_25.SCP"), QStringLiteral("ORCPED.XML"),
    QStringLiteral("BKPPED.XML"),   QStringLiteral("SisCon.ini"),
};

} // namespace

// Guards the program folder after a download killed half-way: at the next start the
// temporaries and the half-done package go, the database and the other files stay.
TEST_F(Reposicao, RestosDeDownloadInterrompidoApagadosNaPartida)
{
    prepara();
    dat->cnxFirebird.close();
    for (const QString &nome : kRestos + kFicam)
        criaArquivo(arquivo(nome));

    EXPECT_FALSE(ReposicaoBase::recuperaSeInterrompida(pasta()));
    for (const QString &nome : kRestos)
        EXPECT_FALSE(QFile::exists(arquivo(nome))) << nome.toStdString();
    for (const QString &nome : kFicam + QStringList{QStringLiteral("ORVALIS.FDB")})
        EXPECT_TRUE(QFile::exists(arquivo(nome))) << nome.toStdString();
    dat->cnxFirebird.open();
    EXPECT_EQ(consulta(QStringLiteral("SELECT NOMUSU FROM F599USU")), QStringLiteral("Antigo"));
}

// Guards recovery together with the clean-up: a kill between the two renames leaves the old
// file set aside; it comes back and only the leftovers go.
TEST_F(Reposicao, RecuperacaoGuardaBaseAntigaEApagaRestos)
{
    prepara();
    dat->cnxFirebird.close();
    ASSERT_TRUE(QFile::rename(arquivo(QStringLiteral("ORVALIS.FDB")), arquivo(QStringLiteral("ORVALIS.OLD"))));
    for (const QString &nome : kRestos)
        criaArquivo(arquivo(nome));

    EXPECT_TRUE(ReposicaoBase::recuperaSeInterrompida(pasta()));
    EXPECT_FALSE(QFile::exists(arquivo(QStringLiteral("ORVALIS.OLD"))));
    for (const QString &nome : kRestos)
        EXPECT_FALSE(QFile::exists(arquivo(nome))) << nome.toStdString();
    dat->cnxFirebird.open();
    EXPECT_EQ(consulta(QStringLiteral("SELECT NOMUSU FROM F599USU")), QStringLiteral("Antigo"));
}

// Guards a folder without any database in place: an extracted database is all there is and
// stays; only the temporaries go. A set-aside file with a database in place is left to the swap.
TEST_F(Reposicao, BaseExtraidaFicaSemBaseNoLugar)
{
    const QString vazia = temporario.filePath(QStringLiteral("vazia"));
    ASSERT_TRUE(QDir().mkpath(vazia));
    criaArquivo(QDir(vazia).filePath(QStringLiteral("ORVA1_25.FDB")));
    criaArquivo(QDir(vazia).filePath(QStringLiteral("ORVALIS.KXD.aB3dE9")));
    EXPECT_EQ(ReposicaoBase::limpaRestos(vazia), QStringList{QStringLiteral("ORVALIS.KXD.aB3dE9")});
    EXPECT_TRUE(QFile::exists(QDir(vazia).filePath(QStringLiteral("ORVA1_25.FDB"))));

    criaArquivo(QDir(vazia).filePath(QStringLiteral("ORVALIS.FDB")));
    criaArquivo(QDir(vazia).filePath(QStringLiteral("ORVALIS.OLD")));
    EXPECT_EQ(ReposicaoBase::limpaRestos(vazia), QStringList{QStringLiteral("ORVA1_25.FDB")});
    EXPECT_TRUE(QFile::exists(QDir(vazia).filePath(QStringLiteral("ORVALIS.OLD"))));
}

// Guards the start of an exchange in a program that kept running: the leftovers of the last
// interrupted download go before the new one begins.
TEST_F(Reposicao, RestosApagadosAoIniciarAtualizacao)
{
    prepara();
    for (const QString &nome : kRestos + kFicam)
        criaArquivo(arquivo(nome));
    dat->sessao.portaServidor = QStringLiteral("1");
    cliente->iniciaAtualizacao(QStringLiteral("127.0.0.1"), QString(), QString());
    cliente->cancela();
    for (const QString &nome : kRestos)
        EXPECT_FALSE(QFile::exists(arquivo(nome))) << nome.toStdString();
    for (const QString &nome : kFicam)
        EXPECT_TRUE(QFile::exists(arquivo(nome))) << nome.toStdString();
    EXPECT_EQ(consulta(QStringLiteral("SELECT NOMUSU FROM F599USU")), QStringLiteral("Antigo"));
}
