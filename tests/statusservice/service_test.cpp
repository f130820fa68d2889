#include "buildconfig.h"
#include "fakeservers/fakegameserver.h"
#include "fakeservers/fakemaster.h"
#include "statusservice/defaults.h"
#include "statusservice/pages.h"
#include "statusservice/servicethread.h"
#include "statusservice/statusservice.h"
#include "support/eventloop.h"
#include "support/files.h"
#include "support/ownnamespace.h"
#include "support/udppeers.h"

#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>

#include <gtest/gtest.h>

namespace {

using namespace statusservice;
using fakeservers::FakeGameServer;
using fakeservers::Protocol;
using fakeservers::Scenario;

struct Page {
    int status = 0;
    QString body;
    qint64 ms = 0;
};

// Each of shown is on the page, none of hidden.
void expectOnPage(const Page& page, std::initializer_list<QString> shown, std::initializer_list<QString> hidden = {})
{
    for (const QString& text : shown)
        EXPECT_TRUE(page.body.contains(text)) << "missing: " << text.toStdString();
    for (const QString& text : hidden)
        EXPECT_FALSE(page.body.contains(text)) << "shown: " << text.toStdString();
}

// A game's status page of a server on 127.0.0.1.
QString statusPage(Protocol protocol, int port)
{
    const char* target = protocol == Protocol::Ut99Text ? "/php/UTstats/index.php?txtip=127.0.0.1&portnum=%1"
                         : protocol == Protocol::Ut3
                             ? "/Qev/UT3Query/ut3query.php?serverip=127.0.0.1&serverqport=%1&serverwport=0"
                             : "/phpnuke/html/SQuery/index.php?ip=127.0.0.1&port=%1&game=UT2004&block=1";
    return QString::fromLatin1(target).arg(port);
}

class Service : public ::testing::Test {
protected:
    void SetUp() override { start(options()); }

    ServiceOptions options() const
    {
        return {.port = 0,
                .timeoutMs = 200,
                .destinations = gamequery::Destinations::Lan, // the fake servers are on loopback
                .voiceChatHost = QStringLiteral("ts3.clan.example.org"),
                .presets = {{Game::UT99, "{Qev} US", "us.example.net", "7777"},
                            {Game::UT2004, "{Qev}", "Server Closed", "7777"}},
                .favouritesFolder = favourites.path(),
                .diagnosisMs = 1000};
    }
    void start(const ServiceOptions& options)
    {
        service = std::make_unique<StatusService>(options);
        ASSERT_TRUE(service->start());
    }

    // The page asked for so many times at once, each within 5 s, or it fails instead of hanging.
    std::vector<Page> get(const QString& target, int times)
    {
        QElapsedTimer clock;
        clock.start();
        std::vector<std::unique_ptr<QNetworkReply>> replies;
        for (int i = 0; i < times; ++i)
            replies.emplace_back(network.get(
                QNetworkRequest(QUrl(QStringLiteral("http://127.0.0.1:%1").arg(service->port()) + target))));
        waitUntil([&] { return std::all_of(replies.begin(), replies.end(), [](auto& r) { return r->isFinished(); }); },
                  5000);
        std::vector<Page> pages;
        for (const auto& reply : replies)
            pages.push_back({reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(),
                             QString::fromUtf8(reply->readAll()), clock.elapsed()});
        return pages;
    }
    Page get(const QString& target) { return get(target, 1).front(); }

    // UT99 speaks Latin-1 only.
    static QString nonLatin(Protocol protocol)
    {
        return protocol == Protocol::Ut99Text ? QStringLiteral("Señor") : QStringLiteral("مرحبا");
    }

