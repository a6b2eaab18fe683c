#pragma once

#include <QString>
#include <QStringList>

// Reading a dataset's SQL text outside literals, quoted names and comments: its named
// parameters and the table its changes are written to.
namespace DataSetStatement {

struct Parsed
{
    QString positional; // the text with each ":NAME" replaced by "?"
    QStringList names;  // upper case, one per placeholder, repeats kept
    QList<qsizetype> places; // where each "?" stands in positional
};

Parsed parseParameters(const QString &sql);
// The first table after the first FROM outside parentheses (any FROM when none is there);
// upper case unless quoted; the alias is ignored.
QString tableOf(const QString &sql);

} // namespace DataSetStatement
