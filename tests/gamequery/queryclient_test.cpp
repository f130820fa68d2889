#include "fakeservers/fakegameserver.h"
#include "gamequery/queryclient.h"
#include "gamequery/ut2004protocol.h"
#include "gamequery/ut3protocol.h"
#include "support/ownnamespace.h"
#include "support/qstringprinter.h"
#include "support/udppeers.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

using namespace gamequery;
using fakeservers::FakeGameServer;
using fakeservers::Protocol;
using fakeservers::Scenario;

QueryRequest request(Game game, quint16 port, int timeoutMs, bool queryPort = true)
{
    return {game, QStringLiteral("127.0.0.1"), port, queryPort, timeoutMs};
}

Scenario scenario(Protocol protocol, const QString& name = QStringLiteral("Fake Server"))
{
    return {.protocol = protocol,
            .name = name,
            .players = {{"One", 1, 10, 0}, {"Two", 2, 20, 1}, {"Three", 3, 30, 0}},
            .teams = {{"Red", 5}, {"Blue", 3}}};
}

TEST(QueryClient, SilenceStrangersGarbageAndPartialReplies)
{
    FakeGameServer silent({.protocol = Protocol::Ut3, .silent = true});
    QueryClient client;
    qint64 elapsed = 0;
    QueryResult r = ask(client, request(Game::UT3, silent.port(), 200), &elapsed);
    EXPECT_EQ(r.outcome, QueryResult::Outcome::NoAnswer);
    EXPECT_EQ(r.reason(), QStringLiteral("no answer on port %1 within 400 ms").arg(silent.port()));
    EXPECT_EQ(silent.requestsSeen(), 2); // one retry
    EXPECT_GE(elapsed, 380);

    const Scenario s = scenario(Protocol::Ut2004Binary);
    RawServer stranger([&](const QByteArray& d) { return fakeservers::ut2004Reply(s, d); }, true);
    EXPECT_EQ(ask(client, request(Game::UT2004, stranger.port(), 150)).outcome, QueryResult::Outcome::NoAnswer);

    // A UT3 server that answers its challenge (twice, as a network may repeat a datagram), never the
    // status: silent, not nonsense.
    RawServer challengeOnly([](const QByteArray& d) {
        const auto asked = ut3::readRequest(d);
        return asked && asked->forChallenge ? QList<QByteArray>(2, ut3::challengeReply(asked->session, 7))
                                            : QList<QByteArray>{};
    });
    EXPECT_EQ(ask(client, request(Game::UT3, challengeOnly.port(), 150)).outcome, QueryResult::Outcome::NoAnswer);

    // Replies in the game's own form that break off: unreadable, not silent. UT2004's
    // rules end inside a text; UT3's status holds nothing after its session.
    RawServer garbled([](const QByteArray& d) {
        const auto asked = ut3::readRequest(d);
        if (!asked)
            return QList<QByteArray>{QByteArray("\x80\0\0\0\x01\x05k", 7)};
        const QByteArray challenge = ut3::challengeReply(asked->session, 7);
        return QList<QByteArray>{asked->forChallenge ? challenge : '\0' + challenge.mid(1, 4) + "garbage"};
    });
    for (const Game game : {Game::UT2004, Game::UT3})
        EXPECT_EQ(ask(client, request(game, garbled.port(), 150)).reason(),
                  QStringLiteral("the reply on port %1 made no sense").arg(garbled.port()));

    // Old UT99 servers may leave out \final\: what came by the attempt's end, as
    // a straggling packet may yet come, is shown, marked partial.
    RawServer old([](const QByteArray& d) {
        return d == "\\status\\" ? QList<QByteArray>{"\\hostname\\Old One\\numplayers\\2\\player_0\\A\\queryid\\4.1"}
                                 : QList<QByteArray>{};
    });
    r = ask(client, request(Game::UT99, old.port(), 500), &elapsed);
    ASSERT_EQ(r.outcome, QueryResult::Outcome::Answered);
    EXPECT_GE(elapsed, 400); // not the 150 ms of quiet that ends a whole reply
    EXPECT_TRUE(r.status->partial);
    EXPECT_EQ(r.status->name.plain(), QStringLiteral("Old One"));
}