    static Scenario hostileScenario(Protocol protocol)
    {
        Scenario s{.protocol = protocol,
                   .name = QStringLiteral("<script>alert('x')</script> & \"Friends\" {{facts}}"),
                   .map = QStringLiteral("DM-<b>Bold</b>"),
                   .players = {{QStringLiteral("<img src=x onerror=alert(1)>"), 10, 40, 0},
                               {nonLatin(protocol), 30, 50, 1},
                               {QStringLiteral("Low %1%2"), -2, 60, 0}},
                   .teams = {{"Red %2", 7}, {"Blue", 9}}};
        if (protocol == Protocol::Ut2004Binary) // a line a mutator, as its servers list them
            s.rules = {{"Mutator", "Mut <A>"}, {"Mutator", "Mut B"}};
        return s;
    }

    // Writes a favourites file as the window saves it.
    void save(const char* file, const QStringList& lines)
    {
        writeFile(favourites.filePath(QLatin1String(file)), "[SERVER]\r\n" + lines.join("\r\n").toLatin1() + "\r\n");
    }

    QTemporaryDir favourites;
    QNetworkAccessManager network;
    std::unique_ptr<StatusService> service;
};

TEST_F(Service, EachRouteShowsTheServerBehindIt)
{
    // The UT3 favourites' route, on the game host, links to the server's web statistics.
    const std::tuple<Protocol, const char*, bool> cases[] = {{Protocol::Ut99Text, nullptr, false},
                                                             {Protocol::Ut2004Binary, nullptr, false},
                                                             {Protocol::Ut3, nullptr, false},
                                                             {Protocol::Ut3, "8080", true},
                                                             {Protocol::Ut3, "65536", false}}; // no such port
    for (const auto& [protocol, webPort, webStatistics] : cases) {
        FakeGameServer server(hostileScenario(protocol));
        QString target = statusPage(protocol, server.port() - (protocol == Protocol::Ut2004Binary)); // its game port
        if (webPort)
            target.replace(QStringLiteral("/Qev/"), QStringLiteral("/"))
                .replace(QStringLiteral("wport=0"), QStringLiteral("wport=") + QLatin1String(webPort));
        SCOPED_TRACE(target.toStdString());
        const Page page = get(target);
        EXPECT_EQ(page.status, 200);
        // Every text of the server shows as text, never as markup, a placeholder's braces included.
        expectOnPage(page,
                     {"&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; &quot;Friends&quot; {{facts}}</bdi>",
                      "DM-&lt;b&gt;Bold&lt;/b&gt;", "<bdi>" + nonLatin(protocol) + "</bdi>",
                      "<a href=\"" + QString(target).replace(QLatin1Char('&'), QStringLiteral("&amp;")) +
                          "&amp;refresh=1\">Refresh</a>"},
                     {"<script", "<img"});
        // Sorted by score: 30, 10, -2.
        EXPECT_LT(page.body.indexOf(nonLatin(protocol)), page.body.indexOf(QStringLiteral("&lt;img")));
        EXPECT_LT(page.body.indexOf(QStringLiteral("&lt;img")), page.body.indexOf(QStringLiteral(">Low %1%2<")));
        // A "%1" in a name is text: every cell of its row stays in its column.
        EXPECT_TRUE(
            page.body.contains(QStringLiteral("Low %1%2</bdi></td><td class=\"n\">-2</td><td class=\"n\">60</td>")));
        if (protocol != Protocol::Ut2004Binary)
            expectOnPage(page, {"Team scores", "Red %2</td><td class=\"n\">7</td>"});
        else // no team names: the team's colour
            expectOnPage(page, {"<tr><th>Mutator</th><td>Mut &lt;A&gt;, Mut B</td></tr>", "t0\"></span>Red</td>"});
        EXPECT_EQ(page.body.contains(QStringLiteral("Web statistics")), webStatistics);
    }
}

TEST_F(Service, NoUsableAddressSendsNothing)
{
    FakeGameServer server(hostileScenario(Protocol::Ut2004Binary));
    for (const char* target : {"/phpnuke/html/SQuery/index.php?ip=Server%20IP&port=Server%20Port&game=UT2004&block=1",
                               "/Qev/UT3Query/ut3query.php?serverip=127.0.0.1&serverqport=Query%20Port&serverwport=0",
                               "/php/UTstats/index.php?txtip=%22%3E%3Cscript%3E&portnum=%3Cb%3E"}) {
        const Page page = get(QLatin1String(target));
        EXPECT_EQ(page.status, 200);
        expectOnPage(page, {"No server address"}, {"<script", "<b>"});
    }
    expectOnPage(
        get(QStringLiteral("/php/UTstats/index.php?txtip=%20UT.Nowhere.invalid.&portnum=7778")), // as asked
        {"Unknown server name", "The name ut.nowhere.invalid did not resolve to an address.", "Check the spelling"});
    EXPECT_EQ(service->queriesSent(), 0);
    EXPECT_EQ(server.requestsSeen(), 0);
}

// The watched favourites are asked at start and each round, the list's last
// sweep searched for friends; what is news reaches the desktop once.
TEST_F(Service, WatchedFavouritesAndFriendsOnTheListAreNews)
{
    FakeGameServer watched({.name = QStringLiteral("Watched")}); // nobody on it yet
    FakeGameServer listed({.name = QStringLiteral("Listed"), .players = {{QStringLiteral("Señor Frag"), 3, 40, 0}}});
    fakeservers::FakeMaster master({.servers = {{QHostAddress::LocalHost, listed.port()}}});
    save("utservers.ini",
         {"ServerName2=Mine", "ServerIP2=127.0.0.1", QStringLiteral("QueryPort2=%1").arg(watched.port())});
    save("watch.ini", {"[ut99]", "watch=2", "[friends]", "names=señor frag,Alpha"});
    std::vector<watch::News> news;
    ServiceOptions watching = options();
    watching.onNews = [&](const watch::News& n) { news.push_back(n); };
    watching.watchIntervalMs = 300;
    watching.masters = {{Game::UT99, {QStringLiteral("127.0.0.1"), master.port()}}};
    start(watching);
    runEventLoopFor(400);
    EXPECT_TRUE(news.empty());
    watched.scenario().players = {{QStringLiteral("Alpha"), 5, 30, 0}, {QStringLiteral("Bot"), 0, 0, 1}};
    ASSERT_TRUE(waitUntil([&] { return news.size() == 1; }, 2000));
    EXPECT_EQ(news[0].slot, 2);
    EXPECT_EQ(news[0].who, QStringList{"Alpha"});
    EXPECT_EQ(QStringLiteral("%1 %2 %3/%4")
                  .arg(news[0].name, news[0].statusPath)
                  .arg(news[0].players)
                  .arg(news[0].maxPlayers),
              QStringLiteral("Watched /php/UTstats/index.php?txtip=127.0.0.1&portnum=%1 2/16").arg(watched.port()));
    get(QStringLiteral("/servers/ut99")); // a sweep of the list
    ASSERT_TRUE(waitUntil([&] { return news.size() == 2; }, 2000));
    EXPECT_EQ(QStringLiteral("%1 %2").arg(news[1].who.join(','), news[1].name), QStringLiteral("señor frag Listed"));
    runEventLoopFor(700); // both stay as they are: no more news
    EXPECT_EQ(news.size(), 2u);
}

// A server that bursts thousands of datagrams at one page costs that page
// only: the next page of another server is whole at once.
TEST_F(Service, ABurstingServerCostsOnlyItsOwnPage)
{
    RawServer burster([](const QByteArray&) { return RawServer::ut99Burst(2000); });
    expectOnPage(get(statusPage(Protocol::Ut99Text, burster.port())), {"<title>UT99: Burst</title>"});
    for (int again = 0; again < 3; ++again) {
        FakeGameServer good(Scenario{.name = QStringLiteral("Good One")}); // a new page each time, not a shared answer
        const Page page = get(statusPage(Protocol::Ut99Text, good.port()));
        expectOnPage(page, {"<title>UT99: Good One</title>"}); // a deaf socket gives "No answer"
    }
}

// The tests that probe the usual query ports of a host (6500, 7778 ...) run
// in a network namespace of their own, so that a server of this machine
// cannot change what they find; there the service's own echo may ping.
TESTS_IN_OWN_NAMESPACE(ServiceAloneOnItsHost, Service, "-rn", QStringLiteral("ip link set lo up"))

TEST_F(ServiceAloneOnItsHost, ASilentOrGarbledServerGetsAPageThatSaysWhy)
{
    Scenario s = hostileScenario(Protocol::Ut3);
    s.silent = true;
    FakeGameServer server(s, nullptr, QHostAddress::LocalHost, 6600); // the second server of a host
    const Page silent = get(statusPage(Protocol::Ut3, server.port()));
    expectOnPage(silent, {"<title>UT3: No answer</title>", "No answer from 127.0.0.1 on query port 6600",
                          "The query port of UT3 is usually 6500.",
                          "No UT3 server answers on the other usual query ports of that host either (6500, 6700)"});
    expectOnPage(silent, {"The host 127.0.0.1 answers ping ("});
    EXPECT_LT(silent.ms, 2 * 200 + 1000 + 500); // two waits, then at most the time to find out why

    RawServer garbled([](const QByteArray&) { return QList<QByteArray>{"garbage"}; }); // bytes of no game
    expectOnPage(get(statusPage(Protocol::Ut3, garbled.port())), {"<title>UT3: Unreadable answer</title>"});
}

// Another usual query port of the host answers the game's query: the page
// links to its status; a host silent to ping too has nothing answering.
TEST_F(ServiceAloneOnItsHost, ANoAnswerPageFindsTheServerOnAnotherPort)
{
    // Every case asks the one host 127.0.0.1, more often than its budget allows.
    ServiceOptions unbounded = options();
    unbounded.budgets = false;
    std::atomic<bool> dropsPings = false;
    unbounded.echo = [&dropsPings](const QHostAddress&, int timeoutMs) {
        if (!dropsPings)
            return Echo{Echo::Kind::Answered, 150};
        QThread::msleep(static_cast<unsigned long>(timeoutMs)); // the echo waits in vain
        return Echo{Echo::Kind::Silent, 0};
    };
    start(unbounded);

    const std::tuple<Protocol, quint16, int, const char*> cases[] = {
        // protocol, where the server is (0: any), the port asked from the server's, shown (%1: the server's port)
        // The UT99 game port typed for the query port.
        {Protocol::Ut99Text, 0, -1,
         "Query port %1 on the same host answers as a UT99 server: <a "
         "href=\"/php/UTstats/index.php?txtip=127.0.0.1&amp;portnum=%1\">"},
        // UT2004's query port typed for its game port: the page links to the game port.
        {Protocol::Ut2004Binary, 0, 0,
         "SQuery/index.php?ip=127.0.0.1&amp;port=%1&amp;game=UT2004&amp;block=1\">see its status"},
        // UT3 servers sharing a host take query ports 6500, 6600, ...
        {Protocol::Ut3, 6600, -100, "Query port %1 on the same host answers as a UT3 server"},
    };
    for (const auto& [protocol, fakePort, askedFromFake, shown] : cases) {
        FakeGameServer server(Scenario{.protocol = protocol}, nullptr, QHostAddress::LocalHost, fakePort);
        const int answering = protocol == Protocol::Ut2004Binary ? server.port() - 1 : server.port();
        SCOPED_TRACE(shown);
        expectOnPage(
            get(statusPage(protocol, server.port() + askedFromFake)),
            {"No answer", "The host 127.0.0.1 answers ping (0.1 ms)", QString::fromLatin1(shown).arg(answering)},
            {"answers at all"});
    }

    // A UT2004 server that answers only its text protocol (game port + 10) is shown as it is.
    FakeGameServer textOnly(Scenario{.name = QStringLiteral("Text Only 2004")});
    expectOnPage(get(statusPage(Protocol::Ut2004Binary, textOnly.port() - 10)),
                 {"<title>UT 2004: Text Only 2004</title>"}, {"No answer"});

    dropsPings = true;
    const Page nothing = get(statusPage(Protocol::Ut99Text, 9));
    expectOnPage(nothing, {"The host 127.0.0.1 does not answer ping either.", "Nothing on that host answers at all."});
    EXPECT_LT(nothing.ms, 2 * 200 + 1000 + 500);
}

TEST_F(Service, IdenticalQueriesShareOneUdpQuery)
{
    FakeGameServer server(hostileScenario(Protocol::Ut3));
    const QString target = statusPage(Protocol::Ut3, server.port());
    // A flood at once, then more within two seconds.
    for (const Page& page : get(target, 40))
        EXPECT_TRUE(page.body.contains(QStringLiteral("Team scores")));
    get(target);
    EXPECT_EQ(service->queriesSent(), 1);
    EXPECT_EQ(server.requestsSeen(), 2); // the challenge and the status
    // The Refresh link asks afresh, once while its answer is shared.
    get(target + QStringLiteral("&refresh=1"));
    EXPECT_EQ(service->queriesSent(), 2);
    get(target + QStringLiteral("&refresh=1"), 20);
    EXPECT_EQ(service->queriesSent(), 2);
    runEventLoopFor(2100); // past the two seconds an answer is shared
    get(target);
    EXPECT_EQ(service->queriesSent(), 3);
}

// A list page from the fake master masters.ini names: filtered and sorted as
// its form asks, one sweep for every client; a public service shows loopback
// rows as refused.
TEST_F(Service, AListPageOfEveryServerAMasterLists)
{
    FakeGameServer alpha({.name = QStringLiteral("Alpha DM"), .map = QStringLiteral("DM-Morpheus")});
    FakeGameServer bravo({.name = QStringLiteral("Bravo CTF"),
                          .map = QStringLiteral("CTF-Face"),
                          .maxPlayers = 1,
                          .password = true,
                          .players = {{"One", 1, 10, 0}},
                          .delayMs = 30}); // the slower to answer
    const QHostAddress loopback(QHostAddress::LocalHost);
    fakeservers::FakeMaster master({.servers = {{loopback, alpha.port()}, {loopback, bravo.port()}}});
    fakeservers::FakeMaster other({.servers = {{loopback, bravo.port()}}});
    const auto listedBy = [this](const fakeservers::FakeMaster& m) {
        save("masters.ini", {"[ut99]", QStringLiteral("masters=127.0.0.1:%1").arg(m.port())});
    };
    listedBy(master);
    ServiceOptions lan = options();
    lan.budgets = false; // more pages than a client may ask in a second
    start(lan);

    const auto before = [](const Page& page, const char* first, const char* second) {
        return page.body.indexOf(QLatin1String(first)) < page.body.indexOf(QLatin1String(second));
    };
    for (const Page& page : get(QStringLiteral("/servers/ut99"), 2)) { // most players first
        EXPECT_EQ(page.status, 200);
        expectOnPage(page, {"Servers listed: 2, answered: 2, shown: 2. Players in all: 1.", "unreal://127.0.0.1:7777",
                            "1 / 1</td><td>yes</td>"});
        EXPECT_TRUE(before(page, "Bravo CTF", "Alpha DM"));
    }
    EXPECT_TRUE(before(get(QStringLiteral("/servers/ut99?sort=name")), "Alpha DM", "Bravo CTF"));
    EXPECT_TRUE(before(get(QStringLiteral("/servers/ut99?sort=ping")), "Alpha DM", "Bravo CTF"));
    expectOnPage(get(QStringLiteral("/servers/ut99?q=MORPH")), {"Alpha DM", "shown: 1."}, {"Bravo CTF"});
    expectOnPage(get(QStringLiteral("/servers/ut99?q=br%C3%A1vo")), {"Bravo CTF"}, {"Alpha DM"}); // "bRÁvo"
    expectOnPage(get(QStringLiteral("/servers/ut99?notempty=1")), {"Bravo CTF"}, {"Alpha DM"});
    expectOnPage(get(QStringLiteral("/servers/ut99?notfull=1")), {"Alpha DM"}, {"Bravo CTF"});
    EXPECT_EQ(alpha.requestsSeen() + bravo.requestsSeen(), 4); // one sweep: two requests a server
    expectOnPage(get(QStringLiteral("/php/UTstats/lobby2.html")),
                 {"<a href=\"/servers/ut99\">Every live UT99 server</a> (players online: 1)"});
    const Page ut3 = get(QStringLiteral("/servers/ut3"));
    EXPECT_EQ(ut3.status, 200);
    expectOnPage(ut3, {"No server list is available for UT3"});
    listedBy(other); // masters.ini names another master: its list at once
    expectOnPage(get(QStringLiteral("/servers/ut99")), {"Servers listed: 1,", "Bravo CTF"}, {"Alpha DM"});

    ServiceOptions publicService = options();
    publicService.destinations = gamequery::Destinations::Public;
    start(publicService);
    expectOnPage(get(QStringLiteral("/servers/ut99")),
                 {"answered: 0", "127.0.0.1 is an address this service does not send to"});
    expectOnPage(get(statusPage(Protocol::Ut99Text, alpha.port())),
                 {"<title>UT99: Address not asked</title>", "127.0.0.1 is an address this service does not send"});
    EXPECT_EQ(alpha.requestsSeen() + bravo.requestsSeen(), 6); // none since the last sweep, nor for the page
}

// The start page shows the game's saved favourites, live, below the presets,
// follows a save at once and marks where a player is playing. The presets'
// names are never looked up: they show as they are.
TEST_F(Service, StartPagesShowThePresetsFavouritesAndAPlayer)
{
    FakeGameServer first({.name = QStringLiteral("Clan <b>Server</b>"),
                          .players = {{QStringLiteral("Alpha"), 10, 30, 0}, {QStringLiteral("Bravo"), 5, 40, 1}}});
    FakeGameServer second(
        {.name = QStringLiteral("Other Server"), .players = {{QStringLiteral("Señor Frag"), 1, 20, -1}}});
    const QString ut99 = QStringLiteral("/php/UTstats/lobby2.html");
    save("utservers.ini", {"ServerName=<i>Clan</i>", "ServerIP=127.0.0.1", "ServerPort=7777",
                           QStringLiteral("QueryPort=%1").arg(first.port()), "ServerName3=Other", "ServerIP3=127.0.0.1",
                           QStringLiteral("QueryPort3=%1").arg(second.port())});

    const Page found = get(ut99 + QStringLiteral("?player=aLPHA"));
    expectOnPage(found,
                 {"<h2>Your favourites</h2>",
                  QStringLiteral("<a href=\"/php/UTstats/index.php?txtip=127.0.0.1&amp;portnum=%1\">1. "
                                 "&lt;i&gt;Clan&lt;/i&gt;</a> &middot; <a href=\"utquery:watch?game=ut99&amp;slot=1\">"
                                 "Watch</a><br><bdi>Clan &lt;b&gt;Server&lt;/b&gt;</bdi>")
                      .arg(first.port()),
                  "<td class=\"n\">2 / 16</td><td>up, ", "aLPHA is playing here", "3. Other",
                  "<p class=\"warn\">aLPHA was found on: 1. &lt;i&gt;Clan&lt;/i&gt;.</p>", "value=\"aLPHA\""},
                 {"2. ", "<i>"});
    EXPECT_EQ(found.body.count(QStringLiteral("<tr class=\"found\">")), 1);
    // Part of a name, accents aside; the answer stands above the tables.
    const Page partly = get(ut99 + QStringLiteral("?player=senor+FR"));
    expectOnPage(partly, {"senor FR was found on: 3. Other.</p>\n<h2>Our servers</h2>"});

    const Page nowhere = get(ut99 + QStringLiteral("?player=%3Cb%3ENo+One"));
    expectOnPage(nowhere, {"&lt;b&gt;No One was found on none of these servers."}, {"class=\"found\"", "<b>No"});
    EXPECT_EQ(service->queriesSent(), 2); // the second page shares the first's answers

    save("utservers.ini",
         {"ServerName6=Saved Just Now", "ServerIP6=127.0.0.1", QStringLiteral("QueryPort6=%1").arg(second.port())});
    expectOnPage(get(ut99),
                 {"6. Saved Just Now", "UT99 Server Query", "{Qev} US", "did not resolve",
                  "<a href=\"/php/UTstats/index.php?txtip=us.example.net&amp;portnum=7778"},
                 {"1. ", "3. Other", "was found"});

    // UT2004's top row is never chosen, so never shown either; a game without
    // a file says there is nothing saved.
    save("ut04servers.ini", {"ServerName=Top", "ServerIP=127.0.0.1", "ServerPort=7777", "ServerName2=Second",
                             "ServerIP2=127.0.0.1", "ServerPort2=7777"});
    expectOnPage(get(QStringLiteral("/Qev/04query.html")), {"2. Second", "closed"}, {"Top"});
    expectOnPage(get(QStringLiteral("/Qev/ut3query.html")),
                 {"UT3 Server Query", "No favourite UT3 servers are saved yet."});
    expectOnPage(get(QStringLiteral("/Qev/TS3/index.php")), {"ts3.clan.example.org"});

    // The watch as watch.ini holds it; the service shows it and never changes it.
    save("watch.ini", {"[ut2004]", "watch=2", "[friends]", "names=Alpha,Señor Frag"});
    expectOnPage(
        get(QStringLiteral("/Qev/04query.html")),
        {"<a href=\"utquery:unwatch?game=ut2004&amp;slot=2\">Stop watching</a>", ">Alpha&#10;Señor Frag</textarea>"},
        {"Mallory"});
    const QByteArray watch = fileBytes(favourites.filePath(QStringLiteral("watch.ini")));
    EXPECT_EQ(get(QStringLiteral("/watch?game=ut2004&slot=2")).status, 404);
    EXPECT_EQ(get(QStringLiteral("/Qev/04query.html?watch=2&names=Mallory")).status, 200);
    EXPECT_EQ(fileBytes(favourites.filePath(QStringLiteral("watch.ini"))), watch);
    EXPECT_EQ(get(QStringLiteral("/favicon.ico")).status, 404);
    EXPECT_EQ(get(QStringLiteral("/php/UTstats/")).status, 404);

    start({.port = 0}); // utstatus serve: no favourites of anyone's
    expectOnPage(get(ut99), {"Our servers"}, {"favourite"});
}

TEST(ServiceThread, ASecondProgramUsesTheFirstsServiceAndAStrangerIsNamed)
{
    ServiceOptions options{.port = 0};
    QTcpServer stranger;
    ASSERT_TRUE(stranger.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&stranger, &QTcpServer::newConnection, [&] {
        QTcpSocket* s = stranger.nextPendingConnection();
        QObject::connect(s, &QTcpSocket::readyRead, [s] { s->write("HTTP/1.0 200 OK\r\nServer: other\r\n\r\nhi"); });
    });

    ServiceThread first;
    ASSERT_EQ(first.launch(options), ServiceThread::Outcome::Started);
    options.port = first.port();
    ServiceThread second;
    EXPECT_EQ(second.launch(options), ServiceThread::Outcome::AlreadyRunning);

    options.port = stranger.serverPort();
    ServiceThread third;
    EXPECT_EQ(third.launch(options), ServiceThread::Outcome::PortTaken);
    EXPECT_EQ(third.failure(), QStringLiteral("The status pages cannot be shown: port %1 on 127.0.0.1 is in use by "
                                              "another program.")
                                   .arg(options.port));
    EXPECT_EQ(first.failure(), QString());
    EXPECT_EQ(second.failure(), QString());
}

// An address of no interface here: the listen fails at once and sends nothing.
TEST(ServiceThread, AServiceThatCannotListenSaysWhy)
{
    ServiceThread thread;
    EXPECT_EQ(thread.launch({.address = QHostAddress(QStringLiteral("192.0.2.1")), .port = 17777}),
              ServiceThread::Outcome::CannotListen);
    EXPECT_EQ(thread.failure(), QStringLiteral("The status pages cannot be shown: the program cannot listen on port "
                                               "17777 on 192.0.2.1: The address is not available."));
}

TEST(ServiceThread, OnlyALoopbackStatusHostIsServedByTheProgramItself)
{
    const ServiceOptions built = defaultOptions(); // listens where the build's status host says
    EXPECT_EQ(QStringLiteral("%1:%2").arg(built.address.toString()).arg(built.port),
              QStringLiteral(UTQ_MAIN_STATUS_HOST));
    ServiceOptions served; // as utstatus serve --listen takes it
    EXPECT_TRUE(setListen(served, QStringLiteral("localhost:8080")) && served.port == 8080 &&
                served.address.isLoopback());
    for (const char* own : {"127.0.0.1:17777", "localhost:17777", "[::1]:8080", "127.0.0.2:80"})
        EXPECT_TRUE(isOwnStatusHost(QLatin1String(own))) << own;
    for (const char* elsewhere : {"status.example.org:8080", "10.0.0.5:80", "status.example.org", "0.0.0.0:17777", ""})
        EXPECT_FALSE(isOwnStatusHost(QLatin1String(elsewhere))) << elsewhere;
}

TEST(Pages, AStatusPageWholeAndAsTheServerSaidIt)
{
    gamequery::QueryResult result;
    result.status.emplace();
    result.status->players = {{gamequery::RichText::fromPlain(QStringLiteral("Far")), 1, 50, 5}};
    const PageRequest page = parseRequest("/php/UTstats/index.php?txtip=10.0.0.1&portnum=7778");
    const auto shown = [&](std::optional<bool> password) {
        result.status->password = password;
        return QString::fromUtf8(statusPage(page, result, QDateTime::currentDateTime()));
    };
    const QString unknown = shown(std::nullopt);
    // Every placeholder gives way to its text and nothing after it is lost.
    EXPECT_EQ(unknown.count(QStringLiteral("</style>")), 1);
    EXPECT_TRUE(unknown.contains(QStringLiteral("<title>UT99: </title>")));
    EXPECT_TRUE(unknown.endsWith(QStringLiteral("</html>\n")));
    for (const auto& [password, text] : {std::pair{std::optional<bool>(), "unknown"}, {true, "yes"}, {false, "no"}})
        EXPECT_TRUE(shown(password).contains(QStringLiteral("<tr><th>Password</th><td>%1</td></tr>").arg(text)));
    // Team 5 has no colour of its own: the last swatch, and its number.
    EXPECT_TRUE(unknown.contains(QStringLiteral("<span class=\"team t3\"></span>5")));
    // Colours become spans; control characters vanish.
    gamequery::RichText name;
    name.runs = {{gamequery::Colour{0x12, 0x34, 0xAB}, QStringLiteral("Sky<")},
                 {std::nullopt, QStringLiteral("\x7Fplain")}};
    // A colour too dark for our pages is mixed with white until it stands
    // out 3:1 from all their backgrounds (#4a3010 the closest); a bright one stays.
    name.runs.push_back({gamequery::Colour{0xFF, 0xCC, 0x00}, QStringLiteral("Sun")});
    EXPECT_EQ(colouredHtml(name), QStringLiteral("<bdi><span style=\"color:#647bc8\">Sky&lt;</span>plain"
                                                 "<span style=\"color:#ffcc00\">Sun</span></bdi>"));
    // Every status and problem page leads home to its game's start page, under any host name.
    const QString home = QStringLiteral(" &middot; <a href=\"/php/UTstats/lobby2.html\">UT99 start page</a></footer>");
    EXPECT_TRUE(unknown.contains(home));
    EXPECT_TRUE(QString::fromUtf8(problemPage(page, Problem::NoAnswer)).contains(home));
}

} // namespace
