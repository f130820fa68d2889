#include "programfolders.h"

#include "buildconfig.h"
#include "favourites/savedservers.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <unistd.h>

namespace {

bool writable(const QString& folder) { return access(QFile::encodeName(folder).constData(), W_OK) == 0; }

} // namespace

ProgramFolders::ProgramFolders(const QString& executableFolder, const QString& dataFolder, const QString& configFolder)
    : m_data(executableFolder), m_favourites(executableFolder)
{
    const QString sound = QStringLiteral("/HellNo.wav");
    const bool installed = !QFile::exists(executableFolder + sound) && QFile::exists(dataFolder + sound);
    if (installed)
        m_data = QDir::cleanPath(dataFolder);
    if ((!installed && writable(executableFolder)) || !QDir().mkpath(configFolder))
        return;
    m_favourites = configFolder;
    // The first start after an install brings along the files of the program's folder.
    for (const GameInfo& game : kGames) {
        const QString name = QLatin1Char('/') + QLatin1String(favourites::slotTable(game.game).fileName);
        if (!QFile::exists(configFolder + name))
            QFile::copy(executableFolder + name, configFolder + name);
    }
}

ProgramFolders::ProgramFolders()
    : ProgramFolders(QCoreApplication::applicationDirPath(),
                     QCoreApplication::applicationDirPath() + QStringLiteral("/" UTQ_DATA_FROM_BINARIES),
                     QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                         QStringLiteral("/utquery"))
{
}
