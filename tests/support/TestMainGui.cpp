#include <QApplication>

#include <gtest/gtest.h>

// Widget tests: the platform is set to offscreen by CTest's environment; set it
// here too so running the executable by hand never opens a window.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
