#include "SearchStatement.h"

#include "SqlText.h"

SearchStatement::SearchStatement(const QString &table, const QStringList &columns,
                                 const QString &trailingCondition)
    : m_table(table)
    , m_columns(columns)
    , m_trailingCondition(trailingCondition)
{
}

QString SearchStatement::namePart(const QString &columnExpression)
{
    const qsizetype blank = columnExpression.indexOf(u' ');
    return blank < 0 ? QString() : columnExpression.left(blank + 1);
}

QString SearchStatement::sql(const QString &code, const QString &description) const
{
    const QString codeColumn = m_columns.value(0);
    const QString descriptionColumn = m_columns.value(1);
    const QString select = QStringLiteral(" Select ") + m_columns.join(QStringLiteral(", "))
                           + QStringLiteral(" from ") + m_table;
    QString where = QStringLiteral(" where ");
    if (!code.isEmpty())
        where += namePart(codeColumn) + QStringLiteral(" = ") + SqlText::quoted(code) + QStringLiteral(" and ");
    where += QStringLiteral(" UPPER(") + namePart(descriptionColumn) + QStringLiteral(") like UPPER(")
             + SqlText::likeContains(description) + QStringLiteral(")");
    return select + where + QStringLiteral(" ") + m_trailingCondition;
}
