#include "fakeservers/fakegameserver.h"
#include "gamequery/ut3protocol.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace gamequery;

constexpr std::uint32_t kSession = 0x01020304;

// A literal's bytes, NULs included, without its terminator.
template <std::size_t N> QByteArray bytes(const char (&literal)[N]) { return QByteArray(literal, N - 1); }

TEST(Ut3Protocol, Challenge)
{
    EXPECT_EQ(ut3::challengeRequest(kSession), QByteArray("\xFE\xFD\x09\x01\x02\x03\x04", 7));
    struct Case {
        QByteArray reply;
        std::optional<std::int32_t> challenge;
    };
    const Case cases[] = {
        {QByteArray("\x09\x01\x02\x03\x04", 5) + "12345678" + '\0', 12345678},
        {QByteArray("\x09\x01\x02\x03\x04", 5) + "-42" + '\0', -42},
        {QByteArray("\x09\x01\x02\x03\x04\0\0", 7), 0},                     // none needed
        {QByteArray("\x09\x09\x09\x09\x09", 5) + "1" + '\0', std::nullopt}, // another session
        {QByteArray("\x09\x01\x02\x03\x04", 5) + "12x" + '\0', std::nullopt},
        {QByteArray("\x09\x01", 2), std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ut3::challengeFrom(c.reply, kSession), c.challenge) << c.reply.toHex().constData();
    EXPECT_EQ(ut3::statusRequest(kSession, 0x0A0B0C0D),
              QByteArray("\xFE\xFD\x00\x01\x02\x03\x04\x0A\x0B\x0C\x0D\xFF\xFF\xFF\x01", 15));
}

fakeservers::Scenario warfare()
{
    fakeservers::Scenario s;
    s.protocol = fakeservers::Protocol::Ut3;
    s.name = QStringLiteral("Real Name Ü");
    s.map = QStringLiteral("WAR-Torlan");
    s.gameType = QStringLiteral("2");
    s.password = true;
    for (int i = 0; i < 20; ++i)
        s.players.push_back({QStringLiteral("玩家 %1").arg(i), 100 - i, 30 + i, i % 2});
    s.teams = {{"Red", 2}, {"Blue", 1}};
    return s;
}

QList<QByteArray> reply(const fakeservers::Scenario& s)
{
    return fakeservers::ut3Reply(s, ut3::statusRequest(kSession, s.challenge));
}

TEST(Ut3Protocol, SplitRepliesInEitherOrder)
{
    fakeservers::Scenario s = warfare();
    for (int split : {0, 300, 120}) {
        SCOPED_TRACE(split);
        s.splitSize = split;
        QList<QByteArray> packets = reply(s);
        if (split == 120) {
            ASSERT_GT(packets.size(), 4);
        }
        QList<QByteArray> reversed = packets;
        std::reverse(reversed.begin(), reversed.end());
        for (const QList<QByteArray>& order : {packets, reversed}) {
            ut3::Reply r(kSession);
            for (const QByteArray& p : order) {
                EXPECT_FALSE(r.complete());
                EXPECT_TRUE(r.add(p));
            }
            EXPECT_TRUE(r.complete());
            const ServerStatus st = r.status();
            EXPECT_FALSE(st.partial);
            EXPECT_EQ(st.name.plain(), QStringLiteral("Real Name Ü")); // not the owner's "hostname"
            EXPECT_EQ(st.map, QStringLiteral("WAR-Torlan"));
            EXPECT_EQ(st.gameType, QStringLiteral("Warfare"));
            EXPECT_EQ(st.password, true);
            ASSERT_EQ(st.players.size(), 20u);
            EXPECT_EQ(st.players[13].name.plain(), QStringLiteral("玩家 13"));
            EXPECT_EQ(st.players[13].score, 87);
            EXPECT_EQ(st.players[13].ping, 43);
            EXPECT_EQ(st.players[13].team, 1);
            ASSERT_EQ(st.teams.size(), 2u);
            EXPECT_EQ(st.teams[0].name, QStringLiteral("Red"));
        }
    }
}

TEST(Ut3Protocol, MissingPacketsAndOtherSessions)
{
    fakeservers::Scenario s = warfare();
    s.splitSize = 120;
    const QList<QByteArray> packets = reply(s);
    ut3::Reply r(kSession);
    for (qsizetype i = 0; i < packets.size(); ++i)
        if (i != 1)
            r.add(packets[i]);
    EXPECT_FALSE(r.complete());
    EXPECT_TRUE(r.status().partial);

    ut3::Reply other(0x0A0A0A0A);
    EXPECT_FALSE(other.add(packets[0]));
}

// Replies laid out byte for byte as real servers send them.
TEST(Ut3Protocol, RepliesAsRealServersSendThem)
{
    const QByteArray head = QByteArray("\x00\x01\x02\x03\x04", 5) + bytes("splitnum\0");
    // One player and two bots: every player column carries three values, the bots' empty.
    const QByteArray padded = head + bytes("\x80\x00hostname\0Owner\0p1073741827\0Padded\0numplayers\0003\0"
                                           "p1073741828\0Mut A\x1CMut B\0\0\x01"
                                           "player_\0\x00Sierra Vasquez\0\0\0\0score_\0\x00"
                                           "7\0\0\0\0ping_\0\x00"
                                           "48\0\0\0\0"
                                           "team_\0\x00"
                                           "1\0\0\0\0\0\x02team_t\0\x00Red\0Blue\0\0score_t\0\x00"
                                           "3\0"
                                           "1\0\0\0");
    // Three packets: the second begins among the server's keys, the third
    // inside the player columns, repeating each column's name and first row.
    const QList<QByteArray> split = {
        head + bytes("\x00\x00hostname\0Owner\0p1073741827\0Split\0"),
        head + bytes("\x01\x00p1073741825\0VCTF-Suspense\0numplayers\0003\0\0\x01"
                     "player_\0\x00"
                     "Alpha\0\0score_\0\x00"
                     "5\0\0\0"),
        head + bytes("\x82\x01player_\0\x01"
                     "Bravo\0Charlie\0\0score_\0\x01-2\0"
                     "9\0\0\0"
                     "\x02team_t\0\x00Red\0\0score_t\0\x00"
                     "4\0\0\0"),
    };
    const auto players = [](const ServerStatus& st) {
        std::vector<std::pair<QString, int>> seen;
        for (const Player& p : st.players)
            seen.emplace_back(p.name.plain(), p.score);
        return seen;
    };

    ut3::Reply one(kSession);
    ASSERT_TRUE(one.add(padded));
    const ServerStatus st = one.status();
    EXPECT_FALSE(st.partial);
    EXPECT_EQ(st.name.plain(), QStringLiteral("Padded"));
    ASSERT_EQ(st.players.size(), 1u); // the bots have no names
    EXPECT_EQ(st.players[0], (Player{RichText::fromPlain("Sierra Vasquez"), 7, 48, 1}));
    ASSERT_EQ(st.teams.size(), 2u);
    EXPECT_EQ(st.teams[1].name, QStringLiteral("Blue"));
    EXPECT_EQ(st.teams[1].score, 1);
    const auto mutators = std::find_if(st.rules.begin(), st.rules.end(),
                                       [](const auto& rule) { return rule.first == QLatin1String("custommutators"); });
    ASSERT_NE(mutators, st.rules.end());
    EXPECT_EQ(mutators->second, QStringLiteral("Mut A, Mut B"));

    // A packet cut inside a key leaves the reply partial.
    ut3::Reply cut(kSession);
    ASSERT_TRUE(cut.add(padded.left(padded.indexOf("numplayers") + 5)));
    EXPECT_TRUE(cut.status().partial);

    for (const bool reversed : {false, true}) {
        ut3::Reply r(kSession);
        for (qsizetype i = 0; i < split.size(); ++i)
            ASSERT_TRUE(r.add(split[reversed ? split.size() - 1 - i : i]));
        const ServerStatus got = r.status();
        EXPECT_FALSE(got.partial);
        EXPECT_EQ(got.name.plain(), QStringLiteral("Split"));
        EXPECT_EQ(got.map, QStringLiteral("VCTF-Suspense"));
        EXPECT_EQ(players(got), (std::vector<std::pair<QString, int>>{{"Alpha", 5}, {"Bravo", -2}, {"Charlie", 9}}));
        ASSERT_EQ(got.teams.size(), 1u);
        EXPECT_EQ(got.teams[0].score, 4);
        EXPECT_FALSE(std::any_of(got.rules.begin(), got.rules.end(),
                                 [](const auto& rule) { return rule.first.endsWith(QLatin1Char('_')); }));
    }
}

TEST(Ut3Protocol, HostileBytesNeverCrash)
{
    const QByteArray head = QByteArray("\x00\x01\x02\x03\x04", 5) + QByteArray("splitnum\0", 9);
    const QByteArray hostile[] = {
        head,
        head + "\x80",
        head + "\x80\x00",
        head + "\x80\x00" + "key",
        head + "\x80\x00" + bytes("k\0v\0\0\x01player_\0"),
        head + "\x80\x00" + bytes("\0\x01player_\0\xFF") + QByteArray(5000, 'x'),
        head + "\x80\x00" + QByteArray(3000, '\x01'),
        QByteArray(3, '\0'),
    };
    for (const QByteArray& bytes : hostile) {
        ut3::Reply r(kSession);
        r.add(bytes);
        r.add(bytes);
        const ServerStatus st = r.status();
        EXPECT_LE(st.players.size(), 5000u);
    }
    // Every prefix of a real packet.
    const QByteArray packet = reply(warfare()).front();
    for (qsizetype size = 0; size <= packet.size(); ++size) {
        ut3::Reply r(kSession);
        r.add(packet.left(size));
        (void)r.status();
    }
}

} // namespace
