#include <QApplication>
#include <gtest/gtest.h>

// Window tests run on Qt's offscreen platform unless told otherwise.
int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); // as the program does, for Qt WebEngine
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
