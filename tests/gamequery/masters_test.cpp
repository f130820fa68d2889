#include "fakeservers/fakemaster.h"
#include "gamequery/masterclient.h"
#include "gamequery/ut2004master.h"
#include "gamequery/ut99master.h"
#include "support/eventloop.h"
#include "support/qstringprinter.h"

#include <QElapsedTimer>
#include <QTcpServer>

#include <gtest/gtest.h>

namespace {

using namespace gamequery;
using fakeservers::FakeMaster;
using fakeservers::MasterScenario;
using Behaviour = MasterScenario::Behaviour;

TEST(Ut99Master, ValidateAsTheGameAnswers)
{
    EXPECT_EQ(ut99master::validate("wookie"), "2/TYFMRc"); // recorded from a master
    EXPECT_EQ(ut99master::validate("HZVXFR"), "K6RAVKVh");
    EXPECT_EQ(ut99master::validate("ABCDEF"), "5OOIQ5Ha");
    // UT2004's answer to a challenge: the hashes of an empty product key and of it with the challenge.
    const QByteArray hello = ut2004master::hello("111111111");
    EXPECT_TRUE(hello.contains("d41d8cd98f00b204e9800998ecf8427e") &&
                hello.contains("bbb8aae57c104cda40c93843ad5e6db8"));
}

// The masters' lists through the real client, each master's rows as it sent
// them ("address:port name players"), or its failure.
QStringList fetched(const std::vector<quint16>& masters, MasterProtocol protocol, qint64* elapsedMs = nullptr,
                    const MasterLimits& limits = {})
{
    MasterClient client;
    client.setLimits(limits);
    std::vector<HostPort> addresses;
    for (const quint16 port : masters)
        addresses.push_back({QStringLiteral("127.0.0.1"), port});
    std::optional<MasterLists> lists;
    QElapsedTimer clock;
    clock.start();
    client.fetchAll(protocol, addresses, [&](const MasterLists& l) { lists = l; });
    EXPECT_TRUE(waitUntil([&] { return lists.has_value(); }, 30000));
    if (elapsedMs)
        *elapsedMs = clock.elapsed();
    QStringList seen;
    for (const MasterResult& result : lists.value_or(MasterLists{}).masters)
        seen << (result.failure.isEmpty() ? QStringLiteral("%1 rows").arg(result.servers.size()) : result.failure);
    for (const ListedServer& s : lists.value_or(MasterLists{}).servers)
        seen << QStringLiteral("%1:%2 %3 %4").arg(s.address.toString()).arg(s.port).arg(s.name).arg(s.players);
    return seen;
}

TEST(MasterClient, EachGamesListInEachFormMergedAcrossMasters)
{
    const std::vector<ListedServer> servers = {
        {QHostAddress(QStringLiteral("203.0.113.5")), 7778, QStringLiteral("Señor DM"), "DM-Deck16][", "DM", 3, 16},
        {QHostAddress(QStringLiteral("92.105.112.92")), 7788, QStringLiteral("Backslashes"), "CTF-Face", "CTF", 0, 8}};
    FakeMaster compact({.servers = servers, .greetingEndsWithFinal = true});
    FakeMaster text({.servers = {servers[1]}, .challenge = "wookie", .greetingEndsWithNul = true, .textForm = true});
    EXPECT_EQ(fetched({compact.port(), text.port()}, MasterProtocol::Ut99Text),
              (QStringList{"2 rows", "1 rows", "203.0.113.5:7778  -1", "92.105.112.92:7788  -1"}));

    FakeMaster ut2004({.protocol = MasterProtocol::Ut2004Binary, .servers = servers});
    FakeMaster refusing(
        {.protocol = MasterProtocol::Ut2004Binary, .behaviour = Behaviour::Refuses, .refusal = "UNKNOWN_CDKEY"});
    EXPECT_EQ(fetched({ut2004.port(), refusing.port()}, MasterProtocol::Ut2004Binary),
              (QStringList{"2 rows", "the master refused: UNKNOWN_CDKEY", "203.0.113.5:7778 Señor DM 3",
                           "92.105.112.92:7788 Backslashes 0"}));
}

// Each costs at most its bounds, and none of its rows are used.
TEST(MasterClient, AHostileMasterCostsItsBoundsOnly)
{
    const MasterLimits tight{.connectMs = 500, .readMs = 400, .wholeMs = 1500, .maxBytes = 256 * 1024};
    const std::tuple<MasterProtocol, Behaviour, const char*> cases[] = {
        {MasterProtocol::Ut99Text, Behaviour::Drips, "the list took longer than 1.5 s"},
        {MasterProtocol::Ut99Text, Behaviour::Floods, "the master sent more than 0 MiB"},
        {MasterProtocol::Ut99Text, Behaviour::Garbles, "the master's list made no sense"},
        {MasterProtocol::Ut99Text, Behaviour::Refuses, "the master refused: Go away"},
        {MasterProtocol::Ut99Text, Behaviour::ClosesEarly, "the master closed before the list's end"},
        {MasterProtocol::Ut2004Binary, Behaviour::Floods, "more than 20000 servers listed"}, // as it announces
        {MasterProtocol::Ut2004Binary, Behaviour::Garbles, "the master's list made no sense"},
        {MasterProtocol::Ut2004Binary, Behaviour::ClosesEarly, "the master closed before the list"},
    };
    for (const auto& [protocol, behaviour, failure] : cases) {
        SCOPED_TRACE(failure);
        FakeMaster master({.protocol = protocol,
                           .servers = {{QHostAddress(QStringLiteral("203.0.113.5")), 7778}},
                           .behaviour = behaviour});
        qint64 elapsed = 0;
        EXPECT_EQ(fetched({master.port()}, protocol, &elapsed, tight), QStringList{failure});
        EXPECT_LT(elapsed, 2000);
    }
    // A whole list of more rows than a list holds.
    FakeMaster crowded({.servers = std::vector<ListedServer>(kMostListedServers + 1,
                                                             {QHostAddress(QStringLiteral("203.0.113.5")), 7778})});
    EXPECT_EQ(fetched({crowded.port()}, MasterProtocol::Ut99Text), QStringList{"more than 20000 servers listed"});
    QTcpServer mute; // takes the connection, says nothing
    ASSERT_TRUE(mute.listen(QHostAddress::LocalHost));
    EXPECT_EQ(fetched({mute.serverPort()}, MasterProtocol::Ut2004Binary, nullptr, tight),
              QStringList{"the master said nothing for 0.4 s"});
}

} // namespace
