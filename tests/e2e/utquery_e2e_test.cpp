// Runs the real program on the X display (the test runs under xvfb-run) and
// uses it as a person would: with the mouse and keyboard, through xdotool.

#include "buildconfig.h"
#include "fakeservers/fakegameserver.h"
#include "fakeservers/fakemaster.h"
#include "support/eventloop.h"
#include "support/files.h"
#include "support/realpart.h"
#include "support/recordinghandler.h"
#include "support/sessionbus.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

#include <X11/Xlib.h> // last: its macros clash with names of the headers above

namespace {

const QString kProgram = QStringLiteral(UTQUERY_PATH);

// Asks the window to close as a window manager's close box does.
void requestClose(unsigned long window)
{
    Display* display = XOpenDisplay(nullptr);
    XEvent event{};
    event.xclient = {ClientMessage, 0, False, display, window, XInternAtom(display, "WM_PROTOCOLS", False), 32, {}};
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    XSendEvent(display, window, False, NoEventMask, &event);
    XCloseDisplay(display);
}

// The program, started in a working folder, with its window found on screen.
// Places are given in twips from the window's top left corner.
class RunningProgram {
public:
    RunningProgram(const QString& program, const QString& workingDirectory, const QStringList& arguments = {})
    {
        m_process.setWorkingDirectory(workingDirectory);
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.start(QStringLiteral("setsid"), QStringList{program} + arguments); // a session of its own
        m_pid = m_process.processId();
        QElapsedTimer clock;
        clock.start();
        QString found; // the window, searched for while the program runs, for a minute at most
        while (found.isEmpty() && m_process.state() != QProcess::NotRunning && clock.elapsed() < 60000) {
            QThread::msleep(100);
            found = QString::fromLatin1(
                runServing(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--name",
                                                       "^Unreal Tournament Server Query v.Qev.3\\.0 by: Kestrun$"})
                    .out);
        }
        m_window = found.section('\n', 0, 0).toULong();
        const QString geometry = QString::fromLatin1(
            runServing(QStringLiteral("xdotool"), {"getwindowgeometry", "--shell", QString::number(m_window)}).out);
        m_x = geometry.section(QStringLiteral("X="), 1).section('\n', 0, 0).toInt();
        m_y = geometry.section(QStringLiteral("Y="), 1).section('\n', 0, 0).toInt();
    }
    ~RunningProgram()
    {
        if (m_process.state() != QProcess::NotRunning) // a test failed half-way
            QProcess::execute(QStringLiteral("pkill"), {"-KILL", "-s", QString::number(pid())});
    }

    bool shown() const { return m_window != 0; }
    qint64 pid() const { return m_pid; }

    void click(int leftTwips, int topTwips) const
    {
        xdotool({"mousemove", "--sync", QString::number(m_x + leftTwips / 15), QString::number(m_y + topTwips / 15),
                 "click", "1"});
        QThread::msleep(150);
    }
    void type(const QString& text) const { xdotool({"type", "--delay", "15", text}); }
    void key(const QString& keys) const { xdotool({"key", keys}); }
    void typeInto(int leftTwips, int topTwips, const QString& text) const
    {
        click(leftTwips, topTwips);
        key(QStringLiteral("ctrl+a"));
        type(text);
    }
    // What the screen shows of a place.
    QImage grab(int leftTwips, int topTwips, int widthTwips, int heightTwips) const
    {
        const QString place = QStringLiteral("%1x%2+%3+%4").arg(widthTwips / 15).arg(heightTwips / 15);
        return QImage::fromData(
            runServing(QStringLiteral("import"),
                       {"-window", "root", "-crop", place.arg(m_x + leftTwips / 15).arg(m_y + topTwips / 15), "png:-"})
                .out,
            "PNG");
    }

    // Closes the window as its close box would; true when the program ends in time.
    bool close()
    {
        requestClose(m_window);
        return m_process.waitForFinished(5000) && m_process.exitStatus() == QProcess::NormalExit &&
               m_process.exitCode() == 0;
    }

private:
    static void xdotool(const QStringList& arguments)
    {
        EXPECT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0) << arguments.join(' ').toStdString();
    }

    QProcess m_process;
    qint64 m_pid = 0;
    unsigned long m_window = 0;
    int m_x = 0, m_y = 0;
};

// True when some pixel of the image satisfies is(colour).
std::optional<QPoint> firstPixel(const QImage& image, const std::function<bool(QRgb)>& is)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (is(image.pixel(x, y)))
                return QPoint(x, y);
    return std::nullopt;
}

bool anyPixel(const QImage& image, const std::function<bool(QRgb)>& is) { return firstPixel(image, is).has_value(); }

// True when every pixel of the image has one colour: a field with no text.
bool blank(const QImage& image)
{
    return !image.isNull() && !anyPixel(image, [first = image.pixel(0, 0)](QRgb c) { return c != first; });
}

