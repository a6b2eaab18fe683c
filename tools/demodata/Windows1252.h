#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252 text for the files the program reads (Qt 6.4 has no codec for it). Latin-1
// characters keep their byte; the typographic characters of 0x80-0x9F are mapped; anything
// else becomes '?'.
namespace Windows1252 {

QByteArray encode(const QString &text);

} // namespace Windows1252