// Servers that answer every request with a flood, each as the attacks on the
// status service sent it: the query ends well within its first wait with
// what came, instead of holding the client for seconds.
TEST(QueryClient, AHostileServerCannotHoldAQuery)
{
    const QByteArray padding = "\\padding\\" + QByteArray(1000, 'x');
    QList<QByteArray> newNumbers, hugeFinal{"\\hostname\\Big\\numplayers\\0\\queryid\\1.1"}, manyRules;
    for (int i = 1; i <= 3000; ++i)
        newNumbers << "\\hostname\\Flood\\numplayers\\0" + padding + "\\queryid\\" + QByteArray::number(i) + ".1";
    for (int i = 0; i < 500; ++i)
        hugeFinal << "\\queryid\\1.999999\\final\\";
    manyRules = fakeservers::ut2004Reply(scenario(Protocol::Ut2004Binary, QStringLiteral("Rules Flood")),
                                         ut2004::request(ut2004::Info));
    for (int packet = 0; packet < 30; ++packet) {
        QByteArray rules = ut2004::request(ut2004::Rules);
        for (int i = 0; i < 6000; ++i)
            rules += ut2004::stringBytes(QStringLiteral("k%1_%2").arg(packet).arg(i)) + ut2004::stringBytes("v");
        manyRules << rules;
    }
    const std::tuple<const char*, Game, QList<QByteArray>, const char*, bool> cases[] = {
        {"UT99 replies, each with a new number", Game::UT99, newNumbers, "Flood", true},
        {"UT99 final part numbered 999,999", Game::UT99, hugeFinal, "Big", true},
        {"UT99 reply numbered -5.-7",
         Game::UT99,
         {"\\hostname\\Neg\\numplayers\\0\\queryid\\-5.-7\\final\\"},
         "Neg",
         false},
        {"UT2004 rules by the thousand", Game::UT2004, manyRules, "Rules Flood", true},
    };
    for (const auto& [attack, game, packets, name, partial] : cases) {
        SCOPED_TRACE(attack);
        RawServer server([&packets = packets](const QByteArray&) { return packets; });
        QueryClient client;
        qint64 elapsed = 0;
        const QueryResult result = ask(client, request(game, server.port(), 2000), &elapsed);
        ASSERT_EQ(result.outcome, QueryResult::Outcome::Answered);
        EXPECT_EQ(result.status->name.plain(), QLatin1String(name));
        EXPECT_EQ(result.status->partial, partial);
        EXPECT_LT(elapsed, 1000);
    }
}

// A server that answers one status request with a burst of UT99 reply
// packets, each with a new number, as one broken or hostile server did: the
// burst costs its own query only, never the queries after it or beside it.
TEST(QueryClient, ABurstOfDatagramsCostsOnlyItsOwnQuery)
{
    for (const int burst : {200, 2000}) {
        SCOPED_TRACE(burst);
        RawServer burster([burst](const QByteArray&) { return RawServer::ut99Burst(burst); });
        FakeGameServer good(scenario(Protocol::Ut99Text, QStringLiteral("Good")));
        QueryClient client;
        // Asked together with the burst, then each once more after it.
        std::optional<QueryResult> beside;
        client.query(request(Game::UT99, good.port(), 500), [&](const QueryResult& r) { beside = r; });
        EXPECT_EQ(ask(client, request(Game::UT99, burster.port(), 500)).outcome, QueryResult::Outcome::Answered);
        ASSERT_TRUE(waitUntil([&] { return beside.has_value(); }, 2000));
        EXPECT_EQ(beside->reason(), QString());
        for (int again = 0; again < 3; ++again) {
            qint64 elapsed = 0;
            EXPECT_EQ(ask(client, request(Game::UT99, good.port(), 500), &elapsed).reason(), QString());
            EXPECT_LT(elapsed, 400); // at once, not after a second attempt
        }
    }
}

// With only loopback and a name server on it that the test itself plays.
TESTS_IN_OWN_NAMESPACE(WithItsOwnNameServer, ::testing::Test, "-rnm",
                       QStringLiteral("ip link set lo up && f=$(mktemp) && "
                                      "printf 'nameserver 127.0.0.1\\noptions timeout:2 attempts:1\\n' > $f && "
                                      "mount --bind $f /etc/resolv.conf"))

TEST_F(WithItsOwnNameServer, ANameServerThatNeverAnswersHoldsTheQueryOneWaitOnly)
{
    QUdpSocket nameServer; // hears the look-up, says nothing
    ASSERT_TRUE(nameServer.bind(QHostAddress::LocalHost, 53));
    QueryClient client;
    QueryRequest r = request(Game::UT99, 7777, 300, false);
    r.host = QStringLiteral("ut.clan-server.net");
    qint64 elapsed = 0;
    EXPECT_EQ(ask(client, r, &elapsed).reason(), QStringLiteral("the name ut.clan-server.net did not resolve"));
    EXPECT_TRUE(nameServer.hasPendingDatagrams()); // it was asked
    EXPECT_LT(elapsed, 1000);
    // The system gives up after 2 s: that late answer changes nothing.
    int answers = 0;
    client.query(r, [&](const QueryResult&) { ++answers; });
    runEventLoopFor(3000);
    EXPECT_EQ(answers, 1);
}