// The processes of a program's session.
QList<QByteArray> session(qint64 id)
{
    return runServing(QStringLiteral("pgrep"), {"-s", QString::number(id)}).out.split('\n');
}

// The first run of 100 white pixels in the image: the middle of a text field of a page.
std::optional<QPoint> textField(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0, run = 0; x < image.width(); ++x)
            if ((run = image.pixel(x, y) == qRgb(255, 255, 255) ? run + 1 : 0) == 100)
                return QPoint(x - 50, y + 4);
    return std::nullopt;
}

// A copy of the program in a folder of its own, with a saved UT99 favourite:
// the start page asks it and marks the row where a player searched for
// plays; a query reaches the server through the program's own service;
// closing the window ends every process of the program.
TEST(UtqueryUnderXvfb, TheStartPageAQueryAndClosingAsAUserDoes)
{
    fakeservers::FakeGameServer server(
        {.name = QStringLiteral("E2E <b>Server</b>"), .players = {{"Alpha", 10, 30, 0}, {"Bravo", 5, 40, 1}}});
    QTemporaryDir folder, workingDirectory;
    for (const char* file : {"utquery", "wickedsick.wav", "HellNo.wav"})
        QFile::copy(QFileInfo(kProgram).dir().filePath(QLatin1String(file)), folder.filePath(QLatin1String(file)));
    writeFile(folder.filePath(QStringLiteral("utservers.ini")),
              "[SERVER]\r\nServerName=Clan Server\r\nServerIP=127.0.0.1\r\nServerPort=7777\r\nQueryPort=" +
                  QByteArray::number(server.port()) + "\r\n");
    fakeservers::FakeMaster master({.servers = {{QHostAddress::LocalHost, server.port()}}});
    writeFile(folder.filePath(QStringLiteral("masters.ini")),
              "[ut99]\r\nmasters=127.0.0.1:" + QByteArray::number(master.port()) + "\r\n");
    RunningProgram program(folder.filePath(QStringLiteral("utquery")), workingDirectory.path());
    ASSERT_TRUE(program.shown()) << "the window did not show";
    runEventLoopFor(2500);
    EXPECT_GT(server.requestsSeen(), 0) << "the start page did not ask the favourite";
    const auto pane = [&] { return program.grab(240, 3750, 12000, 4950); }; // the UT99 query tab's, below its controls
    const auto foundRow = [](QRgb c) { return c == qRgb(0x4a, 0x30, 0x10); };
    EXPECT_FALSE(blank(pane())) << "the start page is not painted in its pane";
    EXPECT_FALSE(anyPixel(pane(), foundRow));
    const std::optional<QPoint> field = textField(pane());
    ASSERT_TRUE(field) << "no player field on the start page";
    program.click(240 + field->x() * 15, 3750 + field->y() * 15);
    program.type(QStringLiteral("alpha"));
    program.key(QStringLiteral("Return"));
    runEventLoopFor(2500);
    EXPECT_TRUE(anyPixel(pane(), foundRow)) << "the favourite where the player plays is not marked";

    // The first link of the start page leads to every live server, whose first row's leads to its status page.
    const auto followFirstLink = [&] {
        const int asked = server.requestsSeen();
        const std::optional<QPoint> link = firstPixel(pane(), [](QRgb c) { return c == qRgb(0xff, 0xb0, 0x60); });
        ASSERT_TRUE(link) << "no link on the page";
        program.click(240 + link->x() * 15, 3750 + link->y() * 15 + 30);
        runEventLoopFor(2500);
        EXPECT_GT(server.requestsSeen(), asked) << "the page the link leads to did not ask the server";
    };
    followFirstLink(); // the list page
    followFirstLink(); // the listed server's status page

    const int asked = server.requestsSeen();
    program.typeInto(11000, 1350, QStringLiteral("127.0.0.1"));
    program.typeInto(9700, 1910, QString::number(server.port()));
    program.click(10980, 1920); // "Begin Query"
    runEventLoopFor(3000);      // the progress run, the query and the page
    EXPECT_GT(server.requestsSeen(), asked) << "the status service never asked the server queried";

    const qsizetype processes = session(program.pid()).size() - 1; // after the last line's end
    EXPECT_GT(processes, 1) << "the browser engine's helper processes should be running";
    EXPECT_LE(processes, 4) << "the panes' pages, all of one site, should share one renderer process";
    ASSERT_TRUE(program.close()) << "the program did not end when its window closed";
    EXPECT_TRUE(waitUntil([&] { return session(program.pid()).size() == 1; }, 5000)) << "processes left behind";
}

