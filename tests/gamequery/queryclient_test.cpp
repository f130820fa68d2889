#include "fakeservers/fakegameserver.h"
#include "gamequery/queryclient.h"
#include "gamequery/ut2004protocol.h"
#include "support/ownnamespace.h"
#include "support/qstringprinter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>

#include <gtest/gtest.h>

namespace {

using namespace gamequery;
using fakeservers::FakeGameServer;
using fakeservers::Protocol;
using fakeservers::Scenario;

// Runs one query to its end on the event loop; also reports how long it took.
QueryResult ask(QueryClient& client, const QueryRequest& request, qint64* elapsedMs = nullptr)
{
    std::optional<QueryResult> result;
    QEventLoop loop;
    QElapsedTimer clock;
    clock.start();
    client.query(request, [&](const QueryResult& r) {
        result = r;
        loop.quit();
    });
    QTimer::singleShot(10000, &loop, &QEventLoop::quit); // a query that never ends fails, not hangs
    if (!result)
        loop.exec();
    if (elapsedMs)
        *elapsedMs = clock.elapsed();
    if (!result) {
        ADD_FAILURE() << "the query never ended";
        return {};
    }
    return *result;
}

Scenario scenario(Protocol protocol)
{
    Scenario s;
    s.protocol = protocol;
    s.players = {{"One", 1, 10, 0}, {"Two", 2, 20, 1}, {"Three", 3, 30, 0}};
    s.teams = {{"Red", 5}, {"Blue", 3}};
    return s;
}

QueryRequest requestFor(Game game, const FakeGameServer& server, int timeoutMs = 300)
{
    QueryRequest r;
    r.game = game;
    r.host = QStringLiteral("127.0.0.1");
    r.port = game == Game::UT3 ? server.port() : static_cast<quint16>(server.port() - 1);
    r.timeoutMs = timeoutMs;
    return r;
}

TEST(QueryClient, EachGameAnswersInAboutOneRoundTrip)
{
    struct Case {
        Game game;
        Protocol protocol;
    };
    for (const Case c : {Case{Game::UT99, Protocol::Ut99Text}, Case{Game::UT2004, Protocol::Ut2004Binary},
                         Case{Game::UT3, Protocol::Ut3}}) {
        SCOPED_TRACE(static_cast<int>(c.game));
        FakeGameServer server(scenario(c.protocol));
        QueryClient client;
        qint64 elapsed = 0;
        const QueryResult r = ask(client, requestFor(c.game, server, 2000), &elapsed);
        ASSERT_EQ(r.outcome, QueryResult::Outcome::Answered) << r.reason().toStdString();
        EXPECT_EQ(r.queryPort, server.port());
        EXPECT_EQ(r.status->players.size(), 3u);
        EXPECT_FALSE(r.status->partial);
        EXPECT_GE(r.roundTripMs, 0);
        // Completion as early as the protocol allows: far below the 2 s wait,
        // and for UT2004 with players well below a quiet gap.
        EXPECT_LT(elapsed, c.game == Game::UT99 ? 400 : 100);
    }
}

// As real servers do: 11 records for a count of 10, the 11th in a packet of its own.
TEST(QueryClient, Ut2004KeepsThePlayersPastTheCount)
{
    Scenario s = scenario(Protocol::Ut2004Binary);
    s.players.clear();
    for (int i = 1; i <= 11; ++i)
        s.players.push_back({QStringLiteral("Player%1").arg(i, 2, 10, QLatin1Char('0')), i, 40, -1});
    s.uncounted = 1;
    s.splitSize = 5 + 10 * 26; // ten records of 26 bytes a packet
    for (const bool reversed : {false, true}) {
        s.reverseOrder = reversed;
        FakeGameServer server(s);
        QueryClient client;
        const QueryResult r = ask(client, requestFor(Game::UT2004, server, 2000));
        ASSERT_EQ(r.outcome, QueryResult::Outcome::Answered) << r.reason().toStdString();
        EXPECT_EQ(r.status->playerCount, 10);
        ASSERT_EQ(r.status->players.size(), 11u);
        EXPECT_FALSE(r.status->partial);
    }
}

TEST(QueryClient, ASilentServerGivesNoAnswerWithinTwoWaits)
{
    Scenario s = scenario(Protocol::Ut3);
    s.silent = true;
    FakeGameServer server(s);
    QueryClient client;
    qint64 elapsed = 0;
    const QueryResult r = ask(client, requestFor(Game::UT3, server, 200), &elapsed);
    EXPECT_EQ(r.outcome, QueryResult::Outcome::NoAnswer);
    EXPECT_EQ(server.requestsSeen(), 2); // one retry
    EXPECT_GE(elapsed, 380);
    EXPECT_LT(elapsed, 700);
    EXPECT_EQ(r.reason(), QStringLiteral("no answer on port %1 within 400 ms").arg(server.port()));
}

TEST(QueryClient, RepliesFromAnotherPortAreIgnoredAndGarbageIsMalformed)
{
    // A "server" that answers from a socket of its own, not the port asked.
    QUdpSocket asked, other;
    ASSERT_TRUE(asked.bind(QHostAddress::LocalHost, 0));
    ASSERT_TRUE(other.bind(QHostAddress::LocalHost, 0));
    const Scenario s = scenario(Protocol::Ut2004Binary);
    QObject::connect(&asked, &QUdpSocket::readyRead, [&] {
        while (asked.hasPendingDatagrams()) {
            const QNetworkDatagram d = asked.receiveDatagram();
            for (const QByteArray& p : fakeservers::ut2004Reply(s, d.data()))
                other.writeDatagram(p, d.senderAddress(), static_cast<quint16>(d.senderPort()));
        }
    });
    QueryClient client;
    QueryRequest r;
    r.game = Game::UT2004;
    r.host = QStringLiteral("127.0.0.1");
    r.port = asked.localPort();
    r.portIsQueryPort = true;
    r.timeoutMs = 150;
    EXPECT_EQ(ask(client, r).outcome, QueryResult::Outcome::NoAnswer);

    QObject::disconnect(&asked, nullptr, nullptr, nullptr);
    QObject::connect(&asked, &QUdpSocket::readyRead, [&] {
        while (asked.hasPendingDatagrams()) {
            const QNetworkDatagram d = asked.receiveDatagram();
            asked.writeDatagram("\x80\0\0\0\x07garbage", d.senderAddress(), static_cast<quint16>(d.senderPort()));
        }
    });
    EXPECT_EQ(ask(client, r).reason(), QStringLiteral("the reply on port %1 made no sense").arg(asked.localPort()));
}

TEST(QueryClient, Ut2004FallsBackToTheTextProtocolOnPortPlusTen)
{
    // The binary port stays silent; the text protocol answers on game port + 10.
    QUdpSocket binary;
    ASSERT_TRUE(binary.bind(QHostAddress::LocalHost, 0));
    const quint16 gamePort = static_cast<quint16>(binary.localPort() - 1);
    Scenario text = scenario(Protocol::Ut99Text);
    text.name = QStringLiteral("Text Protocol");
    FakeGameServer textServer(text, nullptr, QHostAddress::LocalHost, static_cast<quint16>(gamePort + 10));
    if (!textServer.listening())
        GTEST_SKIP() << "port " << gamePort + 10 << " is taken";
    QueryClient client;
    QueryRequest r;
    r.game = Game::UT2004;
    r.host = QStringLiteral("127.0.0.1");
    r.port = gamePort;
    r.timeoutMs = 200;
    const QueryResult result = ask(client, r);
    ASSERT_EQ(result.outcome, QueryResult::Outcome::Answered);
    EXPECT_EQ(result.status->name.plain(), QStringLiteral("Text Protocol"));
    EXPECT_EQ(result.status->game, Game::UT2004);
}

TEST(QueryClient, PartialRepliesAreKept)
{
    // Old UT99 servers may leave out \final\: what came is shown, marked partial.
    QUdpSocket server;
    ASSERT_TRUE(server.bind(QHostAddress::LocalHost, 0));
    QObject::connect(&server, &QUdpSocket::readyRead, [&] {
        while (server.hasPendingDatagrams()) {
            const QNetworkDatagram d = server.receiveDatagram();
            if (d.data() == "\\status\\")
                server.writeDatagram("\\hostname\\Old One\\numplayers\\2\\player_0\\A\\queryid\\4.1", d.senderAddress(),
                                     static_cast<quint16>(d.senderPort()));
        }
    });
    QueryClient client;
    QueryRequest r;
    r.host = QStringLiteral("127.0.0.1");
    r.port = server.localPort();
    r.portIsQueryPort = true;
    r.timeoutMs = 150;
    const QueryResult result = ask(client, r);
    ASSERT_EQ(result.outcome, QueryResult::Outcome::Answered);
    EXPECT_TRUE(result.status->partial);
    EXPECT_EQ(result.status->name.plain(), QStringLiteral("Old One"));
}

// Servers that answer every request with a flood, each as the attacks on the
// status service sent it: the query ends well within its first wait with
// what came, instead of holding the client for seconds.
TEST(QueryClient, AHostileServerCannotHoldAQuery)
{
    struct Case {
        const char* attack;
        Game game;
        QList<QByteArray> packets;
        const char* name;
        bool partial;
    };
    const QByteArray padding = "\\padding\\" + QByteArray(1000, 'x');
    QList<QByteArray> newNumbers, hugeFinal, manyRules;
    for (int i = 1; i <= 3000; ++i)
        newNumbers << "\\hostname\\Flood\\numplayers\\0" + padding + "\\queryid\\" + QByteArray::number(i) + ".1";
    hugeFinal << "\\hostname\\Big\\numplayers\\0\\queryid\\1.1";
    for (int i = 0; i < 500; ++i)
        hugeFinal << "\\queryid\\1.999999\\final\\";
    Scenario rulesFlood = scenario(Protocol::Ut2004Binary);
    rulesFlood.name = QStringLiteral("Rules Flood");
    manyRules = fakeservers::ut2004Reply(rulesFlood, ut2004::request(ut2004::Info));
    for (int packet = 0; packet < 30; ++packet) {
        QByteArray rules = ut2004::request(ut2004::Rules);
        for (int i = 0; i < 6000; ++i)
            rules += ut2004::stringBytes(QStringLiteral("k%1_%2").arg(packet).arg(i)) + ut2004::stringBytes("v");
        manyRules << rules;
    }
    const Case cases[] = {
        {"UT99 replies, each with a new number", Game::UT99, newNumbers, "Flood", true},
        {"UT99 final part numbered 999,999", Game::UT99, hugeFinal, "Big", true},
        {"UT99 reply numbered -5.-7",
         Game::UT99,
         {"\\hostname\\Neg\\numplayers\\0\\queryid\\-5.-7\\final\\"},
         "Neg",
         false},
        {"UT2004 rules by the thousand", Game::UT2004, manyRules, "Rules Flood", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attack);
        QUdpSocket server;
        ASSERT_TRUE(server.bind(QHostAddress::LocalHost, 0));
        QObject::connect(&server, &QUdpSocket::readyRead, [&] {
            while (server.hasPendingDatagrams()) {
                const QNetworkDatagram d = server.receiveDatagram();
                for (const QByteArray& p : c.packets)
                    server.writeDatagram(p, d.senderAddress(), static_cast<quint16>(d.senderPort()));
            }
        });
        QueryClient client;
        QueryRequest r;
        r.game = c.game;
        r.host = QStringLiteral("127.0.0.1");
        r.port = server.localPort();
        r.portIsQueryPort = true;
        r.timeoutMs = 2000;
        qint64 elapsed = 0;
        const QueryResult result = ask(client, r, &elapsed);
        ASSERT_EQ(result.outcome, QueryResult::Outcome::Answered);
        EXPECT_EQ(result.status->name.plain(), QLatin1String(c.name));
        EXPECT_EQ(result.status->partial, c.partial);
        EXPECT_LT(elapsed, 1000);
    }
}

constexpr char kInNamespace[] = "UTQ_QUERYCLIENT_IN_NAMESPACE";

// Runs the InOwnNamespace tests again with only loopback and a name server
// on it that the test itself plays.
TEST(QueryClient, InsideANetworkNamespaceOfItsOwn)
{
    rerunInOwnNamespace("-rnm",
                        QStringLiteral("ip link set lo up && f=$(mktemp) && "
                                       "printf 'nameserver 127.0.0.1\\noptions timeout:2 attempts:1\\n' > $f && "
                                       "mount --bind $f /etc/resolv.conf"),
                        "InOwnNamespace", kInNamespace);
}

using InOwnNamespace = OnlyInOwnNamespace<kInNamespace>;

TEST_F(InOwnNamespace, ANameServerThatNeverAnswersHoldsTheQueryOneWaitOnly)
{
    QUdpSocket nameServer; // hears the look-up, says nothing
    ASSERT_TRUE(nameServer.bind(QHostAddress::LocalHost, 53));
    QueryClient client;
    QueryRequest r;
    r.host = QStringLiteral("ut.clan-server.net");
    r.timeoutMs = 300;
    qint64 elapsed = 0;
    int answers = 0;
    const QueryResult result = ask(client, r, &elapsed);
    EXPECT_EQ(result.reason(), QStringLiteral("the name ut.clan-server.net did not resolve"));
    EXPECT_TRUE(nameServer.hasPendingDatagrams()); // it was asked
    EXPECT_LT(elapsed, 1000);
    // The system gives up after 2 s: that late answer changes nothing.
    client.query(r, [&](const QueryResult&) { ++answers; });
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(answers, 1);
}

TEST(QueryClient, DestinationsAreCheckedOnTheAddressAsked)
{
    const std::tuple<const char*, bool, bool> cases[] = {
        // address, public, LAN
        {"203.0.113.7", true, true},
        {"2001:db8::7", true, true},
        {"127.0.0.1", false, true},
        {"10.1.2.3", false, true},
        {"172.16.0.1", false, true},
        {"192.168.1.20", false, true},
        {"100.64.0.1", false, true},
        {"169.254.169.254", false, true},
        {"::1", false, true},
        {"fe80::1", false, true},
        {"fd00::1", false, true},
        {"::ffff:10.0.0.1", false, true},
        {"0.0.0.0", false, false},
        {"::", false, false},
        {"255.255.255.255", false, false},
        {"224.0.0.1", false, false},
        {"239.255.255.250", false, false},
        {"ff02::1", false, false},
        {"::ffff:255.255.255.255", false, false},
    };
    for (const auto& [address, isPublic, isLan] : cases) {
        SCOPED_TRACE(address);
        EXPECT_EQ(isAllowed(QHostAddress(QLatin1String(address)), Destinations::Public), isPublic);
        EXPECT_EQ(isAllowed(QHostAddress(QLatin1String(address)), Destinations::Lan), isLan);
    }
    // A refused address hears nothing.
    FakeGameServer server(scenario(Protocol::Ut3));
    QueryClient client;
    client.setDestinations(Destinations::Public);
    EXPECT_EQ(ask(client, requestFor(Game::UT3, server)).reason(),
              QStringLiteral("127.0.0.1 is an address this service does not send to"));
    EXPECT_EQ(server.requestsSeen(), 0);
}

TEST(QueryClient, ManyServersAtOnce)
{
    constexpr int kServers = 60;
    std::vector<std::unique_ptr<FakeGameServer>> servers;
    const Protocol protocols[] = {Protocol::Ut99Text, Protocol::Ut2004Binary, Protocol::Ut3};
    const Game games[] = {Game::UT99, Game::UT2004, Game::UT3};
    for (int i = 0; i < kServers; ++i) {
        Scenario s = scenario(protocols[i % 3]);
        s.name = QStringLiteral("Server %1").arg(i);
        s.delayMs = i % 7; // replies interleave
        servers.push_back(std::make_unique<FakeGameServer>(s));
    }
    QueryClient client;
    int left = kServers;
    QEventLoop loop;
    QElapsedTimer clock;
    clock.start();
    std::vector<QString> names(kServers);
    for (int i = 0; i < kServers; ++i) {
        QueryRequest request = requestFor(games[i % 3], *servers[static_cast<std::size_t>(i)], 2000);
        if (i % 2)
            request.host = QStringLiteral("localhost"); // looked up, and its IPv4 address asked
        client.query(request, [&, i](const QueryResult& r) {
            names[static_cast<std::size_t>(i)] = r.status ? r.status->name.plain() : r.reason();
            if (--left == 0)
                loop.quit();
        });
    }
    loop.exec();
    EXPECT_LT(clock.elapsed(), 1000);
    for (int i = 0; i < kServers; ++i)
        EXPECT_EQ(names[static_cast<std::size_t>(i)], QStringLiteral("Server %1").arg(i));
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(client.inFlight(), 0);
}

TEST(QueryClient, PortRules)
{
    const auto port = [](Game game, quint16 given, bool asQueryPort) {
        QueryRequest r;
        r.game = game;
        r.port = given;
        r.portIsQueryPort = asQueryPort;
        return QueryClient::queryPort(r);
    };
    EXPECT_EQ(port(Game::UT99, 7777, false), 7778);
    EXPECT_EQ(port(Game::UT99, 0, false), 7778);
    EXPECT_EQ(port(Game::UT2004, 7787, false), 7788);
    EXPECT_EQ(port(Game::UT99, 7778, true), 7778);
    EXPECT_EQ(port(Game::UT3, 6600, false), 6600);
    EXPECT_EQ(port(Game::UT3, 0, false), 6500);
    // No wrapping past 65535: there is no such query port, and nothing is sent.
    EXPECT_EQ(port(Game::UT2004, 65535, false), 0);
    QueryClient client;
    QueryRequest r;
    r.game = Game::UT99;
    r.host = QStringLiteral("127.0.0.1");
    r.port = 65535;
    EXPECT_EQ(ask(client, r).reason(), QStringLiteral("port 65535 has no query port above it"));
}

} // namespace
