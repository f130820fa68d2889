#include "buildconfig.h"
#include "platform/desktopplatform.h"
#include "qevquery.h"
#include "statusservice/defaults.h"
#include "statusservice/servicethread.h"

#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv)
{
    WebEnginePanes::prepareEngine(); // must precede the application
    QApplication app(argc, argv);

    DesktopPlatform platform;
    QevQuery window(platform.parts());
    // The status pages must be served before the panes ask for their start
    // pages, which they do once the window shows; a build whose pages come
    // from another host serves none.
    statusservice::ServiceThread serviceThread;
    if (statusservice::isOwnStatusHost(QStringLiteral(UTQ_MAIN_STATUS_HOST))) {
        statusservice::ServiceOptions options = statusservice::desktopOptions();
        options.favouritesFolder = platform.favouritesFolder(); // its start pages show them
        options.onNews = [&window](const watch::News& news) {   // on the service's thread
            QMetaObject::invokeMethod(
                &window, [&window, news] { window.announce(news); }, Qt::QueuedConnection);
        };
        serviceThread.launch(options);
    }
    window.Form_Load();
    if (const QString failure = serviceThread.failure(); !failure.isEmpty()) {
        auto* warning = new QMessageBox(QMessageBox::Warning, window.windowTitle(), failure, QMessageBox::Ok, &window);
        warning->setAttribute(Qt::WA_DeleteOnClose);
        warning->setModal(false);
        warning->show();
    }
    return QApplication::exec();
}
