#include "platform/webenginepane.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLayout>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>

namespace {

// A handler for unreal:// registered with the desktop in a temporary XDG
// folder, as a game registers itself; it records every argument it gets.
class RecordingHandler {
public:
    RecordingHandler()
    {
        QDir().mkpath(m_dir.filePath(QStringLiteral("data/applications")));
        QDir().mkpath(m_dir.filePath(QStringLiteral("config")));
        write(QStringLiteral("record.sh"),
              "#!/bin/sh\nfor a in \"$@\"; do printf '<%s>\\n' \"$a\" >> \"$(dirname \"$0\")/received\"; done\n");
        QFile::setPermissions(m_dir.filePath(QStringLiteral("record.sh")), QFile::ReadOwner | QFile::ExeOwner);
        write(QStringLiteral("data/applications/ut-recorder.desktop"),
              "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" +
                  QFile::encodeName(m_dir.filePath(QStringLiteral("record.sh"))) +
                  " %u\nMimeType=x-scheme-handler/unreal;\nNoDisplay=true\n");
        write(QStringLiteral("config/mimeapps.list"),
              "[Default Applications]\nx-scheme-handler/unreal=ut-recorder.desktop\n");
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("data"))));
        qputenv("XDG_DATA_DIRS", QFile::encodeName(m_dir.filePath(QStringLiteral("data"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
        qunsetenv("XDG_CURRENT_DESKTOP");
        qputenv("BROWSER", "false"); // never a real browser for an unknown scheme
        if (qEnvironmentVariableIsEmpty("DISPLAY"))
            qputenv("DISPLAY", ":99"); // xdg-open asks the desktop's registry only on a display
    }
    // The lines received so far, waiting up to 20 s for count of them.
    QStringList received(int count) const
    {
        QElapsedTimer clock;
        clock.start();
        QStringList lines;
        while (lines.size() < count && clock.elapsed() < 20000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            QFile file(m_dir.filePath(QStringLiteral("received")));
            if (file.open(QIODevice::ReadOnly))
                lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        }
        return lines;
    }

private:
    void write(const QString& name, const QByteArray& content)
    {
        QFile file(m_dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QTemporaryDir m_dir;
};

// Runs the event loop until done() holds, for at most 10 s.
void waitFor(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// The pane makes its view once the event loop runs (after its window has
// been painted, when it has one), loading the address it was given last.
QWebEngineView* viewOf(const WebEnginePane& pane)
{
    waitFor([&] { return pane.findChild<QWebEngineView*>() != nullptr; });
    return pane.findChild<QWebEngineView*>();
}

// The game's handler gets the address exactly as the window built it, one
// argument each: empty fields, blanks, ports that are no port numbers,
// letters of either case, a favourite's texts.
TEST(WebEnginePane, TheGamesHandlerReceivesTheExactAddress)
{
    const RecordingHandler handler;
    const QStringList addresses = {
        QStringLiteral("unreal://:"),
        QStringLiteral("unreal:// My Host :7777"),
        QStringLiteral("unreal://Game.Example.Net:77x"),
        QStringLiteral("unreal://10.0.0.1:99999"),
        QStringLiteral("unreal://{Qev} Fav Slot 6:"),
    };
    WebEnginePane pane(nullptr, QStringLiteral("http://127.0.0.1:1/")); // refused at once
    pane.Navigate(QStringLiteral("http://127.0.0.1:2/"));
    pane.resize(300, 200);
    QWebEngineView* view = viewOf(pane);
    ASSERT_TRUE(view);
    waitFor([&] { return !view->url().isEmpty(); });
    EXPECT_EQ(view->url(), QUrl(QStringLiteral("http://127.0.0.1:2/")));
    pane.layout()->activate();
    EXPECT_EQ(view->geometry(), pane.rect()); // the page fills the pane
    QStringList expected;
    for (const QString& address : addresses) {
        pane.Navigate(address);
        expected << QLatin1Char('<') + address + QLatin1Char('>');
        ASSERT_EQ(handler.received(static_cast<int>(expected.size())), expected); // one at a time: in order
    }
}

TEST(WebEnginePane, WhenNothingOpensAnAddressThePaneSaysWhy)
{
    const RecordingHandler handler;
    WebEnginePane pane(nullptr, QStringLiteral("http://127.0.0.1:1/")); // refused at once
    pane.Navigate(QStringLiteral("nohandler://10.0.0.1:7777"));
    QWebEngineView* view = viewOf(pane);
    ASSERT_TRUE(view);
    // The page's text comes back later, and may outlive this function.
    const auto shown = std::make_shared<std::optional<QString>>(QString());
    QElapsedTimer clock;
    clock.start();
    while (!(*shown && (*shown)->contains(QLatin1String("registered"))) && clock.elapsed() < 20000) {
        if (*shown) {
            shown->reset();
            view->page()->toPlainText([shown](const QString& text) { *shown = text; });
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    const QString text = shown->value_or(QString());
    EXPECT_TRUE(text.contains(QLatin1String("nohandler://10.0.0.1:7777"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("No program on this computer is registered to open nohandler: addresses.")))
        << text.toStdString();
}

} // namespace
