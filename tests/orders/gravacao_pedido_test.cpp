#include "DatabaseError.h"
#include "FirebirdConnection.h"
#include "GravacaoPedido.h"
#include "StatementRun.h"
#include "TestDatabase.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class OrderCopy : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db = std::make_unique<TestDatabase>();
        cnx = std::make_unique<FirebirdConnection>(QStringLiteral("orderstore"));
        db->open(*cnx);
        cnx->execute(QStringLiteral("INSERT INTO F530PDF (CODEMP, CODPDF, CODINT, DATPDF, CODCLI, CODNOV, TOTPDF, TOTFLX, SITPDF, "
                                    "CODVEN, SITFLX, PDFORC, MOTCAN) VALUES (1, 5, 77, '01.02.2024', 50, 0, 100, 10, 'E', 7, 'S', "
                                    "'N', 'FALTA')"));
        cnx->execute(QStringLiteral("INSERT INTO F530IPF (CODEMP, CODCCU, CODPDF, CODPRO, CODINT, QTDPRO, VLRUNT, VLRTOT, USOFLX, "
                                    "GERFLX, QTDFAT, VLRFAT, VLRSTB) VALUES (1, 1, 5, 12, 77, 10, 10, 100, 10, 4, 4, 10, 3)"));
    }

    qint64 count(const QString &sql)
    {
        QSqlQuery q = StatementRun::run(*cnx, sql);
        return q.next() ? q.value(0).toLongLong() : -1;
    }

    std::unique_ptr<TestDatabase> db;
    std::unique_ptr<FirebirdConnection> cnx;
    const GravacaoPedido::Chave source{QStringLiteral("1"), QStringLiteral("5"), QStringLiteral("77")};
};

// A failure while writing the copy's header must not leave its items behind.
TEST_F(OrderCopy, HeaderFailureLeavesNoItems)
{
    cnx->execute(QStringLiteral("CREATE UNIQUE INDEX UX_ORDER_KEY ON F530PDF (CODEMP, CODPDF, CODINT)"));
    cnx->execute(QStringLiteral("INSERT INTO F530PDF (CODEMP, CODPDF, CODINT) VALUES (1, 6, 0)"));
    EXPECT_THROW(GravacaoPedido::copia(*cnx, source, QStringLiteral("6"), false, QDate(2026, 12, 9)), DatabaseError);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM F530IPF WHERE CODPDF = 6")), 0);
}

// The copy is a new typed order of today: status 'D', flex unsettled, no cancellation reason,
// items with nothing invoiced and no substitution tax.
TEST_F(OrderCopy, WholeCopyIsANewTypedOrder)
{
    GravacaoPedido::copia(*cnx, source, QStringLiteral("6"), false, QDate(2026, 12, 9));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM F530PDF WHERE CODPDF = 6 AND CODINT = 0 AND SITPDF = 'D' "
                                   "AND SITFLX = 'N' AND MOTCAN IS NULL AND DATPDF = '12/09/2026'")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM F530IPF WHERE CODPDF = 6 AND CODINT = 0 AND QTDPRO = 10 "
                                   "AND QTDFAT = 0 AND VLRFAT = 0 AND SITFLX = 'S' AND SITIPF = 'D' AND VLRSTB IS NULL")), 1);
    EXPECT_TRUE(GravacaoPedido::temItensPendentes(*cnx, source));
}

// Pending-only: the quantity still to invoice, its total and proportional flex.
TEST_F(OrderCopy, PendingOnlyCopiesTheRemainder)
{
    GravacaoPedido::copia(*cnx, source, QStringLiteral("6"), true, QDate(2026, 12, 9));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM F530IPF WHERE CODPDF = 6 AND QTDPRO = 6 AND VLRTOT = 60 "
                                   "AND USOFLX = 6 AND GERFLX = 2.4")), 1);
}

// Deleting removes items and header of the number, whatever their internal number; copying
// the deleted order afterwards (a stale list row) writes nothing instead of an empty order.
TEST_F(OrderCopy, RemoveTakesItemsAndHeader)
{
    GravacaoPedido::exclui(*cnx, QStringLiteral("1"), QStringLiteral("5"));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM F530PDF")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM F530IPF")), 0);
    EXPECT_FALSE(GravacaoPedido::copia(*cnx, source, QStringLiteral("6"), false, QDate(2026, 12, 9)));
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM F530PDF")), 0);
}

} // namespace
