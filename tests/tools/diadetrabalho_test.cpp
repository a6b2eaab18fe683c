#include "LinhasStatus.h"
#include "PendentesEnvio.h"
#include "ProxyQueda.h"
#include "TrocaComServidor.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The notebook of the example with the program's own synchronisation client (data module,
// package, replacement, budget carry-over) against the reference server, in one process.
class DiaDeTrabalho : public TrocaComServidor
{
protected:
    void SetUp() override { prepara(true, std::chrono::milliseconds(100)); }
};

} // namespace

// Guards a seller's day of work on its way through both sides: every kind of pending row
// reaches the central database under server numbers, the notebook receives them back as
// sent, keeps its budget under the same number, and a second synchronisation duplicates
// nothing and reports nothing again (a bonus decision the server has included).
TEST_F(DiaDeTrabalho, TrabalhoDoDiaChegaEVolta)
{
    ASSERT_TRUE(sincroniza()) << linhas.join(u'\n').toStdString();
    ASSERT_TRUE(cliente->sucesso()) << linhas.join(u'\n').toStdString();
    EXPECT_EQ(linhas, (QStringList{LinhasStatus::iniciando, LinhasStatus::validandoUsuario, LinhasStatus::usuarioOk,
                                   LinhasStatus::processando, LinhasStatus::gerando, LinhasStatus::recebendo,
                                   LinhasStatus::extraindo, LinhasStatus::sucesso}));

    // On the server.
    const QString numero = central(QStringLiteral("SELECT CODINT FROM F530PDF WHERE CODPDF = 3"));
    EXPECT_GT(numero.toLongLong(), 502);
    EXPECT_EQ(central(QStringLiteral("SELECT DATPDF FROM F530PDF WHERE CODPDF = 3")), QStringLiteral("2024-03-10"));
    EXPECT_EQ(central(QStringLiteral("SELECT COUNT(*) FROM F530IPF WHERE CODPDF = 3 AND CODINT = ")
                      + numero), QStringLiteral("1"));
    EXPECT_EQ(central(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE PDFORC = 'S' OR CODPDF = 4")), QStringLiteral("0"));
    EXPECT_EQ(central(QStringLiteral("SELECT COUNT(*) FROM F510CLI WHERE CODCLI = 4")), QStringLiteral("1"));
    EXPECT_EQ(central(QStringLiteral("SELECT COUNT(*) FROM F510CLI WHERE CODNOV = 9900001")), QStringLiteral("1"));
    EXPECT_EQ(central(QStringLiteral("SELECT COUNT(*) FROM F599MSG WHERE TITMSG = 'RASCUNHO' AND USUDES = 3")),
              QStringLiteral("1"));
    EXPECT_EQ(central(QStringLiteral("SELECT SITMSG FROM F599MSG WHERE CODINT = 88002")), QStringLiteral("L"));
    EXPECT_EQ(central(QStringLiteral("SELECT SITMOV FROM F512MTF WHERE CODMOV = 2")), QStringLiteral("E"));
    EXPECT_EQ(central(QStringLiteral("SELECT AUTBON FROM F030PDV WHERE CODPDV = 7001")), QStringLiteral("A"));

    // On the notebook, in the new file.
    EXPECT_EQ(local(QStringLiteral("SELECT SITPDF FROM F530PDF WHERE CODPDF = 3")), QStringLiteral("E"));
    EXPECT_EQ(local(QStringLiteral("SELECT CODINT FROM F530PDF WHERE CODPDF = 3")), numero);
    EXPECT_EQ(local(QStringLiteral("SELECT PDFORC || '-' || CODINT FROM F530PDF WHERE CODPDF = 4")), QStringLiteral("S-0"));
    EXPECT_EQ(local(QStringLiteral("SELECT COUNT(*) FROM F530IPF WHERE CODPDF = 4")), QStringLiteral("1"));
    EXPECT_EQ(local(QStringLiteral("SELECT COUNT(*) FROM F510CLI WHERE STUCLI IN ('A', 'N')")), QStringLiteral("0"));
    EXPECT_EQ(local(QStringLiteral("SELECT COUNT(*) FROM F599MSG WHERE ENVMSG = 'N' OR SITMSG = 'A'")), QStringLiteral("0"));
    EXPECT_EQ(local(QStringLiteral("SELECT COUNT(*) FROM F512MTF WHERE SITMOV = 'D'")), QStringLiteral("0"));
    EXPECT_EQ(local(QStringLiteral("SELECT DATATL FROM F599USU")), QDate::currentDate().toString(Qt::ISODate));
    EXPECT_FALSE(QFile::exists(QDir(notebook.folder()).filePath(QStringLiteral("ORCPED.XML"))));

    // Nothing is pending any more, the bonus decision included: nothing goes up again.
    EXPECT_TRUE(PendentesEnvio(*dat).le().isEmpty());
    const QString pedidos = central(QStringLiteral("SELECT COUNT(*) FROM F530PDF"));
    const QString mensagens = central(QStringLiteral("SELECT COUNT(*) FROM F599MSG"));
    const QString clientes = central(QStringLiteral("SELECT COUNT(*) FROM F510CLI"));
    linhas.clear();
    ASSERT_TRUE(sincroniza());
    EXPECT_TRUE(cliente->sucesso()) << linhas.join(u'\n').toStdString();
    EXPECT_EQ(central(QStringLiteral("SELECT COUNT(*) FROM F530PDF")), pedidos);
    EXPECT_EQ(central(QStringLiteral("SELECT COUNT(*) FROM F599MSG")), mensagens);
    EXPECT_EQ(central(QStringLiteral("SELECT COUNT(*) FROM F510CLI")), clientes);
    EXPECT_EQ(local(QStringLiteral("SELECT PDFORC FROM F530PDF WHERE CODPDF = 4")), QStringLiteral("S"));
}

// Guards against work lost or doubled when the link drops at any step (the server may have run
// the script without the notebook hearing "#PROCESSADO#"): after the next successful exchange
// the central database holds each order, item, customer, message and movement once, with the
// values the notebook had last.
TEST_F(DiaDeTrabalho, QuedaEmCadaPassoNaoPerdeNemDuplica)
{
    const QStringList passos = {QStringLiteral("#VERSAO#"),   QStringLiteral("#SENHA#"),    QStringLiteral("#END_SERVER#"),
                                QStringLiteral("#DADOS#"),    QStringLiteral("#ENVIAR#"),   QStringLiteral("#RECEBIDO#"),
                                QStringLiteral("#PROCESSADO#"), QStringLiteral("#GERANDO#"), QStringLiteral("#ENVIANDO#")};
    const QString portaServidor = dat->sessao.portaServidor;
    for (qsizetype k = 0; k < passos.size(); ++k) {
        const QString n = QString::number(100 + k);
        dat->cnxFirebird.execute(
            QStringLiteral("INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, DATPDF, CODCLI, CODNOV, TOTPDF, SITPDF, CODVEN, "
                           "PDFORC, OBSCLI) VALUES (1, %1, 0, '03/20/2024', 1, 0, 11.30, 'D', 12, 'N', 'primeira')").arg(n));
        dat->cnxFirebird.execute(
            QStringLiteral("INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, DESPRO, QTDPRO, VLRUNT, VLRTOT, "
                           "SITIPF) VALUES (1, 1, %1, 100, 0, 'ARROZ 5KG', 10, 1.13, 11.30, 'D')").arg(n));
        dat->cnxFirebird.execute(QStringLiteral("INSERT INTO F510CLI (CODEMP, CODCLI, CODNOV, CODVEN, RAZCLI, SITCLI, STUCLI) "
                                                "VALUES (1, 0, 99001%1, 12, 'NOVO %1', 'A', 'N')").arg(n));
        dat->cnxFirebird.execute(QStringLiteral("INSERT INTO F599MSG (CODEMP, CODMSG, USUREM, TITMSG, DESMSG, SITMSG, ENVMSG) "
                                                "VALUES (1, %1, 7, 'AVISO %1', 'texto', 'L', 'N')").arg(n));
        dat->cnxFirebird.execute(QStringLiteral("INSERT INTO F599MDT (CODEMP, CODMSG, CODUSU) VALUES (1, %1, 3)").arg(n));
        dat->cnxFirebird.execute(QStringLiteral("INSERT INTO F512MTF (CODMOV, CODEMP, CODSUP, DATMOV, VENORI, VENDES, TIPMOV, "
                                                "SITMOV, VLRMOV) VALUES (%1, 1, 3, '03/20/2024', 12, 15, 'M', 'D', %1)").arg(n));

        ProxyQueda proxy(servidor->porta(), passos.at(k).toLatin1());
        dat->sessao.portaServidor = QString::number(proxy.porta());
        ASSERT_TRUE(sincroniza()) << passos.at(k).toStdString();
        EXPECT_TRUE(proxy.cortou()) << passos.at(k).toStdString();
        EXPECT_FALSE(cliente->sucesso()) << passos.at(k).toStdString();

        // Corrected after the failure, where it is still to be sent.
        dat->cnxFirebird.execute(
            QStringLiteral("UPDATE F530PDF SET OBSCLI = 'corrigida' WHERE CODPDF = %1 AND SITPDF = 'D'").arg(n));
        const QString observacao = local(QStringLiteral("SELECT OBSCLI FROM F530PDF WHERE CODPDF = ") + n);

        dat->sessao.portaServidor = portaServidor;
        ASSERT_TRUE(sincroniza());
        ASSERT_TRUE(cliente->sucesso()) << passos.at(k).toStdString() << linhas.join(u'\n').toStdString();
        const auto umaVez = [&](const QString &tabela, const QString &condicao) {
            EXPECT_EQ(central(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(tabela, condicao.arg(n))),
                      QStringLiteral("1"))
                << passos.at(k).toStdString() << " " << tabela.toStdString();
        };
        umaVez(QStringLiteral("F530PDF"), QStringLiteral("CODPDF = %1"));
        umaVez(QStringLiteral("F530IPF I"), QStringLiteral("CODPDF = %1 AND EXISTS (SELECT 1 FROM F530PDF P WHERE "
                                                           "P.CODPDF = I.CODPDF AND P.CODINT = I.CODINT)"));
        umaVez(QStringLiteral("F510CLI"), QStringLiteral("CODNOV = 99001%1"));
        umaVez(QStringLiteral("F599MSG"), QStringLiteral("TITMSG = 'AVISO %1'"));
        umaVez(QStringLiteral("F512MTF"), QStringLiteral("CODMOV = %1"));
        EXPECT_EQ(central(QStringLiteral("SELECT OBSCLI FROM F530PDF WHERE CODPDF = ") + n), observacao)
            << passos.at(k).toStdString();
    }
}
