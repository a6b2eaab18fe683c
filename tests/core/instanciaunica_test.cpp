#include "InstanciaUnica.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// Guards two programs on one folder: the second is refused while the first runs, not after.
TEST(InstanciaUnica, SecondProgramOnTheSameFolderIsRefused)
{
    QTemporaryDir dir;
    {
        InstanciaUnica primeira(dir.path());
        ASSERT_TRUE(primeira.trava());
        InstanciaUnica segunda(dir.path());
        EXPECT_FALSE(segunda.trava());
        QTemporaryDir outra;
        InstanciaUnica emOutraPasta(outra.path());
        EXPECT_TRUE(emOutraPasta.trava());
    }
    InstanciaUnica depois(dir.path());
    EXPECT_TRUE(depois.trava());
}
