#include <QCoreApplication>
#include <gtest/gtest.h>

// Tests of logic on the Qt event loop, without widgets.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
