#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252, the single-byte text of the configuration file, the outbound script and the
// passwords shared with the server. Latin-1 outside 0x80-0x9F; there, the 1252 table.
// The five bytes 1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) decode to the C1 control
// of the same value and encode back to it, so any byte sequence survives a round trip.
namespace TextCodec {

// Characters with no 1252 byte become '?' (one '?' per character, surrogate pairs included).
QByteArray toWindows1252(const QString &text);
QString fromWindows1252(const QByteArray &bytes);

// The byte of a character, or -1 when 1252 has none.
int windows1252Byte(char32_t codePoint);
// True when every character of the text has a 1252 byte.
bool isWindows1252(const QString &text);

} // namespace TextCodec
