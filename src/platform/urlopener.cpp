#include "urlopener.h"

#include <QProcess>

QString explorerCommandLine(const QString& url)
{
    return QStringLiteral("explorer.exe ") + QLatin1Char('"') + url + QLatin1Char('"');
}

void DesktopUrlOpener::open(const QString& url)
{
#ifdef Q_OS_WIN
    QProcess process;
    process.setProgram(QStringLiteral("explorer.exe"));
    process.setNativeArguments(explorerCommandLine(url).mid(QStringLiteral("explorer.exe ").size()));
    process.startDetached();
#else
    // No shell: the URL is one argument, whatever characters it holds.
    QProcess::startDetached(QStringLiteral("xdg-open"), {url});
#endif
}
