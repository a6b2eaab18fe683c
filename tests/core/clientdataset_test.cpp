#include "ClientDataSetPlus.h"
#include "DatabaseError.h"
#include "FirebirdConnection.h"
#include "Formatos.h"
#include "TestDatabase.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

// Tables of these tests only, so they do not depend on the contract schema.
const char *const kScript = R"(
CREATE TABLE TCID (CODCID NUMERIC(15,0) NOT NULL PRIMARY KEY, NOMCID VARCHAR(40));
CREATE TABLE TCLI (
  CODCLI NUMERIC(15,0) NOT NULL PRIMARY KEY,
  NOMCLI VARCHAR(40) NOT NULL,
  CODCID NUMERIC(15,0),
  SITCLI VARCHAR(10),
  VLRLIM NUMERIC(15,2),
  PRCUNI NUMERIC(15,3),
  DATCAD DATE,
  TIPCLI CHAR(2),
  OBSCLI VARCHAR(200));
CREATE UNIQUE INDEX TCLI_NOME ON TCLI (NOMCLI);
CREATE TABLE TPRE (CODIGO INTEGER, DESCRI VARCHAR(30), VALOR NUMERIC(15,2));
INSERT INTO TCID VALUES (1, 'Curitiba');
INSERT INTO TCID VALUES (2, 'Londrina');
INSERT INTO TCLI VALUES (10, 'Mercado Bom Preço', 1, 'Ativo', 1.13, 126.5, '03/15/2024', 'A', NULL);
INSERT INTO TCLI VALUES (2, 'Armazém Central', 2, 'Inativo', 123456789012.29, 0.125, NULL, 'B', 'cliente antigo');
INSERT INTO TCLI VALUES (7, 'Zé da Esquina', NULL, 'Ativo', 250.40, NULL, '01/02/2023', NULL, '');
CREATE TABLE TMEM (CODIGO INTEGER NOT NULL, TEXTO BLOB SUB_TYPE 1, QUANDO TIMESTAMP, HORA TIME, FATOR DOUBLE PRECISION);
INSERT INTO TMEM VALUES (1, 'primeira ação', '03/15/2024 10:11:12.345', '13:14:15', 0.1);
INSERT INTO TMEM VALUES (2, NULL, '03/16/2024 00:00:00', NULL, NULL);
INSERT INTO TPRE VALUES (1, NULL, 5.50);
INSERT INTO TPRE VALUES (2, 'dois', NULL);
)";

int g_connectionNumber = 0;

class DataSetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        db.runScript(QString::fromUtf8(kScript));
        cnx = std::make_unique<FirebirdConnection>(QStringLiteral("cds%1").arg(++g_connectionNumber));
        db.open(*cnx);
    }

    // A dataset over a statement, opened, writing explicitly unless told otherwise.
    std::unique_ptr<TClientDataSetPlus> openDataSet(const QString &sql, bool autoApply = false)
    {
        auto ds = std::make_unique<TClientDataSetPlus>();
        ds->setConnection(cnx.get());
        ds->AutoApplyUpdates = autoApply;
        ds->setCommandText(sql);
        ds->open();
        return ds;
    }

    QString scalar(const QString &sql)
    {
        QSqlQuery q = cnx->query();
        EXPECT_TRUE(q.exec(sql)) << sql.toStdString();
        if (!q.next())
            return QStringLiteral("<no row>");
        return q.value(0).isNull() ? QStringLiteral("<null>") : q.value(0).toString();
    }

    int count(const QString &table, const QString &where = QStringLiteral("1=1"))
    {
        return scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2").arg(table, where)).toInt();
    }

    TestDatabase db;
    std::unique_ptr<FirebirdConnection> cnx;
};

QString messageOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const DatabaseError &e) {
        return e.message();
    }
    return QString();
}

} // namespace

