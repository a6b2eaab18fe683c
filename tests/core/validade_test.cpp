#include "ValidadeAtualizacao.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {
QDateTime em(int day, int hour, int minute, int second = 0, int ms = 0)
{
    return QDateTime(QDate(2024, 3, day), QTime(hour, minute, second, ms));
}
} // namespace

// Guards the minute rounding: an update at 10:00:45 counts as 10:00 and expires from 10:00 next day on.
TEST(ValidadeAtualizacao, ExpiresAtTheRecordedMinutePlusValidity)
{
    const QDate data(2024, 3, 4);
    const QTime hora(10, 0, 45);
    EXPECT_FALSE(ValidadeAtualizacao::expirada(data, hora, 24, em(5, 9, 59, 59)));
    EXPECT_FALSE(ValidadeAtualizacao::expirada(data, hora, 24, em(5, 10, 0, 0)));   // not later: equal
    EXPECT_TRUE(ValidadeAtualizacao::expirada(data, hora, 24, em(5, 10, 0, 0, 1)));
    EXPECT_TRUE(ValidadeAtualizacao::expirada(data, hora, 24, em(5, 10, 0, 30)));   // before 10:00:45
}

// Guards the validity hours and missing values: other hour counts, no time, no date at all.
TEST(ValidadeAtualizacao, HoursAndMissingValues)
{
    EXPECT_FALSE(ValidadeAtualizacao::expirada(QDate(2024, 3, 4), QTime(8, 0), 48, em(6, 8, 0)));
    EXPECT_TRUE(ValidadeAtualizacao::expirada(QDate(2024, 3, 4), QTime(8, 0), 48, em(6, 8, 1)));
    EXPECT_TRUE(ValidadeAtualizacao::expirada(QDate(2024, 3, 4), QTime(), 24, em(5, 0, 1))); // time 00:00
    EXPECT_TRUE(ValidadeAtualizacao::expirada(QDate(), QTime(10, 0), 24, em(1, 0, 0)));
}
