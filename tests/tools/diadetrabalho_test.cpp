#include "LinhasStatus.h"
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
// nothing.
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

    // Only the bonus decision, which the notebook reports at every exchange, goes up again.
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