// Guards loading: kinds, sizes, exact NUMERIC values without driver noise, nulls, dates, CHAR width,
// masks of the column table; and a text longer than its column, or with a character it cannot
// hold, refused by name, not at apply.
TEST_F(DataSetTest, OpenReadsKindsAndExactValues)
{
    auto ds = openDataSet(QStringLiteral("SELECT * FROM TCLI ORDER BY CODCLI"));
    ASSERT_EQ(ds->recordCount(), 3);
    EXPECT_EQ(ds->kind(QStringLiteral("codcli")), FieldKind::Integer);
    EXPECT_EQ(ds->kind(QStringLiteral("VLRLIM")), FieldKind::Numeric);
    EXPECT_EQ(ds->fieldDef(QStringLiteral("VLRLIM")).scale, 2);
    EXPECT_EQ(ds->fieldDef(QStringLiteral("PRCUNI")).scale, 3);
    EXPECT_EQ(ds->fieldDef(QStringLiteral("NOMCLI")).size, 40);
    EXPECT_EQ(ds->kind(QStringLiteral("DATCAD")), FieldKind::Date);

    EXPECT_EQ(ds->asInteger(QStringLiteral("CODCLI")), 2);
    EXPECT_EQ(ds->asString(QStringLiteral("VLRLIM")), QStringLiteral("123456789012.29"));
    EXPECT_EQ(ds->asFloat(QStringLiteral("VLRLIM")), 123456789012.29);
    EXPECT_EQ(ds->asString(QStringLiteral("PRCUNI")), QStringLiteral("0.125"));
    EXPECT_TRUE(ds->isNull(QStringLiteral("DATCAD")));
    EXPECT_EQ(ds->asString(QStringLiteral("DATCAD")), QString());
    EXPECT_EQ(ds->asString(QStringLiteral("TIPCLI")), QStringLiteral("B ")); // CHAR(2): width kept, padding cut

    ds->next(); // 7
    EXPECT_FALSE(ds->isNull(QStringLiteral("OBSCLI")));
    EXPECT_EQ(ds->asString(QStringLiteral("OBSCLI")), QString());
    EXPECT_TRUE(ds->isNull(QStringLiteral("PRCUNI")));
    EXPECT_EQ(ds->asString(QStringLiteral("DATCAD")), QStringLiteral("02/01/2023"));

    ds->next(); // 10
    EXPECT_EQ(ds->asFloat(QStringLiteral("VLRLIM")), 1.13);
    EXPECT_EQ(ds->asString(QStringLiteral("VLRLIM")), QStringLiteral("1.13"));
    EXPECT_EQ(ds->asString(QStringLiteral("PRCUNI")), QStringLiteral("126.500"));
    EXPECT_EQ(ds->asDate(QStringLiteral("DATCAD")), QDate(2024, 3, 15));
    ds->fieldDef(QStringLiteral("VLRLIM")).displayFormat = QStringLiteral("###,###,##0.00");
    EXPECT_EQ(ds->displayText(QStringLiteral("VLRLIM")), QStringLiteral("1,13"));
    EXPECT_EQ(ds->displayText(QStringLiteral("DATCAD")), QStringLiteral("15/03/2024"));
    EXPECT_EQ(ds->displayText(QStringLiteral("CODCLI")), QStringLiteral("00010"));

    ds->edit();
    ds->fieldDef(QStringLiteral("NOMCLI")).displayLabel = QStringLiteral("Nome");
    EXPECT_EQ(messageOf([&] { ds->setValue(QStringLiteral("NOMCLI"), QString(41, u'x')); }),
              QStringLiteral("O campo Nome aceita no máximo 40 caracteres; foram informados 41."));
    ds->setValue(QStringLiteral("NOMCLI"), QString(40, u'x'));
    EXPECT_EQ(messageOf([&] { ds->setValue(QStringLiteral("NOMCLI"), QStringLiteral(u"Bar 😀")); }),
              QStringLiteral(u"O campo Nome não aceita o caractere \"😀\"."));
}

