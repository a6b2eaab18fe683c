#pragma once

#include <QString>
#include <QStringList>

// The SELECT of the generic search window, built from a table, the column expressions
// ("CODCLI AS CODIGO", "RAZCLI AS \"RAZÃO SOCIAL\"", ...: the code first, the description
// second) and a trailing condition that begins with AND. Typed values enter as quoted literals,
// or as NULL (nothing found) when no column could hold them.
class SearchStatement
{
public:
    SearchStatement(const QString &table, const QStringList &columns, const QString &trailingCondition);

    // " Select <columns> from <table> where [<code column> = '<code>' and ] UPPER(<description
    // column>) like UPPER('%<description>%') <trailing condition>".
    QString sql(const QString &code, const QString &description) const;

    // The column name of an expression: the text up to and including its first blank
    // (empty when there is no blank, which makes the statement fail with the engine's message).
    static QString namePart(const QString &columnExpression);

    // The grid title of an expression: its alias (quotes removed; an unquoted alias in upper
    // case, as the engine names it), or the whole expression when it has no alias.
    static QString titlePart(const QString &columnExpression);

    const QStringList &columns() const { return m_columns; }

private:
    QString m_table;
    QStringList m_columns;
    QString m_trailingCondition;
};
