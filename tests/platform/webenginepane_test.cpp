#include "platform/webenginepane.h"

#include <QDesktopServices>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

// Receives what the desktop would hand to the handler of a scheme.
class SchemeHandler : public QObject {
    Q_OBJECT
public:
    QList<QUrl> received;
public slots:
    void open(const QUrl& url) { received << url; }
};

TEST(WebEnginePane, OtherSchemesGoToTheDesktopsHandler)
{
    SchemeHandler game;
    QDesktopServices::setUrlHandler(QStringLiteral("unreal"), &game, "open");
    {
        // A start page that is never served: only the hand-over matters here.
        WebEnginePane pane(nullptr, QStringLiteral("about:blank"));
        pane.Navigate(QStringLiteral("unreal://10.0.0.1:7777"));
        pane.Navigate(QStringLiteral("UNREAL://game.example.org:7777"));
    }
    QDesktopServices::unsetUrlHandler(QStringLiteral("unreal"));
    ASSERT_EQ(game.received.size(), 2);
    EXPECT_EQ(game.received[0], QUrl(QStringLiteral("unreal://10.0.0.1:7777")));
    EXPECT_EQ(game.received[1].host(), QStringLiteral("game.example.org"));
    EXPECT_EQ(game.received[1].port(), 7777);
}

} // namespace

#include "webenginepane_test.moc"