TEST(QueryClient, DestinationsAreCheckedOnTheAddressAsked)
{
    const std::pair<std::vector<const char*>, std::pair<bool, bool>> groups[] = {
        // addresses, and whether a public service and a LAN's send to them
        {{"203.0.113.7", "2001:db8::7"}, {true, true}},
        {{"127.0.0.1", "10.1.2.3", "172.16.0.1", "192.168.1.20", "100.64.0.1", "169.254.169.254", "::1", "fe80::1",
          "fd00::1", "::ffff:10.0.0.1"},
         {false, true}},
        {{"0.0.0.0", "::", "255.255.255.255", "224.0.0.1", "ff02::1", "::ffff:255.255.255.255"}, {false, false}},
    };
    for (const auto& [addresses, allowed] : groups) {
        for (const char* address : addresses) {
            EXPECT_EQ(isAllowed(QHostAddress(QLatin1String(address)), Destinations::Public), allowed.first) << address;
            EXPECT_EQ(isAllowed(QHostAddress(QLatin1String(address)), Destinations::Lan), allowed.second) << address;
        }
    }
    FakeGameServer server(scenario(Protocol::Ut3));
    QueryClient client;
    client.setDestinations(Destinations::Public);
    EXPECT_EQ(ask(client, request(Game::UT3, server.port(), 300)).reason(),
              QStringLiteral("127.0.0.1 is an address this service does not send to"));
    EXPECT_EQ(server.requestsSeen(), 0); // a refused address hears nothing
}

TEST(QueryClient, ManyServersAtOnce)
{
    constexpr int kServers = 140; // more than a client starts at once: the last wait their turn
    std::vector<std::unique_ptr<FakeGameServer>> servers;
    const Protocol protocols[] = {Protocol::Ut99Text, Protocol::Ut2004Binary, Protocol::Ut3};
    const Game games[] = {Game::UT99, Game::UT2004, Game::UT3};
    QueryClient clients[2]; // side by side, each on a port of its own
    int left = kServers;
    QElapsedTimer clock;
    clock.start();
    std::vector<QString> names(kServers);
    const bool hasIPv6 = QUdpSocket().bind(QHostAddress::LocalHostIPv6, 0);
    for (int i = 0; i < kServers; ++i) {
        Scenario s = scenario(protocols[i % 3], QStringLiteral("Server %1").arg(i));
        s.delayMs = i % 7; // replies interleave
        s.splitSize = 100;
        s.uncounted = i % 3 == 1; // UT2004 waits a short silence for records past its count, not its whole wait
        const bool onIPv6 = hasIPv6 && i % 4 >= 2; // both clients ask some
        servers.push_back(std::make_unique<FakeGameServer>(
            s, nullptr, onIPv6 ? QHostAddress::LocalHostIPv6 : QHostAddress::LocalHost));
        QueryRequest r = request(games[i % 3], servers.back()->port(), 2000);
        if (onIPv6)
            r.host = QStringLiteral("::1");
        else if (i % 2)
            r.host = QStringLiteral("localhost"); // looked up, and its IPv4 address asked
        clients[i % 2].query(r, [&, i](const QueryResult& result) {
            names[static_cast<std::size_t>(i)] =
                result.status
                    ? QStringLiteral("%1 of %2").arg(result.status->name.plain()).arg(result.status->players.size())
                    : result.reason();
            --left;
        });
    }
    waitUntil([&] { return left == 0; }, 5000);
    EXPECT_LT(clock.elapsed(), 1500); // together, not one after another, and well before the 2 s wait
    for (int i = 0; i < kServers; ++i)
        EXPECT_EQ(names[static_cast<std::size_t>(i)], QStringLiteral("Server %1 of 3").arg(i));
    runEventLoopFor(10);
    EXPECT_EQ(clients[0].inFlight() + clients[1].inFlight(), 0);
}

TEST(QueryClient, PortRules)
{
    const std::tuple<Game, quint16, bool, quint16> cases[] = {
        {Game::UT99, 7777, false, 7778}, {Game::UT99, 0, false, 7778},   {Game::UT2004, 7787, false, 7788},
        {Game::UT99, 7778, true, 7778},  {Game::UT3, 6600, false, 6600}, {Game::UT3, 0, false, 6500},
        {Game::UT2004, 65535, false, 0}, // no wrapping past 65535: there is no such query port
    };
    for (const auto& [game, given, asQueryPort, port] : cases)
        EXPECT_EQ(QueryClient::queryPort(request(game, given, 0, asQueryPort)), port) << given;
    QueryClient client;
    EXPECT_EQ(ask(client, request(Game::UT99, 65535, 300, false)).reason(),
              QStringLiteral("port 65535 has no query port above it"));
}

} // namespace
