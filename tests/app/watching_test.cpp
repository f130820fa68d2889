// The window's part in watching: the program's own links change watch.ini;
// news becomes a notification whose actions join or show the server.

#include "buildconfig.h"
#include "support/windowdriver.h"

namespace {

class Watching : public WindowTest {
public:
    QString follow(const char* link) { return platform.programLinks(QUrl(QLatin1String(link))); }
    QByteArray watchFile() const
    {
        return platform.files.contents.value(platform.favouritesDirectory + QStringLiteral("/watch.ini"));
    }
};

TEST_F(Watching, LinksChangeTheFileAndLeadBackToTheStartPage)
{
    EXPECT_EQ(follow("utquery:watch?game=ut2004&slot=3"),
              QStringLiteral("http://" UTQ_MAIN_STATUS_HOST "/Qev/04query.html"));
    follow("utquery:watch?game=ut2004&slot=5");
    follow("utquery:unwatch?game=ut2004&slot=3");
    follow("utquery:friends?game=ut99&names=Alpha%0D%0ASe%C3%B1or+Frag%2B,+alpha,+");
    follow("utquery:watch?game=ut3&slot=7"); // no such slot: nothing changes
    EXPECT_EQ(watchFile(), QByteArray("[ut99]\r\nwatch=\r\n[ut2004]\r\nwatch=5\r\n[ut3]\r\nwatch=\r\n[friends]\r\n"
                                      "names=Alpha,Se\xF1or Frag+\r\n"));
    EXPECT_EQ(platform.files.writes.size(), 4);
}

TEST_F(Watching, NewsIsANotificationWhoseActionsJoinAndShow)
{
    field("ServerIP2")->setText(QStringLiteral("ut.example.org"));
    field("ServerPort2")->setText(QStringLiteral("7777"));
    const watch::News news{.game = Game::UT99,
                           .slot = 2,
                           .host = QStringLiteral("10.0.0.2"),
                           .gamePort = 7000,
                           .statusPath = QStringLiteral("/php/UTstats/index.php?txtip=10.0.0.2&portnum=7778"),
                           .name = QStringLiteral("Clan CTF"),
                           .map = QStringLiteral("CTF-Face"),
                           .players = 3,
                           .maxPlayers = 16,
                           .who = {QStringLiteral("Alpha"), QStringLiteral("Señor Frag")}};
    window->announce(news);
    EXPECT_EQ(platform.notifications.shown,
              QStringList{"Alpha, Señor Frag are playing on Clan CTF\nUT99 · CTF-Face · 3/16 players [Join] [Show]"});
    platform.notifications.pick(QStringLiteral("join")); // as Launch Game would, from the slot
    EXPECT_EQ(pane("WebBrowser2")->navigations.last(), QStringLiteral("unreal://ut.example.org:7777"));
    platform.notifications.pick(QStringLiteral("show"));
    EXPECT_EQ(window->tabStrip()->currentIndex(), 1);
    EXPECT_EQ(pane("WebBrowser2")->navigations.last(),
              QStringLiteral("http://" UTQ_MAIN_STATUS_HOST "/php/UTstats/index.php?txtip=10.0.0.2&portnum=7778"));

    platform.notifications.serviceOnBus = false; // said once, on the hidden status label
    window->announce(news);
    EXPECT_EQ(get<QLabel>("lblStatus")->text(),
              QStringLiteral("No notification service is on the desktop's bus: watched servers are not announced."));
    get<QLabel>("lblStatus")->clear();
    window->announce(news);
    EXPECT_TRUE(get<QLabel>("lblStatus")->text().isEmpty());
}

} // namespace
