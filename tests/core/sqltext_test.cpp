#include "DatabaseError.h"
#include "FirebirdConnection.h"
#include "SqlText.h"
#include "TestDatabase.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <gtest/gtest.h>

// Guards against a quote inside a value ending the literal early.
TEST(SqlText, QuotedDoublesEveryQuote)
{
    EXPECT_EQ(SqlText::quoted(QStringLiteral("O'Brien")), QStringLiteral("'O''Brien'"));
    EXPECT_EQ(SqlText::quoted(QString()), QStringLiteral("''"));
    EXPECT_EQ(SqlText::quoted(QStringLiteral("''")), QStringLiteral("''''''"));
}

// Guards against typed text escaping the literal: the engine reads back exactly what was typed.
TEST(SqlText, EngineReadsQuotedTextBackUnchanged)
{
    TestDatabase db;
    FirebirdConnection cnx(QStringLiteral("sqltext1"));
    db.open(cnx);
    const QStringList typed = {
        QStringLiteral("x' OR '1'='1"), QStringLiteral("'; DELETE FROM F599USU; --"),
        QStringLiteral("fim'"), QStringLiteral("'"), QStringLiteral(u"João d'Ávila"),
        QStringLiteral("a\\'b"), QStringLiteral("/* comentário */ ' || '"),
    };
    for (const QString &text : typed) {
        QSqlQuery q = cnx.query();
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT CAST(") + SqlText::quoted(text)
                           + QStringLiteral(" AS VARCHAR(100)) FROM RDB$DATABASE")))
            << text.toStdString();
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toString(), text);
    }
}

// Guards against filters built without their "any" marks or with a breakable quote.
TEST(SqlText, LikePatterns)
{
    EXPECT_EQ(SqlText::containsPattern(QStringLiteral("SILVA")), QStringLiteral("%SILVA%"));
    EXPECT_EQ(SqlText::prefixPattern(QStringLiteral("10")), QStringLiteral("10%"));
    EXPECT_EQ(SqlText::likeContains(QStringLiteral("D'AGUA")), QStringLiteral("'%D''AGUA%'"));
    EXPECT_EQ(SqlText::likePrefix(QString()), QStringLiteral("'%'"));
}

// Guards against typed text the engine cannot compare ("Cannot transliterate character", a
// statement too long) reaching statement text: it matches no row instead.
TEST(SqlText, TextNoColumnHoldsMatchesNoRow)
{
    EXPECT_EQ(SqlText::unstorableCharacter(QStringLiteral(u"Preço € ÿ Ÿ")), QString());
    EXPECT_EQ(SqlText::unstorableCharacter(QStringLiteral(u"a€ÿ😀b")), QStringLiteral(u"😀"));
    EXPECT_EQ(SqlText::unstorableCharacter(QStringLiteral(u"x\u0081")), QStringLiteral(u"\u0081"));
    EXPECT_EQ(SqlText::likeContains(QStringLiteral(u"€ÿ😀")), QStringLiteral("NULL"));
    EXPECT_EQ(SqlText::likePrefix(QString(SqlText::kTypedTextLength, u'a')), QStringLiteral("NULL"));
    EXPECT_EQ(SqlText::comparedLiteral(QStringLiteral(u"ação")), QStringLiteral(u"'ação'"));

    TestDatabase db;
    FirebirdConnection cnx(QStringLiteral("sqltext3"));
    db.open(cnx);
    cnx.execute(QStringLiteral("CREATE TABLE TFIL (NOME VARCHAR(10))"));
    cnx.execute(QStringLiteral("INSERT INTO TFIL VALUES ('ação')"));
    for (const QString &typed : {QStringLiteral(u"€ÿ😀"), QStringLiteral(u"\u0081"), QString(300, u'a'),
                                 QString(40000, u'ç'), QStringLiteral(u"çã")}) {
        QSqlQuery q = cnx.query();
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT COUNT(*) FROM TFIL WHERE NOME LIKE ") + SqlText::likeContains(typed)))
            << typed.left(20).toStdString();
        ASSERT_TRUE(q.next()) << q.lastError().text().toStdString();
        EXPECT_EQ(q.value(0).toInt(), typed == QStringLiteral(u"çã") ? 1 : 0) << typed.left(20).toStdString();
    }
}

// Guards against the day-first literal that Firebird reads month first.
TEST(SqlText, DateLiteralsAreReadAsTheSameDay)
{
    const QDate day(2024, 3, 5);
    EXPECT_EQ(SqlText::dateLiteral(day, SqlText::DateForm::American), QStringLiteral("'03/05/2024'"));
    EXPECT_EQ(SqlText::dateLiteral(day, SqlText::DateForm::AmericanDash), QStringLiteral("'03-05-2024'"));
    EXPECT_EQ(SqlText::dateLiteral(day, SqlText::DateForm::Dotted), QStringLiteral("'05.03.2024'"));
    EXPECT_EQ(SqlText::dateLiteral(QDate()), QStringLiteral("NULL"));

    TestDatabase db;
    FirebirdConnection cnx(QStringLiteral("sqltext2"));
    db.open(cnx);
    for (const auto form : {SqlText::DateForm::American, SqlText::DateForm::AmericanDash,
                            SqlText::DateForm::Dotted}) {
        QSqlQuery q = cnx.query();
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT CAST(") + SqlText::dateLiteral(day, form)
                           + QStringLiteral(" AS DATE) FROM RDB$DATABASE")));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toDate(), day);
    }
}

// Guards against impossible dates reaching a statement and against refusing real ones.
TEST(SqlText, ParseDateAcceptsRealDatesOnly)
{
    const SqlText::ParsedDate leap = SqlText::parseDate(QStringLiteral("29/02/2024"));
    ASSERT_TRUE(leap);
    EXPECT_EQ(*leap.date, QDate(2024, 2, 29));
    EXPECT_TRUE(leap.message.isEmpty());

    const SqlText::ParsedDate feb31 = SqlText::parseDate(QStringLiteral("31/02/2024"));
    EXPECT_FALSE(feb31);
    EXPECT_EQ(feb31.message, QStringLiteral(u"Data inválida: 31/02/2024"));

    EXPECT_FALSE(SqlText::parseDate(QStringLiteral("29/02/2023")));
    EXPECT_FALSE(SqlText::parseDate(QStringLiteral("00/01/2024")));
    EXPECT_FALSE(SqlText::parseDate(QStringLiteral("01/13/2024")));
    EXPECT_FALSE(SqlText::parseDate(QStringLiteral("2024-02-01")));
    EXPECT_FALSE(SqlText::parseDate(QStringLiteral("01/02/24")));
    EXPECT_FALSE(SqlText::parseDate(QStringLiteral("01/02/2024' OR 1=1")));

    EXPECT_EQ(*SqlText::parseDate(QStringLiteral(" 5/3/2024 ")).date, QDate(2024, 3, 5));
}

// Guards against an empty date edit being reported as an invalid date.
TEST(SqlText, ParseDateReportsMissingDate)
{
    for (const QString &blank : {QString(), QStringLiteral("  /  /    "), QStringLiteral("   ")}) {
        const SqlText::ParsedDate parsed = SqlText::parseDate(blank);
        EXPECT_FALSE(parsed);
        EXPECT_EQ(parsed.message, QStringLiteral(u"Data não informada."));
    }
}
