#include <QCoreApplication>

#include <gtest/gtest.h>

// Core tests get an event loop object so Qt classes that need one work.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
