#include "platform/webenginepane.h"
#include "support/eventloop.h"
#include "support/files.h"
#include "support/recordinghandler.h"

#include <QDir>
#include <QFile>
#include <QLayout>
#include <QTemporaryDir>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <memory>

namespace {

// The pane makes its view once the event loop runs (after its window has
// been painted, when it has one), loading the address it was given last.
QWebEngineView* viewOf(const WebEnginePane& pane)
{
    waitUntil([&] { return pane.findChild<QWebEngineView*>() != nullptr; }, 10000);
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
    waitUntil([&] { return !view->url().isEmpty(); }, 10000);
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
    // The page's text once it holds what, within 20 s.
    const auto shownOnceItSays = [view](const char* what) {
        const auto shown = std::make_shared<QString>(); // the text comes later, and may outlive this test
        waitUntil(
            [&] {
                view->page()->toPlainText([shown](const QString& text) { *shown = text; });
                return shown->contains(QLatin1String(what));
            },
            20000);
        return shown->toStdString();
    };
    const std::string unregistered = shownOnceItSays("registered");
    EXPECT_NE(unregistered.find("nohandler://10.0.0.1:7777"), std::string::npos) << unregistered;
    EXPECT_NE(unregistered.find("No program on this computer is registered to open nohandler: addresses."),
              std::string::npos)
        << unregistered;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", "/nonexistent"); // no xdg-open at all
    pane.Navigate(QStringLiteral("unreal://10.0.0.1:7777"));
    EXPECT_NE(shownOnceItSays("installed").find("xdg-open, which hands addresses to the desktop, is not installed."),
              std::string::npos);
    qputenv("PATH", path);
}

} // namespace
