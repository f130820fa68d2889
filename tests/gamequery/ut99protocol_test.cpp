#include "fakeservers/fakegameserver.h"
#include "gamequery/ut99protocol.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace gamequery;

fakeservers::Scenario teamGame()
{
    fakeservers::Scenario s;
    s.name = QStringLiteral("Señor's Server");
    s.players = {{"Alpha", 10, 40, 0}, {"Bravo", -3, 55, 1}, {"Café", 7, 999, 0}};
    s.teams = {{"Red", 12}, {"Blue", 4.5}};
    s.rules = {{"AdminEMail", "admin\\mail@example.org"}, {"timelimit", "20"}};
    return s;
}

TEST(Ut99Protocol, PairsKeepBackslashesOfTheAdminsEmail)
{
    const auto pairs = ut99::parsePairs("\\AdminEMail\\a\\b@example.org\\password\\False\\mutators\\A\\B, C\\final\\");
    ASSERT_EQ(pairs.size(), 4u);
    EXPECT_EQ(pairs[0], (std::pair<QString, QString>{"AdminEMail", "a\\b@example.org"}));
    EXPECT_EQ(pairs[1], (std::pair<QString, QString>{"password", "False"}));
    EXPECT_EQ(pairs[2], (std::pair<QString, QString>{"mutators", "A\\B, C"}));
    EXPECT_EQ(pairs[3].first, QStringLiteral("final"));
}

TEST(Ut99Protocol, AReplyInAnyPacketOrderGivesTheSameStatus)
{
    fakeservers::Scenario s = teamGame();
    for (int split : {0, 200, 60}) { // one packet, a few, one chunk each
        SCOPED_TRACE(split);
        s.splitSize = split;
        const QList<QByteArray> packets = fakeservers::ut99Reply(s, "\\status\\", 7);
        const QList<QByteArray> teams = fakeservers::ut99Reply(s, "\\teams\\", 8);
        if (split == 60) {
            ASSERT_GT(packets.size(), 3);
        }
        QList<QByteArray> reversed = packets;
        std::reverse(reversed.begin(), reversed.end());
        for (const QList<QByteArray>& order : {packets, reversed}) {
            ut99::Reply status, teamReply;
            for (qsizetype i = 0; i < order.size(); ++i) {
                EXPECT_FALSE(status.complete());
                ASSERT_TRUE(status.add(order[i]));
            }
            EXPECT_TRUE(status.complete());
            for (const QByteArray& p : teams)
                teamReply.add(p);
            const ServerStatus st = ut99::statusFrom(status, &teamReply);
            EXPECT_FALSE(st.partial);
            EXPECT_EQ(st.name.plain(), QStringLiteral("Señor's Server"));
            EXPECT_EQ(st.playerCount, 3);
            ASSERT_EQ(st.players.size(), 3u);
            EXPECT_EQ(st.players[1].name.plain(), QStringLiteral("Bravo"));
            EXPECT_EQ(st.players[1].score, -3);
            EXPECT_EQ(st.players[1].team, 1);
            EXPECT_EQ(st.players[2].name.plain(), QStringLiteral("Café"));
            EXPECT_EQ(st.password, false);
            ASSERT_EQ(st.teams.size(), 2u);
            EXPECT_EQ(st.teams[1].name, QStringLiteral("Blue"));
            EXPECT_DOUBLE_EQ(st.teams[1].score, 4.5);
            EXPECT_EQ(st.teams[0].size, 2);
            const auto admin = std::find_if(st.rules.begin(), st.rules.end(),
                                            [](const auto& r) { return r.first == QLatin1String("AdminEMail"); });
            ASSERT_NE(admin, st.rules.end());
            EXPECT_EQ(admin->second, QStringLiteral("admin\\mail@example.org"));
        }
    }
}

TEST(Ut99Protocol, AMissingPartLeavesThePartialReplyShown)
{
    fakeservers::Scenario s = teamGame();
    s.splitSize = 60;
    const QList<QByteArray> packets = fakeservers::ut99Reply(s, "\\status\\", 3);
    ut99::Reply status;
    for (qsizetype i = 0; i < packets.size(); ++i) {
        if (i != packets.size() - 2) // a player's part
            status.add(packets[i]);
    }
    EXPECT_FALSE(status.complete());
    const ServerStatus st = ut99::statusFrom(status, nullptr);
    EXPECT_TRUE(st.partial);
    EXPECT_EQ(st.name.plain(), QStringLiteral("Señor's Server"));
    EXPECT_EQ(st.players.size(), 2u);
}

TEST(Ut99Protocol, NoTeamsInAGameWithoutThem)
{
    fakeservers::Scenario s = teamGame();
    s.teams.clear();
    s.players[0].team = -1;
    ut99::Reply status, teams;
    for (const QByteArray& p : fakeservers::ut99Reply(s, "\\status\\", 1))
        status.add(p);
    for (const QByteArray& p : fakeservers::ut99Reply(s, "\\teams\\", 2))
        teams.add(p);
    EXPECT_TRUE(teams.complete()); // just "\queryid\2.1\final\"
    const ServerStatus st = ut99::statusFrom(status, &teams);
    EXPECT_TRUE(st.teams.empty());
    EXPECT_FALSE(st.players[0].team.has_value()); // 255: no team
}

TEST(Ut99Protocol, HostileBytesNeverCrash)
{
    const QByteArray hostile[] = {"",
                                  "\\",
                                  "\\\\\\\\",
                                  "\\queryid\\",
                                  "\\queryid\\x.y\\final\\",
                                  "\\queryid\\1.-5\\final\\",
                                  "\\player_99999999999\\x\\numplayers\\-4",
                                  QByteArray(70000, '\\'),
                                  "no backslash at all",
                                  "\\final"};
    for (const QByteArray& bytes : hostile) {
        ut99::Reply reply;
        reply.add(bytes);
        EXPECT_LE(ut99::statusFrom(reply, &reply).players.size(), 1u); // no packet here names two players
    }
}

} // namespace
