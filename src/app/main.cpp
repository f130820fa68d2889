#include "app/qevquery.h"
#include "platform/desktopplatform.h"
#include "statusservice/defaults.h"
#include "statusservice/servicethread.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv)
{
    // Qt WebEngine shares OpenGL contexts with the widgets; this must precede the application.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);

    // The status pages must be served before the panes ask for their start pages.
    const statusservice::ServiceOptions service = statusservice::defaultOptions();
    statusservice::ServiceThread serviceThread;
    const auto outcome = serviceThread.launch(service);

    DesktopPlatform platform;
    QevQuery window(platform.parts());
    window.Form_Load();
    if (outcome == statusservice::ServiceThread::Outcome::PortTaken) {
        auto* warning = new QMessageBox(QMessageBox::Warning, window.windowTitle(),
                                        QStringLiteral("The status pages cannot be shown: port %1 on %2 is in use by "
                                                       "another program.")
                                            .arg(service.port)
                                            .arg(service.address.toString()),
                                        QMessageBox::Ok, &window);
        warning->setAttribute(Qt::WA_DeleteOnClose);
        warning->setModal(false);
        warning->show();
    }
    return QApplication::exec();
}