// Guards write-back of NUMERIC: where-all must match 123456789012.29 exactly and new values land exact.
TEST_F(DataSetTest, NumericValuesWrittenBackExactly)
{
    auto ds = openDataSet(QStringLiteral("SELECT * FROM TCLI ORDER BY CODCLI"));
    ds->edit(); // CODCLI 2: its 123456789012.29 and 0.125 take part in locating the row
    ds->setValue(QStringLiteral("SITCLI"), QStringLiteral("Revisto"));
    ds->post();
    ds->last(); // CODCLI 10
    ds->edit();
    ds->setValue(QStringLiteral("VLRLIM"), QStringLiteral("2,35"));
    ds->setValue(QStringLiteral("PRCUNI"), 126.5004999);
    ds->post();
    EXPECT_EQ(ds->asString(QStringLiteral("PRCUNI")), QStringLiteral("126.500"));
    ASSERT_NO_THROW(ds->applyUpdates());
    EXPECT_EQ(scalar(QStringLiteral("SELECT SITCLI FROM TCLI WHERE CODCLI = 2")), QStringLiteral("Revisto"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT CAST(VLRLIM AS VARCHAR(30)) FROM TCLI WHERE CODCLI = 10")),
              QStringLiteral("2.35"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT CAST(PRCUNI AS VARCHAR(30)) FROM TCLI WHERE CODCLI = 10")),
              QStringLiteral("126.500"));
}

// Guards named parameters: bound as text, usable twice, quotes taken literally, names in literals ignored.
TEST_F(DataSetTest, ParametersAreBoundAsText)
{
    auto ds = std::make_unique<TClientDataSetPlus>();
    ds->setConnection(cnx.get());
    ds->setCommandText(QStringLiteral(
        "SELECT CODCLI, ':PNAOPARAM' AS TXT FROM TCLI WHERE CODCLI = :PCOD OR CODCID = :PCOD OR NOMCLI = :PNOME "
        "-- :PCOMENTARIO\n ORDER BY CODCLI"));
    EXPECT_EQ(ds->paramNames(), (QStringList{QStringLiteral("PCOD"), QStringLiteral("PNOME")}));
    ds->setParam(QStringLiteral(":PCOD"), QStringLiteral("2"));
    EXPECT_FALSE(messageOf([&] { ds->open(); }).isEmpty()); // PNOME has no value yet
    ds->setParam(QStringLiteral("pnome"), QStringLiteral("x' OR '1'='1"));
    ds->open();
    // CODCLI 2, and CODCID 2 is also CODCLI 2: one row; the quote did not widen the search.
    ASSERT_EQ(ds->recordCount(), 1);
    EXPECT_EQ(ds->asInteger(QStringLiteral("CODCLI")), 2);
    EXPECT_EQ(ds->asString(QStringLiteral("TXT")), QStringLiteral(":PNAOPARAM"));

    ds->close();
    ds->setParam(QStringLiteral("PCOD"), QStringLiteral("1"));
    ds->setParam(QStringLiteral("PNOME"), QStringLiteral("Zé da Esquina"));
    ds->open();
    ASSERT_EQ(ds->recordCount(), 2); // CODCID = 1 gives 10; the name gives 7
    EXPECT_EQ(ds->asInteger(QStringLiteral("CODCLI")), 7);
}

// Guards against typed filter text the engine refuses ("string right truncation", "Cannot
// transliterate character", "Malformed string"): it finds nothing, and accents still match.
TEST_F(DataSetTest, TypedFilterTextFindsNothingInsteadOfFailing)
{
    auto ds = std::make_unique<TClientDataSetPlus>();
    ds->setConnection(cnx.get());
    ds->setCommandText(QStringLiteral("SELECT CODCLI FROM TCLI WHERE NOMCLI LIKE :PNOME AND CODCLI LIKE :PCOD"));
    const auto encontrados = [&](const QString &nome, const QString &codigo) {
        ds->close();
        ds->setTypedParam(QStringLiteral("PNOME"), nome);
        ds->setTypedParam(QStringLiteral("PCOD"), codigo);
        ds->open();
        return ds->recordCount();
    };
    EXPECT_EQ(encontrados(QStringLiteral(u"%Preço%"), QStringLiteral("1%")), 1);
    EXPECT_EQ(encontrados(QStringLiteral(u"%€ÿ😀%"), QStringLiteral("%")), 0);
    EXPECT_EQ(encontrados(QStringLiteral("%") + QString(300, u'ç'), QStringLiteral("%")), 0);
    EXPECT_EQ(encontrados(QString(20, u'ç') + QStringLiteral(u"😀"), QStringLiteral("%")), 0);
    EXPECT_EQ(encontrados(QStringLiteral("%"), QString(5000, u'9')), 0);
    EXPECT_EQ(encontrados(QStringLiteral("%"), QStringLiteral("abc")), 0);
}

// Guards all-or-nothing apply: a failing second row leaves the first unwritten and the log intact.
TEST_F(DataSetTest, ApplyWritesAllOrNothing)
{
    auto ds = openDataSet(QStringLiteral("SELECT * FROM TCLI"));
    ds->append();
    ds->setValue(QStringLiteral("CODCLI"), 20);
    ds->setValue(QStringLiteral("NOMCLI"), QStringLiteral("Novo Cliente"));
    ds->post();
    ds->append();
    ds->setValue(QStringLiteral("CODCLI"), 21); // NOMCLI left null: NOT NULL refuses it
    ds->post();
    EXPECT_EQ(ds->changeCount(), 2);

    const QString message = messageOf([&] { ds->applyUpdates(); });
    EXPECT_TRUE(message.contains(QStringLiteral("NOMCLI"))) << message.toStdString();
    EXPECT_EQ(count(QStringLiteral("TCLI"), QStringLiteral("CODCLI IN (20, 21)")), 0);
    EXPECT_EQ(ds->changeCount(), 2);
    EXPECT_FALSE(cnx->inTransaction());

    // The owner fixes the row with a name that breaks the unique index: still nothing written.
    ASSERT_TRUE(ds->locate({QStringLiteral("CODCLI")}, {21}));
    ds->edit();
    ds->setValue(QStringLiteral("NOMCLI"), QStringLiteral("Armazém Central"));
    ds->post();
    EXPECT_EQ(ds->rowStatus(), TClientDataSetPlus::RowStatus::Inserted); // editing a pending insert keeps it one
    EXPECT_FALSE(messageOf([&] { ds->applyUpdates(); }).isEmpty());
    EXPECT_EQ(count(QStringLiteral("TCLI"), QStringLiteral("CODCLI IN (20, 21)")), 0);

    ds->edit();
    ds->setValue(QStringLiteral("NOMCLI"), QStringLiteral("Outro Cliente"));
    ds->post();
    ASSERT_NO_THROW(ds->applyUpdates());
    EXPECT_EQ(count(QStringLiteral("TCLI"), QStringLiteral("CODCLI IN (20, 21)")), 2);
    EXPECT_EQ(ds->changeCount(), 0);
}

// Guards where-all: null originals are found with IS NULL; a row changed underneath fails the whole apply.
TEST_F(DataSetTest, WhereAllLocatesRowsWithNullsAndDetectsChanges)
{
    auto ds = openDataSet(QStringLiteral("SELECT * FROM TPRE ORDER BY CODIGO"));
    ds->edit(); // (1, NULL, 5.50)
    ds->setValue(QStringLiteral("DESCRI"), QStringLiteral("um"));
    ds->post();
    ds->next(); // (2, 'dois', NULL)
    ds->deleteRecord();
    ASSERT_NO_THROW(ds->applyUpdates());
    EXPECT_EQ(scalar(QStringLiteral("SELECT DESCRI FROM TPRE WHERE CODIGO = 1")), QStringLiteral("um"));
    EXPECT_EQ(count(QStringLiteral("TPRE")), 1);

    ds->append();
    ds->setValue(QStringLiteral("CODIGO"), 3);
    ds->post();
    ds->first();
    ds->edit();
    ds->setValue(QStringLiteral("VALOR"), 9);
    ds->post();
    cnx->execute(QStringLiteral("UPDATE TPRE SET VALOR = 6 WHERE CODIGO = 1")); // another user
    EXPECT_EQ(messageOf([&] { ds->applyUpdates(); }),
              QStringLiteral("Registro não encontrado ou alterado por outro usuário."));
    EXPECT_EQ(count(QStringLiteral("TPRE"), QStringLiteral("CODIGO = 3")), 0); // the insert went back too
    EXPECT_EQ(ds->changeCount(), 2);
    ds->revertRecord(); // the current row's change alone leaves the log
    EXPECT_EQ(ds->changeCount(), 1);
    EXPECT_EQ(ds->asString(QStringLiteral("VALOR")), QStringLiteral("5.50"));
    ds->cancelUpdates();
    EXPECT_EQ(ds->recordCount(), 1);
    EXPECT_EQ(ds->asString(QStringLiteral("VALOR")), QStringLiteral("5.50"));
}

// Guards joined, literal and calculated columns: they are shown but never written to the table.
TEST_F(DataSetTest, JoinedLiteralAndCalculatedColumnsAreNotWritten)
{
    auto ds = std::make_unique<TClientDataSetPlus>();
    ds->setConnection(cnx.get());
    ds->AutoApplyUpdates = false;
    ds->setCommandText(QStringLiteral(
        "SELECT C.*, D.NOMCID, 'N' AS VLDITM, (SELECT COUNT(*) FROM TCID) AS QTDCID "
        "FROM TCLI C LEFT JOIN TCID D ON D.CODCID = C.CODCID ORDER BY C.CODCLI"));
    FieldDef dobro;
    dobro.name = QStringLiteral("VLRDOB");
    dobro.kind = FieldKind::Numeric;
    dobro.scale = 2;
    ds->addCalculatedField(dobro, [](const DataRow &row) { return QVariant(row.asFloat(QStringLiteral("VLRLIM")) * 2); });
    ds->open();
    EXPECT_EQ(ds->tableName(), QStringLiteral("TCLI"));
    EXPECT_EQ(ds->asString(QStringLiteral("VLDITM")), QStringLiteral("N"));
    EXPECT_EQ(ds->asString(QStringLiteral("NOMCID")), QStringLiteral("Londrina"));
    EXPECT_EQ(ds->asFloat(QStringLiteral("VLRDOB")), 246913578024.58);

    ds->edit();
    ds->setValue(QStringLiteral("NOMCID"), QStringLiteral("Maringá"));
    ds->setValue(QStringLiteral("VLDITM"), QStringLiteral("S"));
    ds->setValue(QStringLiteral("NOMCLI"), QStringLiteral("Armazém Central Ltda"));
    ds->post();
    ds->append();
    ds->setValue(QStringLiteral("CODCLI"), 30);
    ds->setValue(QStringLiteral("NOMCLI"), QStringLiteral("Cliente Trinta"));
    ds->setValue(QStringLiteral("NOMCID"), QStringLiteral("Nenhuma"));
    ds->setValue(QStringLiteral("QTDCID"), 99);
    ds->post();
    ASSERT_NO_THROW(ds->applyUpdates());
    EXPECT_EQ(scalar(QStringLiteral("SELECT NOMCLI FROM TCLI WHERE CODCLI = 2")), QStringLiteral("Armazém Central Ltda"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT NOMCID FROM TCID WHERE CODCID = 2")), QStringLiteral("Londrina"));
    EXPECT_EQ(count(QStringLiteral("TCLI"), QStringLiteral("CODCLI = 30")), 1);
    EXPECT_EQ(count(QStringLiteral("TCID")), 2);

    // The owner may keep a table column out of updates as well.
    ds->fieldDef(QStringLiteral("SITCLI")).inUpdate = false;
    ds->first();
    ds->edit();
    ds->setValue(QStringLiteral("SITCLI"), QStringLiteral("Bloqueado"));
    ds->setValue(QStringLiteral("OBSCLI"), QStringLiteral("revisto"));
    ds->post();
    ASSERT_NO_THROW(ds->applyUpdates());
    EXPECT_EQ(scalar(QStringLiteral("SELECT SITCLI || '/' || OBSCLI FROM TCLI WHERE CODCLI = 2")),
              QStringLiteral("Inativo/revisto"));
}

// Guards the order totals: sums and counts follow the filter, and the current row stays valid.
TEST_F(DataSetTest, SummariesFollowTheFilter)
{
    auto ds = openDataSet(QStringLiteral("SELECT * FROM TCLI"));
    EXPECT_DOUBLE_EQ(ds->sum(QStringLiteral("VLRLIM")), 123456789263.82);
    ds->setFilter([](const DataRow &row) { return row.asString(QStringLiteral("SITCLI")) == QLatin1String("Ativo"); });
    EXPECT_EQ(ds->count(), 2);
    EXPECT_DOUBLE_EQ(ds->sum(QStringLiteral("VLRLIM")), 251.53);
    EXPECT_EQ(ds->asString(QStringLiteral("SITCLI")), QStringLiteral("Ativo"));

    // A posted change that leaves the filter takes the row out of the totals.
    ASSERT_TRUE(ds->locate({QStringLiteral("CODCLI")}, {7}));
    ds->edit();
    ds->setValue(QStringLiteral("SITCLI"), QStringLiteral("Inativo"));
    ds->post();
    EXPECT_EQ(ds->count(), 1);
    EXPECT_DOUBLE_EQ(ds->sum(QStringLiteral("VLRLIM")), 1.13);
    ds->clearFilter();
    EXPECT_EQ(ds->count(), 3);
}

// Guards the column-title rule: ascending, then descending through FIELD_INV, then ascending, on the same row.
TEST_F(DataSetTest, TitleClickCyclesAscendingDescendingKeepingCurrentRow)
{
    auto ds = openDataSet(QStringLiteral("SELECT * FROM TCLI"));
    auto codes = [&] {
        QStringList list;
        for (ds->first(); !ds->eof(); ds->next())
            list << ds->asString(QStringLiteral("CODCLI"));
        return list.join(u',');
    };
    ds->sortByColumnTitle(QStringLiteral("CODCLI"));
    EXPECT_EQ(codes(), QStringLiteral("2,7,10")); // numerically, not as text
    ASSERT_TRUE(ds->locate({QStringLiteral("CODCLI")}, {7}));

    ds->sortByColumnTitle(QStringLiteral("PRCUNI")); // nulls first
    EXPECT_EQ(ds->indexFieldNames(), QStringLiteral("PRCUNI"));
    EXPECT_EQ(ds->asInteger(QStringLiteral("CODCLI")), 7);
    EXPECT_EQ(ds->recNo(), 0);

    ds->sortByColumnTitle(QStringLiteral("PRCUNI"));
    EXPECT_TRUE(ds->indexFieldNames().isEmpty());
    EXPECT_TRUE(ds->hasIndex(QStringLiteral("PRCUNI_INV")));
    EXPECT_EQ(ds->indexName(), QStringLiteral("PRCUNI_INV"));
    EXPECT_EQ(ds->asInteger(QStringLiteral("CODCLI")), 7);
    EXPECT_EQ(ds->recNo(), 2);
    EXPECT_EQ(codes(), QStringLiteral("10,2,7"));

    ds->setRecNo(1);
    ds->sortByColumnTitle(QStringLiteral("PRCUNI"));
    EXPECT_EQ(ds->indexFieldNames(), QStringLiteral("PRCUNI"));
    EXPECT_EQ(ds->asInteger(QStringLiteral("CODCLI")), 2);
    EXPECT_EQ(codes(), QStringLiteral("7,2,10"));

    ds->setIndexFieldNames(QStringLiteral("SITCLI;NOMCLI")); // stable, multi-field
    EXPECT_EQ(codes(), QStringLiteral("10,7,2"));
}

// Guards the budget carry-over file: pending insert, change and deletion survive a save/load and apply exactly.
TEST_F(DataSetTest, XmlRoundTripKeepsPendingChangesForApply)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("ORCPED.XML"));
    {
        auto ds = openDataSet(QStringLiteral("SELECT C.*, D.NOMCID FROM TCLI C LEFT JOIN TCID D ON D.CODCID = C.CODCID "
                                             "ORDER BY C.CODCLI"));
        ds->edit(); // 2
        ds->setValue(QStringLiteral("OBSCLI"), QStringLiteral("linha 1\r\nlinha 2 – ação"));
        ds->setValue(QStringLiteral("VLRLIM"), 10.1);
        ds->post();
        ds->next(); // 7
        ds->deleteRecord();
        ds->append();
        ds->setValue(QStringLiteral("CODCLI"), 40);
        ds->setValue(QStringLiteral("NOMCLI"), QStringLiteral("Inátivo ç"));
        ds->setValue(QStringLiteral("OBSCLI"), QString(QLatin1String(""))); // empty, not null
        ds->setValue(QStringLiteral("DATCAD"), QDate(2024, 12, 31));
        ds->setValue(QStringLiteral("PRCUNI"), 126.5);
        ds->post();
        ds->saveToFile(file);
    }
    EXPECT_EQ(count(QStringLiteral("TCLI")), 3); // nothing written yet

    TClientDataSetPlus loaded;
    loaded.setConnection(cnx.get());
    loaded.AutoApplyUpdates = false;
    loaded.loadFromFile(file);
    EXPECT_TRUE(loaded.active());
    EXPECT_EQ(loaded.tableName(), QStringLiteral("TCLI"));
    EXPECT_EQ(loaded.recordCount(), 3);
    EXPECT_EQ(loaded.changeCount(), 3);
    EXPECT_EQ(loaded.fieldDef(QStringLiteral("VLRLIM")).scale, 2);
    ASSERT_TRUE(loaded.locate({QStringLiteral("CODCLI")}, {40}));
    EXPECT_EQ(loaded.rowStatus(), TClientDataSetPlus::RowStatus::Inserted);
    EXPECT_FALSE(loaded.isNull(QStringLiteral("OBSCLI")));
    EXPECT_TRUE(loaded.isNull(QStringLiteral("VLRLIM")));
    EXPECT_EQ(loaded.asString(QStringLiteral("PRCUNI")), QStringLiteral("126.500"));
    ASSERT_TRUE(loaded.locate({QStringLiteral("CODCLI")}, {2}));
    EXPECT_EQ(loaded.asString(QStringLiteral("OBSCLI")), QStringLiteral("linha 1\r\nlinha 2 – ação"));

    ASSERT_NO_THROW(loaded.applyUpdates());
    EXPECT_EQ(count(QStringLiteral("TCLI")), 3);
    EXPECT_EQ(count(QStringLiteral("TCLI"), QStringLiteral("CODCLI = 7")), 0);
    EXPECT_EQ(scalar(QStringLiteral("SELECT NOMCLI FROM TCLI WHERE CODCLI = 40")), QStringLiteral("Inátivo ç"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT OBSCLI FROM TCLI WHERE CODCLI = 40")), QString());
    EXPECT_EQ(scalar(QStringLiteral("SELECT CAST(VLRLIM AS VARCHAR(20)) FROM TCLI WHERE CODCLI = 2")),
              QStringLiteral("10.10"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT OBSCLI FROM TCLI WHERE CODCLI = 2")),
              QStringLiteral("linha 1\r\nlinha 2 – ação"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT NOMCLI FROM TCLI WHERE CODCLI = 10")), QStringLiteral("Mercado Bom Preço"));
}

// Guards Windows-1252 columns over the UTF-8 connection: accented text goes in and comes back unchanged.
TEST_F(DataSetTest, AccentedTextRoundTripsThroughWin1252Columns)
{
    const QStringList texts = {QStringLiteral("ação"), QStringLiteral("Inátivo"), QStringLiteral("ç")};
    {
        auto ds = openDataSet(QStringLiteral("SELECT CODIGO, DESCRI FROM TPRE"), true);
        for (int i = 0; i < texts.size(); ++i) {
            ds->append();
            ds->setValue(QStringLiteral("CODIGO"), 100 + i);
            ds->setValue(QStringLiteral("DESCRI"), texts.at(i));
            ds->post();
        }
    }
    auto ds = openDataSet(QStringLiteral("SELECT DESCRI FROM TPRE WHERE CODIGO >= 100 ORDER BY CODIGO"));
    QStringList read;
    for (ds->first(); !ds->eof(); ds->next())
        read << ds->asString(QStringLiteral("DESCRI"));
    EXPECT_EQ(read, texts);
    EXPECT_EQ(scalar(QStringLiteral("SELECT OCTET_LENGTH(CAST(DESCRI AS VARCHAR(30) CHARACTER SET WIN1252)) "
                                    "FROM TPRE WHERE CODIGO = 100")),
              QStringLiteral("4"));
}

// Guards grid captions: an accented alias ("RAZÃO SOCIAL") must not arrive as mojibake.
TEST_F(DataSetTest, AccentedAliasesKeepTheirName)
{
    auto ds = openDataSet(QStringLiteral("SELECT DESCRI AS \"RAZÃO SOCIAL\", CODIGO AS CODIGO FROM TPRE"));
    EXPECT_EQ(std::as_const(*ds).fieldDef(0).name, QStringLiteral("RAZÃO SOCIAL"));
    EXPECT_TRUE(ds->hasField(QStringLiteral("RAZÃO SOCIAL")));
    EXPECT_EQ(ds->fieldDef(1).name, QStringLiteral("CODIGO"));
}

// Guards the handler order and AutoApplyUpdates: handlers see the row before it is written; false waits.
TEST_F(DataSetTest, AutoApplyRunsAfterHandlersAndCanBeTurnedOff)
{
    auto ds = openDataSet(QStringLiteral("SELECT * FROM TPRE ORDER BY CODIGO"), true);
    int writtenWhenAfterPost = -1;
    int writtenWhenAfterDelete = -1;
    ds->afterPost = [&](TClientDataSetPlus &) { writtenWhenAfterPost = count(QStringLiteral("TPRE"), QStringLiteral("CODIGO = 5")); };
    ds->afterDelete = [&](TClientDataSetPlus &) { writtenWhenAfterDelete = count(QStringLiteral("TPRE"), QStringLiteral("CODIGO = 5")); };
    ds->append();
    ds->setValue(QStringLiteral("CODIGO"), 5);
    ds->post();
    EXPECT_EQ(writtenWhenAfterPost, 0);
    EXPECT_EQ(count(QStringLiteral("TPRE"), QStringLiteral("CODIGO = 5")), 1);
    EXPECT_EQ(ds->changeCount(), 0);
    ASSERT_TRUE(ds->locate({QStringLiteral("CODIGO")}, {5}));
    ds->deleteRecord();
    EXPECT_EQ(writtenWhenAfterDelete, 1);
    EXPECT_EQ(count(QStringLiteral("TPRE"), QStringLiteral("CODIGO = 5")), 0);

    ds->AutoApplyUpdates = false;
    ds->first();
    ds->edit();
    ds->setValue(QStringLiteral("VALOR"), QStringLiteral("7,25"));
    ds->post();
    ds->append();
    ds->setValue(QStringLiteral("CODIGO"), 6);
    ds->post();
    ds->deleteRecord(); // a pending insert just goes away
    EXPECT_EQ(ds->changeCount(), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT CAST(VALOR AS VARCHAR(20)) FROM TPRE WHERE CODIGO = 1")), QStringLiteral("5.50"));
    ds->applyUpdates();
    EXPECT_EQ(scalar(QStringLiteral("SELECT CAST(VALOR AS VARCHAR(20)) FROM TPRE WHERE CODIGO = 1")), QStringLiteral("7.25"));
    EXPECT_EQ(count(QStringLiteral("TPRE"), QStringLiteral("CODIGO = 6")), 0);
}

// Guards writing items and header together: a failing header leaves the items unwritten and still pending.
TEST_F(DataSetTest, DataSetsAppliedTogetherAreAtomic)
{
    auto items = openDataSet(QStringLiteral("SELECT * FROM TPRE"));
    auto header = openDataSet(QStringLiteral("SELECT * FROM TCLI"));
    items->append();
    items->setValue(QStringLiteral("CODIGO"), 50);
    items->post();
    header->append();
    header->setValue(QStringLiteral("CODCLI"), 10); // duplicate key
    header->setValue(QStringLiteral("NOMCLI"), QStringLiteral("Repetido"));
    header->post();
    EXPECT_FALSE(messageOf([&] { TClientDataSetPlus::applyUpdatesTogether({items.get(), header.get()}); }).isEmpty());
    EXPECT_EQ(count(QStringLiteral("TPRE"), QStringLiteral("CODIGO = 50")), 0);
    EXPECT_EQ(items->changeCount(), 1);
    EXPECT_EQ(header->changeCount(), 1);

    header->edit();
    header->setValue(QStringLiteral("CODCLI"), 11);
    header->post();
    {
        TransactionGuard transaction(*cnx);
        items->applyUpdatesInTransaction();
        header->applyUpdatesInTransaction();
        transaction.commit();
    }
    items->mergeChangeLog();
    header->mergeChangeLog();
    EXPECT_EQ(count(QStringLiteral("TPRE"), QStringLiteral("CODIGO = 50")), 1);
    EXPECT_EQ(count(QStringLiteral("TCLI"), QStringLiteral("CODCLI = 11")), 1);
    EXPECT_EQ(items->changeCount() + header->changeCount(), 0);
}

// Guards navigation: the usual first/eof/next loop, bof/eof edges, afterScroll and currentChanged.
TEST_F(DataSetTest, NavigationAndScrollNotifications)
{
    auto ds = openDataSet(QStringLiteral("SELECT * FROM TCLI ORDER BY CODCLI"));
    int scrolls = 0;
    int notices = 0;
    ds->afterScroll = [&](TClientDataSetPlus &) { ++scrolls; };
    QObject::connect(ds.get(), &TClientDataSetPlus::currentChanged, [&](int) { ++notices; });
    ds->last();
    EXPECT_TRUE(ds->eof());
    EXPECT_EQ(ds->recNo(), 2);
    ds->next();
    EXPECT_EQ(ds->recNo(), 2);
    ds->first();
    EXPECT_TRUE(ds->bof());
    ds->prior();
    EXPECT_TRUE(ds->bof());
    ds->next();
    EXPECT_FALSE(ds->bof());
    EXPECT_FALSE(ds->eof());
    EXPECT_EQ(scrolls, 3);
    EXPECT_EQ(notices, 3);
    EXPECT_FALSE(ds->locate({QStringLiteral("NOMCLI")}, {QStringLiteral("ninguém")}));
    EXPECT_TRUE(ds->locate({QStringLiteral("VLRLIM")}, {250.4}));
    EXPECT_EQ(ds->asInteger(QStringLiteral("CODCLI")), 7);
    EXPECT_TRUE(ds->locate({QStringLiteral("DATCAD;SITCLI")}, {QDate(2024, 3, 15), QStringLiteral("Ativo")}));
    EXPECT_EQ(ds->asInteger(QStringLiteral("CODCLI")), 10);
    EXPECT_FALSE(ds->locate({QStringLiteral("CODCLI")}, {QStringLiteral("abc")}));

    auto empty = openDataSet(QStringLiteral("SELECT * FROM TCLI WHERE CODCLI < 0"));
    EXPECT_TRUE(empty->isEmpty());
    EXPECT_TRUE(empty->eof());
    EXPECT_TRUE(empty->bof());
    EXPECT_TRUE(empty->isNull(QStringLiteral("NOMCLI")));
    EXPECT_FALSE(messageOf([&] { empty->edit(); }).isEmpty());
}

// Guards blob, timestamp, time and double columns: read, located by where-all, kept by the XML file.
TEST_F(DataSetTest, BlobTimestampTimeAndDoubleColumns)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("BKPITEM.XML"));
    {
        auto ds = openDataSet(QStringLiteral("SELECT * FROM TMEM ORDER BY CODIGO"));
        EXPECT_EQ(ds->kind(QStringLiteral("TEXTO")), FieldKind::Blob);
        EXPECT_EQ(ds->kind(QStringLiteral("QUANDO")), FieldKind::DateTime);
        EXPECT_EQ(ds->kind(QStringLiteral("HORA")), FieldKind::Time);
        EXPECT_EQ(ds->kind(QStringLiteral("FATOR")), FieldKind::Float);
        EXPECT_EQ(ds->asString(QStringLiteral("TEXTO")), QStringLiteral("primeira ação"));
        EXPECT_EQ(ds->asString(QStringLiteral("QUANDO")), QStringLiteral("15/03/2024 10:11:12"));
        EXPECT_EQ(ds->asTime(QStringLiteral("HORA")), QTime(13, 14, 15));
        EXPECT_EQ(ds->asString(QStringLiteral("FATOR")), QStringLiteral("0.1"));
        ds->edit();
        ds->setValue(QStringLiteral("TEXTO"), QStringLiteral("segunda\r\nlinha ç"));
        ds->setValue(QStringLiteral("FATOR"), 0.30000000000000004);
        ds->post();
        ASSERT_NO_THROW(ds->applyUpdates()); // located by the millisecond timestamp and the double
        EXPECT_EQ(scalar(QStringLiteral("SELECT TEXTO FROM TMEM WHERE CODIGO = 1")), QStringLiteral("segunda\r\nlinha ç"));
        ds->next();
        EXPECT_EQ(ds->asString(QStringLiteral("QUANDO")), QStringLiteral("16/03/2024")); // midnight shows the day only
        ds->deleteRecord();
        ds->saveToFile(file);
    }
    TClientDataSetPlus loaded;
    loaded.setConnection(cnx.get());
    loaded.loadFromFile(file);
    EXPECT_EQ(loaded.asString(QStringLiteral("TEXTO")), QStringLiteral("segunda\r\nlinha ç"));
    EXPECT_EQ(loaded.asDateTime(QStringLiteral("QUANDO")), QDateTime(QDate(2024, 3, 15), QTime(10, 11, 12, 345)));
    EXPECT_EQ(loaded.asFloat(QStringLiteral("FATOR")), 0.30000000000000004);
    ASSERT_NO_THROW(loaded.applyUpdates());
    EXPECT_EQ(count(QStringLiteral("TMEM")), 1);
}

// Guards against silent loss: a reload with pending changes is refused; a damaged file is reported.
TEST_F(DataSetTest, RefreshRefusesPendingChangesAndBadFilesAreReported)
{
    auto ds = openDataSet(QStringLiteral("SELECT * FROM TPRE ORDER BY CODIGO"));
    ds->edit();
    ds->setValue(QStringLiteral("DESCRI"), QStringLiteral("pendente"));
    EXPECT_FALSE(messageOf([&] { ds->refresh(); }).isEmpty()); // posts, then refuses to drop the change
    EXPECT_EQ(ds->changeCount(), 1);
    EXPECT_EQ(ds->asString(QStringLiteral("DESCRI")), QStringLiteral("pendente"));
    ds->cancelUpdates();
    cnx->execute(QStringLiteral("INSERT INTO TPRE (CODIGO) VALUES (9)"));
    ds->last();
    ds->refresh();
    EXPECT_EQ(ds->recordCount(), 3);

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("ORCITM.XML"));
    ds->saveToFile(file);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray content = f.readAll();
    f.close();
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content.left(content.size() / 2));
    f.close();
    TClientDataSetPlus loaded;
    EXPECT_TRUE(messageOf([&] { loaded.loadFromFile(file); }).contains(QStringLiteral("ORCITM.XML")));
    EXPECT_FALSE(loaded.active());
}

// Guards the table an apply writes: the first table of the outer FROM, not one inside an expression.
TEST(DataSetStatement, TableOfStatementSkipsInnerFroms)
{
    EXPECT_EQ(TClientDataSetPlus::tableOfStatement(QStringLiteral("select c.*, d.nomcid from f510cli c, f500cid d")),
              QStringLiteral("F510CLI"));
    EXPECT_EQ(TClientDataSetPlus::tableOfStatement(QStringLiteral(
                  "SELECT EXTRACT(YEAR FROM P.DATPDF) ANO, (SELECT MAX(X) FROM F2) M, 'FROM F3' T\nFROM F530PDF P")),
              QStringLiteral("F530PDF"));
    EXPECT_EQ(TClientDataSetPlus::tableOfStatement(QStringLiteral("SELECT 1 FROM RDB$DATABASE")), QStringLiteral("RDB$DATABASE"));
    EXPECT_TRUE(TClientDataSetPlus::tableOfStatement(QStringLiteral("EXECUTE PROCEDURE X")).isEmpty());
}

// Guards the grid model: consistent notifications through sort, filter, edits and reload; headers and alignment.
TEST_F(DataSetTest, ItemModelStaysConsistent)
{
    static int warnings = 0;
    warnings = 0;
    const QtMessageHandler previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &msg) {
        if (type != QtDebugMsg)
            ++warnings;
        fprintf(stderr, "%s\n", qPrintable(msg));
    });
    auto ds = std::make_unique<TClientDataSetPlus>();
    ds->setConnection(cnx.get());
    ds->AutoApplyUpdates = false;
    ds->setCommandText(QStringLiteral("SELECT CODCLI, NOMCLI, VLRLIM, OBSCLI FROM TCLI"));
    QAbstractItemModelTester tester(ds.get(), QAbstractItemModelTester::FailureReportingMode::Warning);
    ds->open();
    ds->fieldDef(QStringLiteral("OBSCLI")).visible = false;
    ds->fieldDef(QStringLiteral("NOMCLI")).displayLabel = QStringLiteral("Nome");
    ds->fieldDef(QStringLiteral("VLRLIM")).displayFormat = QStringLiteral("###,###,##0.00");
    ds->close();
    ds->open(); // owner settings survive the reopen
    EXPECT_EQ(ds->columnCount(), 3);
    EXPECT_EQ(ds->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Nome"));
    EXPECT_EQ(ds->headerData(2, Qt::Horizontal).toString(), QStringLiteral("VLRLIM"));
    // A renamed column repaints its header: a grid would otherwise keep showing the old title.
    int renamedFirst = -1, renamedLast = -1;
    QObject::connect(ds.get(), &QAbstractItemModel::headerDataChanged, [&](Qt::Orientation, int first, int last) {
        renamedFirst = first;
        renamedLast = last;
    });
    ds->setDisplayLabel(QStringLiteral("VLRLIM"), QStringLiteral("Limite"));
    EXPECT_EQ(std::pair(renamedFirst, renamedLast), std::pair(2, 2));
    EXPECT_EQ(ds->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Limite"));

    ds->sort(1);
    EXPECT_EQ(ds->data(ds->index(0, 1)).toString(), QStringLiteral("Armazém Central"));
    EXPECT_EQ(ds->data(ds->index(0, 2)).toString(), QStringLiteral("123.456.789.012,29"));
    EXPECT_EQ(ds->data(ds->index(0, 2), Qt::TextAlignmentRole).toInt() & Qt::AlignRight, Qt::AlignRight);
    const QPersistentModelIndex zeRow = ds->index(2, 1);
    ds->sort(1);
    EXPECT_EQ(ds->data(ds->index(0, 1)).toString(), QStringLiteral("Zé da Esquina"));
    EXPECT_EQ(zeRow.row(), 0); // a selection follows its row

    ds->append();
    ds->setValue(QStringLiteral("CODCLI"), 3);
    ds->setValue(QStringLiteral("NOMCLI"), QStringLiteral("Bazar"));
    ds->post();
    EXPECT_EQ(ds->rowCount(), 4);
    EXPECT_EQ(ds->asString(QStringLiteral("NOMCLI")), QStringLiteral("Bazar"));
    EXPECT_EQ(ds->data(ds->index(ds->recNo(), 1)).toString(), QStringLiteral("Bazar"));
    ds->edit();
    ds->setValue(QStringLiteral("NOMCLI"), QStringLiteral("Ébano Bazar")); // É sorts after Z by code
    ds->post();
    EXPECT_EQ(ds->recNo(), 0);
    ds->setFilter([](const DataRow &row) { return row.asInteger(QStringLiteral("CODCLI")) > 5; });
    EXPECT_EQ(ds->rowCount(), 2);
    ds->clearFilter();
    ds->deleteRecord();
    ds->cancelUpdates();
    EXPECT_EQ(ds->rowCount(), 3);
    ds->close();
    EXPECT_EQ(ds->rowCount(), 0);
    qInstallMessageHandler(previous);
    EXPECT_EQ(warnings, 0);
}