// While the echo of a silent host waits its second, the time field shows
// nothing, not the last answer. The program runs in a network namespace of
// its own, where 198.51.100.7 leads to a loopback that never answers for it.
TEST(UtqueryUnderXvfb, ThePingDisplayIsClearedWhileTheEchoWaits)
{
    QTemporaryDir workingDirectory;
    RunningProgram program(
        QStringLiteral("unshare"), workingDirectory.path(),
        {"-rn", "sh", "-c", "ip link set lo up && ip route add 198.51.100.7/32 dev lo && exec \"$0\"", kProgram});
    if (!program.shown())
        SKIP_REAL_PART("cannot make a network namespace here");
    const auto timeField = [&] { return program.grab(11280 + 45, 3180 + 45, 660 - 90, 300 - 90); }; // inside its border
    const auto ping = [&](const char* host) {
        program.typeInto(11000, 1350, QLatin1String(host));
        program.click(11970, 1920); // "Ping"
    };
    ping("127.0.0.1");
    QThread::msleep(500);
    ASSERT_FALSE(blank(timeField())) << "an answered ping shows its time";
    ping("198.51.100.7");
    QThread::msleep(200);
    EXPECT_TRUE(blank(timeField())) << "the last answer's time still shows while the echo waits";
    QThread::msleep(1500);
    EXPECT_FALSE(blank(timeField())) << "n/a shows after the wait";
    EXPECT_TRUE(program.close());
}

// A player watches a favourite from its start page, and a player joins the
// server: one notification comes on the desktop's bus with who, where, the
// map and the players; its "Join" starts the game at the favourite's address,
// and no other comes while the player stays. The rounds are the program's
// own, a minute apart.
TEST(UtqueryUnderXvfb, AWatchedFavouriteFillingIsOneNotificationWhoseJoinLaunches)
{
    PrivateSessionBus bus;
    if (bus.address.isEmpty())
        SKIP_REAL_PART("dbus-daemon did not start (Debian package dbus-daemon)");
    NotificationService desktop(bus.connect(), {"actions", "body"});
    const RecordingHandler game;
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address.toUtf8());
    fakeservers::FakeGameServer server({.protocol = fakeservers::Protocol::Ut2004Binary,
                                        .name = QStringLiteral("Watched Server"),
                                        .map = QStringLiteral("DM-Rankin")});
    const QByteArray gamePort = QByteArray::number(server.port() - 1);
    QTemporaryDir folder, workingDirectory;
    QFile::copy(kProgram, folder.filePath(QStringLiteral("utquery")));
    writeFile(folder.filePath(QStringLiteral("ut04servers.ini")),
              "[SERVER]\r\nServerName2=Clan Server\r\nServerIP2=127.0.0.1\r\nServerPort2=" + gamePort + "\r\n");
    RunningProgram program(folder.filePath(QStringLiteral("utquery")), workingDirectory.path());
    ASSERT_TRUE(program.shown()) << "the window did not show";
    program.click(600, 450); // the "UT 2004 Server Query" tab
    runEventLoopFor(2500);
    // "Watch" ends the favourite's row, the last line of links on the page.
    const auto watchLink = [&]() -> std::optional<QPoint> {
        const QImage pane = program.grab(4080, 1080, 8265, 7695);
        std::optional<QPoint> last;
        for (int y = 0; y < pane.height(); ++y)
            for (int x = 0; x < pane.width(); ++x)
                if (pane.pixel(x, y) == qRgb(0xff, 0xb0, 0x60) && (!last || y > last->y() + 8 || x > last->x()))
                    last = QPoint(x, y);
        return last;
    };
    const std::optional<QPoint> watch = watchLink();
    ASSERT_TRUE(watch) << "no links on the UT 2004 start page";
    program.click(4080 + (watch->x() - 3) * 15, 1080 + watch->y() * 15);
    runEventLoopFor(2500);
    EXPECT_EQ(fileBytes(folder.filePath(QStringLiteral("watch.ini"))),
              "[ut99]\r\nwatch=\r\n[ut2004]\r\nwatch=2\r\n[ut3]\r\nwatch=\r\n[friends]\r\nnames=\r\n");
    const std::optional<QPoint> stop = watchLink();
    EXPECT_TRUE(stop && stop->x() > watch->x() + 20) << "the page does not say \"Stop watching\"";

    server.scenario().players = {{QStringLiteral("Alpha"), 5, 30, 0}};
    ASSERT_TRUE(waitUntil([&] { return !desktop.shown().isEmpty(); }, 70000)) << "no notification within a round";
    EXPECT_EQ(desktop.shown(), QStringList{"utquery\nAlpha is playing on Watched Server\n"
                                           "UT 2004 · DM-Rankin · 1/16 players\njoin|Join|show|Show"});
    desktop.pick(1, QStringLiteral("join"));
    EXPECT_EQ(game.received(1), QStringList{"<unreal://127.0.0.1:" + QString::fromLatin1(gamePort) + ">"});
    runEventLoopFor(62000); // the next round: the player stays
    EXPECT_EQ(desktop.shown().size(), 1);
    EXPECT_TRUE(program.close());
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
}

} // namespace
