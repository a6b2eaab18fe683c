#include "Windows1252.h"

namespace Windows1252 {

QByteArray encode(const QString &text)
{
    // Unicode code points of the bytes 0x80-0x9F (0 = unassigned in Windows-1252).
    static const char16_t high[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out += char(u);
            continue;
        }
        char byte = '?';
        for (int i = 0; i < 32; ++i)
            if (high[i] != 0 && high[i] == u)
                byte = char(0x80 + i);
        out += byte;
    }
    return out;
}

} // namespace Windows1252
