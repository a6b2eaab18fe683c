#include <QCoreApplication>
#include <gtest/gtest.h>

// GoogleTest entry with a Qt application object, which Qt Sql needs.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
