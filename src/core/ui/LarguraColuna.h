#pragma once

#include <QString>

class QFontMetrics;
struct FieldDef;

// The width a grid column is given: enough for its caption and the usual value (a name gets
// room, a code no more than it needs), so the columns that matter fit a small window.
int larguraColuna(const QFontMetrics &medida, const FieldDef &campo, const QString &titulo);
