#pragma once

// Row bookkeeping shared by the dataset's source files; not part of its interface.

#include "ClientDataSetPlus.h"

#include <QString>
#include <QVariant>
#include <QVector>

// Status, first change and loaded values of one stored row.
struct TClientDataSetPlus::Row
{
    RowStatus status = RowStatus::Unmodified;
    qint64 changeOrder = 0;     // when the row entered the log: changes are written in that order
    QVector<QVariant> original; // values as loaded, kept while the row is modified or deleted
};

struct TClientDataSetPlus::Index
{
    QString fields;
    bool descending = false;
};

struct TClientDataSetPlus::Statement
{
    QString sql;
    QVariantList binds;
    bool locatesRow = false; // UPDATE/DELETE: must touch exactly one row
};

// A column of the SELECT: its field definition and how a loaded value becomes the stored one.
struct TClientDataSetPlus::ColumnLoad
{
    enum Loader { AsIs, Integer, Numeric, FixedText };
    FieldDef def;
    Loader loader = AsIs;
};
