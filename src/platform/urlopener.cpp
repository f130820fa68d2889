#include "urlopener.h"

#include <QProcess>

namespace {

// xdg-open's exit codes in plain words.
QString whyNotOpened(const QString& url, int exitCode)
{
    const QString scheme = url.section(QLatin1Char(':'), 0, 0);
    if (exitCode == 3)
        return QStringLiteral("No program on this computer is registered to open %1: addresses.").arg(scheme);
    return QStringLiteral("The program registered for %1: addresses could not open it (xdg-open ended with %2).")
        .arg(scheme)
        .arg(exitCode);
}

} // namespace

void DesktopUrlOpener::open(const QString& url)
{
    // No shell: the URL is one argument, whatever characters it holds. The
    // process has no parent, so closing the window never ends what it starts.
    auto* process = new QProcess;
    const Failed failed = m_failed;
    QObject::connect(process, &QProcess::finished, process, [process, url, failed](int code, QProcess::ExitStatus) {
        if (code != 0 && failed)
            failed(url, whyNotOpened(url, code));
        process->deleteLater();
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, url, failed](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        if (failed)
            failed(url, QStringLiteral("xdg-open, which hands addresses to the desktop, is not installed."));
        process->deleteLater();
    });
    process->start(QStringLiteral("xdg-open"), {url});
}
