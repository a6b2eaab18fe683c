#include "TextCodec.h"

#include <QByteArray>
#include <QString>
#include <gtest/gtest.h>

namespace {
bool undefinedIn1252(int byte)
{
    return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}
} // namespace

// Guards against a wrong table entry: every defined byte from 0x80 to 0xFF survives decode + encode.
TEST(TextCodec, EveryDefinedHighByteRoundTrips)
{
    for (int b = 0x80; b <= 0xFF; ++b) {
        if (undefinedIn1252(b))
            continue;
        const QByteArray byte(1, static_cast<char>(b));
        const QString decoded = TextCodec::fromWindows1252(byte);
        ASSERT_EQ(decoded.size(), 1) << b;
        EXPECT_EQ(TextCodec::toWindows1252(decoded), byte) << "byte " << b;
        EXPECT_EQ(TextCodec::windows1252Byte(decoded.at(0).unicode()), b);
    }
}

// Guards against reading 0x80-0x9F as Latin-1 (C1 controls) instead of the 1252 characters.
TEST(TextCodec, KnownCharactersOfBothRanges)
{
    EXPECT_EQ(TextCodec::fromWindows1252(QByteArray("\x80\x8A\x93\x99\x9F", 5)),
              QStringLiteral(u"€Š“™Ÿ"));
    EXPECT_EQ(TextCodec::toWindows1252(QStringLiteral(u"Ação é útil")),
              QByteArray("A\xE7\xE3o \xE9 \xFAtil"));
    EXPECT_EQ(TextCodec::fromWindows1252(QByteArray("ALTERA\xC7\xC3O")), QStringLiteral(u"ALTERAÇÃO"));
}

// Guards against text lost or doubled for characters 1252 lacks (one '?' each, even outside the BMP).
TEST(TextCodec, UnmappableCharactersBecomeOneQuestionMark)
{
    EXPECT_EQ(TextCodec::toWindows1252(QStringLiteral(u"a\u4E2Db\U0001F600c\u0100")), QByteArray("a?b?c?"));
    EXPECT_FALSE(TextCodec::isWindows1252(QStringLiteral(u"\u4E2D")));
    EXPECT_TRUE(TextCodec::isWindows1252(QStringLiteral(u"Preço: € 10,00")));
    EXPECT_EQ(TextCodec::windows1252Byte(0x0100), -1);
}

// Guards against bytes disappearing when a file holds one of the five undefined bytes.
TEST(TextCodec, UndefinedBytesSurviveARoundTrip)
{
    const QByteArray bytes("\x81\x8D\x8F\x90\x9D", 5);
    EXPECT_EQ(TextCodec::toWindows1252(TextCodec::fromWindows1252(bytes)), bytes);
}
