#include "app/qevquery.h"
#include "platform/desktopplatform.h"

#include <QApplication>

int main(int argc, char** argv)
{
    // Qt WebEngine shares OpenGL contexts with the widgets; this must precede the application.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    DesktopPlatform platform;
    QevQuery window(platform.parts());
    window.Form_Load();
    return QApplication::exec();
}
