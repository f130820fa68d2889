#include "platform/desktopfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "support/files.h"
#include "support/ownnamespace.h"

#include <gtest/gtest.h>

#include <csignal>
#include <future>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(AtomicFileReplacer, AKilledWriteLeavesTheOldOrTheNewFileNeverATornOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ut3servers.ini"));
    const QByteArray oldContent(4 << 20, 'o');
    const QByteArray newContent(16 << 20, 'n');
    for (const int delayUs : {0, 2000, 10000, 30000}) {
        SCOPED_TRACE(delayUs);
        writeFile(path, oldContent);
        const pid_t child = fork();
        if (child == 0) {
            AtomicFileReplacer files;
            files.replace(path, newContent);
            _exit(0);
        }
        usleep(static_cast<useconds_t>(delayUs));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const QByteArray now = fileBytes(path);
        EXPECT_TRUE(now == oldContent || now == newContent) << "torn file of " << now.size() << " bytes";
    }
    // Whatever a killed save left behind, the next one replaces the file whole and leaves nothing else.
    writeFile(path + QStringLiteral(".saving"), "left by a save that was killed");
    EXPECT_EQ(AtomicFileReplacer().replace(path, "saved\r\n"), std::nullopt);
    EXPECT_EQ(fileBytes(path), "saved\r\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"ut3servers.ini"});
    EXPECT_EQ(AtomicFileReplacer().replace(dir.filePath(QStringLiteral("new.ini")), "1"), std::nullopt); // created
    EXPECT_EQ(fileBytes(dir.filePath(QStringLiteral("new.ini"))), "1");
    // A save that cannot be made says why, as the system tells it, and leaves nothing behind.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken.ini")));
    EXPECT_EQ(AtomicFileReplacer().replace(dir.filePath(QStringLiteral("taken.ini")), "1"),
              "taken.ini: Is a directory");
    EXPECT_EQ(AtomicFileReplacer().replace(dir.filePath(QStringLiteral("gone/ut.ini")), "1"),
              "ut.ini: No such file or directory");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"new.ini", "ut3servers.ini"}));
}

constexpr char kSmallDisk[] = "/tmp/utq-small-disk";

class SmallDisk : public ::testing::Test {
protected:
    // Fills the disk up to room bytes free.
    static void fillLeaving(qint64 room)
    {
        QFile fill(QLatin1String(kSmallDisk) + QStringLiteral("/fill"));
        ASSERT_TRUE(fill.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray page(4096, 'f');
        while (fill.write(page) == page.size()) {
        }
        ASSERT_TRUE(fill.resize(fill.size() - room));
        struct statvfs disk {};
        ASSERT_EQ(statvfs(kSmallDisk, &disk), 0);
        ASSERT_EQ(static_cast<qint64>(disk.f_bavail * disk.f_bsize), room);
    }
};

// With a small tmpfs of their own mounted at kSmallDisk, in a user and mount namespace.
TESTS_IN_OWN_NAMESPACE(
    OnAFullDisk, SmallDisk, "-rm",
    QStringLiteral("mkdir -p %1 && mount -t tmpfs -o size=128k tmpfs %1").arg(QLatin1String(kSmallDisk)))

TEST_F(OnAFullDisk, ASaveThatDoesNotFitLeavesTheOldFileAndSaysWhy)
{
    const QString path = QLatin1String(kSmallDisk) + QStringLiteral("/ut04servers.ini");
    const QByteArray oldContent = "[SERVER]\r\n" + QByteArray(737, 'o');
    const QByteArray newContent(4 * 4096 + 100, 'n');
    for (const qint64 room : {0, 2 * 4096, 4 * 4096}) { // nothing, half of it, all but the last bytes
        SCOPED_TRACE(room);
        writeFile(path, oldContent);
        fillLeaving(room);
        const std::optional<QString> error = AtomicFileReplacer().replace(path, newContent);
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(*error, QStringLiteral("ut04servers.ini: No space left on device"));
        EXPECT_EQ(fileBytes(path), oldContent);
        EXPECT_EQ(QDir(QLatin1String(kSmallDisk)).entryList(QDir::Files), (QStringList{"fill", "ut04servers.ini"}));
        QFile::remove(QLatin1String(kSmallDisk) + QStringLiteral("/fill"));
    }
}

// What is not a regular file reads as no file, at once; of a huge file only the first 8 MiB.
TEST(IniProfileReader, NeitherAFifoNorADeviceNorAHugeFileHoldsTheStartUp)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("utservers.ini"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {fifo, QStringLiteral("/dev/zero")}) {
        SCOPED_TRACE(path.toStdString());
        auto read = std::async(std::launch::async, [path] {
            return IniProfileReader().read(path, QStringLiteral("SERVER"), QStringLiteral("ServerName"));
        });
        const bool answered = read.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
        if (!answered) // let the blocked reader go before failing
            QFile(path).open(QIODevice::WriteOnly | QIODevice::Unbuffered);
        ASSERT_TRUE(answered);
        EXPECT_EQ(read.get(), QString());
    }

    const QString huge = dir.filePath(QStringLiteral("ut3servers.ini"));
    IniProfileReader reader;
    // Only the first 8 MiB are read.
    writeFile(huge, "[SERVER]\r\n;" + QByteArray(8 << 20, 'x') + "\r\nUT3ServerName=too far\r\n");
    EXPECT_EQ(reader.read(huge, QStringLiteral("SERVER"), QStringLiteral("UT3ServerName")), QString());
    // A save in between is read again.
    writeFile(huge, "[SERVER]\r\nUT3ServerName=saved\r\n");
    EXPECT_EQ(reader.read(huge, QStringLiteral("SERVER"), QStringLiteral("UT3ServerName")), QStringLiteral("saved"));
}

} // namespace
