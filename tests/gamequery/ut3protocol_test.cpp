#include "fakeservers/fakegameserver.h"
#include "gamequery/ut3protocol.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace gamequery;

constexpr std::uint32_t kSession = 0x01020304;

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
    const QByteArray session("\x01\x02\x03\x04", 4);
    QByteArray request = QByteArray("\xFE\xFD\x00", 3) + session;
    for (int shift = 24; shift >= 0; shift -= 8)
        request += static_cast<char>((static_cast<std::uint32_t>(s.challenge) >> shift) & 0xFF);
    return fakeservers::ut3Reply(s, request + QByteArray("\xFF\xFF\xFF\x01", 4));
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

// A literal's bytes, NULs included, without its terminator.
template <std::size_t N> QByteArray bytes(const char (&literal)[N])
{
    return QByteArray(literal, N - 1);
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
