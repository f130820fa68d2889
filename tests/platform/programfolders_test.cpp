#include "platform/programfolders.h"
#include "support/files.h"
#include "support/ownnamespace.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

constexpr char kProgramFolder[] = "/tmp/utq-installed-program";

// A program unpacked into a folder of its own keeps everything there.
TEST(ProgramFolders, AWritableProgramFolderKeepsEverything)
{
    QTemporaryDir program, config;
    writeFile(program.filePath(QStringLiteral("HellNo.wav")), "RIFF");
    const ProgramFolders folders(program.path(), QStringLiteral("/usr/share/utquery"), config.filePath("utquery"));
    EXPECT_EQ(folders.path(), program.path());
    EXPECT_EQ(folders.favouritesPath(), program.path());
    EXPECT_FALSE(QDir(config.filePath("utquery")).exists());
}

// An installed program finds its sounds in its data folder and keeps the
// favourites in the user's configuration, even where it may write its
// executable's folder, as root may write /usr/bin.
TEST(ProgramFolders, AnInstalledProgramSavesToTheUsersConfiguration)
{
    QTemporaryDir root;
    QDir().mkpath(root.filePath(QStringLiteral("usr/bin")));
    QDir().mkpath(root.filePath(QStringLiteral("usr/share/utquery")));
    writeFile(root.filePath(QStringLiteral("usr/share/utquery/HellNo.wav")), "RIFF");
    const QString config = root.filePath(QStringLiteral("home/.config/utquery"));
    const ProgramFolders folders(root.filePath(QStringLiteral("usr/bin")),
                                 root.filePath(QStringLiteral("usr/bin/../share/utquery")), config);
    EXPECT_EQ(folders.path(), root.filePath(QStringLiteral("usr/share/utquery")));
    EXPECT_EQ(folders.favouritesPath(), config);
    EXPECT_TRUE(QDir(config).exists());
}

// An installed program's folder with its shipped favourites; the shell
// set-up that mounts it read-only, as it is to its user (root too).
QString installedProgramFolder()
{
    QDir(QLatin1String(kProgramFolder)).removeRecursively();
    QDir().mkpath(QLatin1String(kProgramFolder));
    writeFile(QLatin1String(kProgramFolder) + QStringLiteral("/utservers.ini"), "[SERVER]\r\nServerName=Shipped\r\n");
    writeFile(QLatin1String(kProgramFolder) + QStringLiteral("/ut3servers.ini"),
              "[SERVER]\r\nUT3ServerName=Shipped\r\n");
    return QStringLiteral("mount --bind %1 %1 && mount -o remount,bind,ro %1").arg(kProgramFolder);
}

TESTS_IN_OWN_NAMESPACE(ReadOnlyProgramFolder, ::testing::Test, "-rm", installedProgramFolder())

// The favourites go to the user's configuration folder, starting from the
// files beside the executable; a file saved there before is kept.
TEST_F(ReadOnlyProgramFolder, KeepsTheFavouritesInTheUsersConfiguration)
{
    QTemporaryDir home;
    const QString config = home.filePath(QStringLiteral("config/utquery"));
    QDir().mkpath(config);
    writeFile(config + QStringLiteral("/ut3servers.ini"), "[SERVER]\r\nUT3ServerName=Saved\r\n");
    const ProgramFolders folders(QLatin1String(kProgramFolder), home.filePath(QStringLiteral("share")), config);
    EXPECT_EQ(folders.favouritesPath(), config);
    EXPECT_EQ(fileBytes(config + QStringLiteral("/utservers.ini")), "[SERVER]\r\nServerName=Shipped\r\n");
    EXPECT_EQ(fileBytes(config + QStringLiteral("/ut3servers.ini")), "[SERVER]\r\nUT3ServerName=Saved\r\n");
    EXPECT_FALSE(QFile::exists(config + QStringLiteral("/ut04servers.ini")));
}

} // namespace
