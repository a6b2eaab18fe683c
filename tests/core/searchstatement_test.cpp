#include "SearchStatement.h"

#include <gtest/gtest.h>

namespace {
SearchStatement clientes()
{
    return SearchStatement(QStringLiteral("F510CLI"),
                           {QStringLiteral("CODCLI AS CODIGO"), QStringLiteral("RAZCLI AS \"RAZÃO SOCIAL\""),
                            QStringLiteral("FANCLI AS FANTASIA")},
                           QStringLiteral(" AND CODCLI > 0 AND SITCLI IN ('A','I') AND CODEMP = 1"));
}
} // namespace

// Guards the statement's shape: columns, table, description condition, trailing condition.
TEST(SearchStatement, DescriptionOnly)
{
    EXPECT_EQ(clientes().sql(QString(), QStringLiteral("abc")),
              QStringLiteral(" Select CODCLI AS CODIGO, RAZCLI AS \"RAZÃO SOCIAL\", FANCLI AS FANTASIA from F510CLI"
                             " where  UPPER(RAZCLI ) like UPPER('%abc%')"
                             "  AND CODCLI > 0 AND SITCLI IN ('A','I') AND CODEMP = 1"));
}

// Guards a typed code: it restricts the search to that code, as a quoted literal.
TEST(SearchStatement, CodeAndDescription)
{
    const QString sql = clientes().sql(QStringLiteral("12"), QStringLiteral("mer"));
    EXPECT_NE(sql.indexOf(QStringLiteral(" where CODCLI  = '12' and  UPPER(RAZCLI ) like UPPER('%mer%')")), -1) << qPrintable(sql);
}

// Guards typed text pasted into SQL: quotes in code and description are doubled.
TEST(SearchStatement, QuotesAreDoubled)
{
    const QString sql = clientes().sql(QStringLiteral("1' OR '1'='1"), QStringLiteral("D'Ávila"));
    EXPECT_NE(sql.indexOf(QStringLiteral("CODCLI  = '1'' OR ''1''=''1' and")), -1) << qPrintable(sql);
    EXPECT_NE(sql.indexOf(QStringLiteral("like UPPER('%D''Ávila%')")), -1) << qPrintable(sql);
}

// Guards empty edits: no code condition and a pattern that matches every description.
TEST(SearchStatement, EmptyEditsMatchEverything)
{
    const QString sql = clientes().sql(QString(), QString());
    EXPECT_EQ(sql.indexOf(QStringLiteral("CODCLI  =")), -1);
    EXPECT_NE(sql.indexOf(QStringLiteral("like UPPER('%%')")), -1) << qPrintable(sql);
}

// Guards the name part: up to and including the first blank; none without a blank.
TEST(SearchStatement, NamePart)
{
    EXPECT_EQ(SearchStatement::namePart(QStringLiteral("NOMVEN AS \"VENDEDOR\"")), QStringLiteral("NOMVEN "));
    EXPECT_EQ(SearchStatement::namePart(QStringLiteral("CODVEN")), QString());
}

// Guards the grid titles: the alias as written, quotes removed, accents intact.
TEST(SearchStatement, TitlePart)
{
    EXPECT_EQ(SearchStatement::titlePart(QStringLiteral("RAZCLI AS \"RAZÃO SOCIAL\"")), QStringLiteral("RAZÃO SOCIAL"));
    EXPECT_EQ(SearchStatement::titlePart(QStringLiteral("FANCLI as fantasia")), QStringLiteral("FANTASIA"));
    EXPECT_EQ(SearchStatement::titlePart(QStringLiteral("CODCLI CODIGO")), QStringLiteral("CODIGO"));
    EXPECT_EQ(SearchStatement::titlePart(QStringLiteral("CODCLI")), QStringLiteral("CODCLI"));
}
