#include "TextCodec.h"

#include <QList>

namespace {

// Code points of the bytes 0x80-0x9F; the undefined bytes keep their C1 control.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

bool isUndefinedC1(char32_t codePoint)
{
    return codePoint == 0x81 || codePoint == 0x8D || codePoint == 0x8F || codePoint == 0x90
        || codePoint == 0x9D;
}

} // namespace

namespace TextCodec {

int windows1252Byte(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<int>(codePoint);
    if (isUndefinedC1(codePoint))
        return static_cast<int>(codePoint);
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == codePoint)
            return 0x80 + i;
    }
    return -1;
}

QByteArray toWindows1252(const QString &text)
{
    // One byte per character; plain ASCII, the bulk of reports and scripts, goes straight through.
    QByteArray out(text.size(), Qt::Uninitialized);
    char *p = out.data();
    const char16_t *u = reinterpret_cast<const char16_t *>(text.utf16());
    const char16_t *const end = u + text.size();
    while (u < end) {
        const char16_t c = *u++;
        if (c < 0x80) {
            *p++ = static_cast<char>(c);
            continue;
        }
        char32_t cp = c;
        if (QChar::isHighSurrogate(c) && u < end && QChar::isLowSurrogate(*u))
            cp = QChar::surrogateToUcs4(c, *u++);
        const int b = windows1252Byte(cp);
        *p++ = b < 0 ? '?' : static_cast<char>(b);
    }
    out.truncate(p - out.data());
    return out;
}

QString fromWindows1252(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.append(b >= 0x80 && b <= 0x9F ? QChar(kHigh[b - 0x80]) : QChar(b));
    }
    return out;
}

bool isWindows1252(const QString &text)
{
    const QList<uint> codePoints = text.toUcs4();
    for (const uint cp : codePoints) {
        if (windows1252Byte(cp) < 0)
            return false;
    }
    return true;
}

} // namespace TextCodec
