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

QString SearchStatement::titlePart(const QString &columnExpression)
{
    const QString expression = columnExpression.trimmed();
    qsizetype start = expression.lastIndexOf(QLatin1String(" AS "), -1, Qt::CaseInsensitive);
    start = start < 0 ? expression.indexOf(u' ') : start + 4;
    if (start < 0)
        return expression.toUpper();
    const QString alias = expression.mid(start).trimmed();
    if (alias.size() >= 2 && alias.startsWith(u'"') && alias.endsWith(u'"'))
        return alias.mid(1, alias.size() - 2);
    return alias.toUpper();
}

QString SearchStatement::sql(const QString &code, const QString &description) const
{
    const QString codeColumn = m_columns.value(0);
    const QString descriptionColumn = m_columns.value(1);
    const QString select = QStringLiteral(" Select ") + m_columns.join(QStringLiteral(", "))
                           + QStringLiteral(" from ") + m_table;
    QString where = QStringLiteral(" where ");
    if (!code.isEmpty())
        where += namePart(codeColumn) + QStringLiteral(" = ") + SqlText::comparedLiteral(code) + QStringLiteral(" and ");
    where += QStringLiteral(" UPPER(") + namePart(descriptionColumn) + QStringLiteral(") like UPPER(")
             + SqlText::likeContains(description) + QStringLiteral(")");
    return select + where + QStringLiteral(" ") + m_trailingCondition;
}
