#include "platform/webenginepane.h"
#include "support/eventloop.h"
#include "support/files.h"
#include "support/qstringprinter.h"
#include "support/recordinghandler.h"

#include <QDir>
#include <QFile>
#include <QLayout>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QWebEngineView>

#include <gtest/gtest.h>

#include <memory>

namespace {

[[maybe_unused]] const bool kEnginePrepared = (WebEnginePanes::prepareEngine(), true); // before the application

// The pane makes its view once the event loop runs (after its window has
// been painted, when it has one), loading the address it was given last.
QWebEngineView* viewOf(const QWidget& pane)
{
    waitUntil([&] { return pane.findChild<QWebEngineView*>() != nullptr; }, 10000);
    return pane.findChild<QWebEngineView*>();
}

// The page's text once it holds what, within 20 s.
std::string textOnceItSays(QWebEngineView* view, const char* what)
{
    const auto shown = std::make_shared<QString>(); // the text comes later, and may outlive this test
    waitUntil(
        [&] {
            view->page()->toPlainText([shown](const QString& text) { *shown = text; });
            return shown->contains(QLatin1String(what));
        },
        20000);
    return shown->toStdString();
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

// A page of our own service on loopback follows the program's links, and the
// pane shows where the program sends it; a page of another site does not.
// A pane reloads when the page it shows changed.
TEST(WebEnginePane, FollowsProgramLinksOfOwnPagesAndReloadsTheShownPage)
{
    QTcpServer site; // each request is answered with a page that holds a program link
    QStringList asked;
    ASSERT_TRUE(site.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&site, &QTcpServer::newConnection, [&] {
        QTcpSocket* s = site.nextPendingConnection();
        QObject::connect(s, &QTcpSocket::readyRead, [&, s] {
            const QString path = QString::fromLatin1(s->readAll().split(' ').value(1));
            if (path != QLatin1String("/favicon.ico"))
                asked << path;
            s->write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n<a id=l href=\"utquery:watch?slot=2\">W</a> " +
                     path.toLatin1());
            s->disconnectFromHost();
        });
    });
    const QString start = QStringLiteral("http://127.0.0.1:%1/start").arg(site.serverPort());
    WebEnginePanes panes;
    QStringList followed;
    panes.followProgramLinks([&](const QUrl& link) {
        followed << link.toString();
        return QString(start).replace(QLatin1String("start"), QLatin1String("back"));
    });
    std::unique_ptr<BrowserPane> pane(panes.create(nullptr, start));
    QWebEngineView* view = viewOf(*pane);
    ASSERT_TRUE(view);
    const auto clickLink = [view] {
        textOnceItSays(view, "W");
        view->page()->runJavaScript(QStringLiteral("document.getElementById('l').click()"));
    };
    clickLink();
    EXPECT_NE(textOnceItSays(view, "/back").find("W /back"), std::string::npos);
    EXPECT_EQ(followed, QStringList{"utquery:watch?slot=2"});
    EXPECT_EQ(asked, (QStringList{"/start", "/back"}));
    pane->ReloadIfShowing(QStringLiteral("/back"));
    EXPECT_TRUE(waitUntil([&] { return asked.size() == 3; }, 10000));
    pane->ReloadIfShowing(QStringLiteral("/start"));
    runEventLoopFor(500);
    view->setHtml(QStringLiteral("<a id=l href=\"utquery:watch?slot=3\">W</a>"),
                  QUrl(QStringLiteral("http://example.org/")));
    clickLink();
    runEventLoopFor(1000);
    EXPECT_EQ(followed.size(), 1);
    EXPECT_EQ(asked, (QStringList{"/start", "/back", "/back"}));
}

TEST(WebEnginePane, WhenNothingOpensAnAddressThePaneSaysWhy)
{
    const RecordingHandler handler;
    WebEnginePane pane(nullptr, QStringLiteral("http://127.0.0.1:1/")); // refused at once
    pane.Navigate(QStringLiteral("nohandler://10.0.0.1:7777"));
    QWebEngineView* view = viewOf(pane);
    ASSERT_TRUE(view);
    const auto shownOnceItSays = [view](const char* what) { return textOnceItSays(view, what); };
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
