#pragma once

#include <QString>

enum class FieldKind { String, Integer, Numeric, Float, Date, Time, DateTime, Blob, Boolean };

// Column definition of a dataset, taken from the SELECT (or from a saved file) and adjustable
// by the owner: display mask, caption, whether the column is written back on apply.
struct FieldDef
{
    QString name;
    FieldKind kind = FieldKind::String;
    int size = 0;        // characters, for strings
    int scale = 0;       // NUMERIC scale; values are kept rounded to it
    bool inUpdate = true; // false for joined or computed columns: never written by apply
    bool calculated = false;
    QString originTable;   // table the engine says the column comes from; empty for expressions
    QString displayFormat; // "###,###,##0.00", "0000000", "dd/mm/yyyy"...
    QString displayLabel;  // grid caption; the field name when empty
    bool visible = true;
};
