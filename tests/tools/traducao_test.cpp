#include "TraducaoScript.h"

#include <gtest/gtest.h>

// Guards against a day-first date read month first, and an impossible date turned into another day.
TEST(TraducaoScript, DataDoDiaPrimeiroNaFormaDoFirebird)
{
    EXPECT_EQ(TraducaoScript::dataFirebird(QStringLiteral("29/02/2024 14:05")), QStringLiteral("29.02.2024 14:05:00"));
    EXPECT_TRUE(TraducaoScript::dataFirebird(QStringLiteral("29/02/2023")).isEmpty());
}
