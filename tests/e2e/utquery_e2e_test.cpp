// Starts the real program on the X display (run under xvfb-run), waits for its
// window, takes a screenshot, measures start-up time and memory, closes the
// window as a user would and checks that no process of it is left.

#include "x11windows.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <set>

namespace {

const std::string kCaption = "Unreal Tournament Server Query v{Qev}3.0 by: Kestrun";

// Parent of each process on the machine.
std::map<qint64, qint64> parents()
{
    std::map<qint64, qint64> result;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (!numeric)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // pid (comm) state ppid ...: the command may hold blanks and parentheses.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1)
            result[pid] = fields[1].toLongLong();
    }
    return result;
}

std::set<qint64> processTree(qint64 root)
{
    const auto parent = parents();
    std::set<qint64> tree{root};
    for (bool grew = true; grew;) {
        grew = false;
        for (const auto& [pid, ppid] : parent) {
            if (tree.count(ppid) && tree.insert(pid).second)
                grew = true;
        }
    }
    return tree;
}

// Proportional set size in KiB: shared pages are split among the processes sharing them.
qint64 pssKiB(qint64 pid)
{
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (!rollup.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : rollup.readAll().split('\n')) {
        if (line.startsWith("Pss:"))
            return line.mid(4).trimmed().split(' ').front().toLongLong();
    }
    return 0;
}

bool isGone(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2).startsWith('Z');
}

TEST(UtqueryUnderXvfb, ShowsItsWindowAndLeavesNothingBehindWhenClosed)
{
    X11Display display;
    ASSERT_TRUE(display.isOpen()) << "no X display: run under xvfb-run";
    QTemporaryDir workingDirectory;

    QProcess program;
    program.setProgram(QStringLiteral(UTQUERY_PATH));
    program.setWorkingDirectory(workingDirectory.path());
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    QElapsedTimer clock;
    clock.start();
    program.start();
    ASSERT_TRUE(program.waitForStarted());

    std::optional<unsigned long> window;
    while (!window && clock.elapsed() < 60000 && program.state() == QProcess::Running) {
        QThread::msleep(20);
        window = display.findWindow(kCaption);
    }
    ASSERT_TRUE(window) << "the window did not show";
    const qint64 shownMs = clock.elapsed();
    EXPECT_EQ(display.title(*window), kCaption);

    // Let the panes settle, then photograph the screen and weigh the processes.
    QThread::msleep(3000);
    QDir().mkpath(QStringLiteral(ARTIFACT_DIR));
    const QString screenshot = QStringLiteral(ARTIFACT_DIR "/utquery-start.png");
    QFile::remove(screenshot);
    EXPECT_EQ(QProcess::execute(QStringLiteral("import"), {"-window", "root", screenshot}), 0);
    EXPECT_GT(QFileInfo(screenshot).size(), 10000);

    const std::set<qint64> tree = processTree(program.processId());
    qint64 pss = 0;
    for (qint64 pid : tree)
        pss += pssKiB(pid);
    std::printf("utquery: window shown after %lld ms; %zu processes, %lld MiB proportional memory\n",
                static_cast<long long>(shownMs), tree.size(), static_cast<long long>(pss / 1024));
    EXPECT_GT(tree.size(), 1u) << "the browser engine's helper processes should be running";

    display.requestClose(*window);
    ASSERT_TRUE(program.waitForFinished(5000)) << "the program did not end when its window closed";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);

    QElapsedTimer grace;
    grace.start();
    std::set<qint64> left = tree;
    while (!left.empty() && grace.elapsed() < 5000) {
        std::erase_if(left, isGone);
        QThread::msleep(50);
    }
    EXPECT_TRUE(left.empty()) << left.size() << " processes left behind";
    for (qint64 pid : left)
        ::kill(static_cast<pid_t>(pid), SIGKILL);
}

} // namespace
