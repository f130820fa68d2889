// Each game's session fed the fake servers' replies packet by packet, without
// sockets: every layout the fakes write is one that quakestat and gamedig
// read alike (see the cross-check).

#include "fakeservers/fakegameserver.h"
#include "gamequery/session.h"
#include "gamequery/ut2004protocol.h"
#include "gamequery/ut3protocol.h"
#include "gamequery/ut99protocol.h"
#include "support/qstringprinter.h"

#include <gtest/gtest.h>

namespace {

using namespace gamequery;
using fakeservers::Protocol;
using fakeservers::Scenario;
using Progress = Session::Progress;

constexpr quint16 kPort = 7778;
constexpr std::uint32_t kSession = 0x01020304;

struct Heard {
    Progress progress = Progress::Pending;
    int packets = 0;
    ServerStatus status;
};

// Sends the session's requests to the scenario and hands it each answer whose
// index keep() allows, again after a challenge.
Heard converse(
    Game game, const Scenario& s, const std::function<bool(int)>& keep = [](int) { return true; })
{
    const auto session = makeSession(gameInfo(game).protocol, kPort, 0, kSession);
    Heard heard;
    int queryId = 0;
    for (int round = 0; round < 2; ++round) {
        for (const Outgoing& request : session->requests(1)) {
            for (const QByteArray& packet : fakeservers::reply(s, request.bytes, ++queryId)) {
                if (keep(heard.packets++))
                    heard.progress = session->receive(kPort, packet);
            }
        }
        if (heard.progress != Progress::ReplyNeeded)
            break;
    }
    if (session->hasStatus())
        heard.status = session->status();
    return heard;
}

struct Case {
    Game game;
    Protocol protocol;
    const char* foreignName; // in the game's own encoding
    bool teams;
    int uncounted;
    Progress whole; // the last packet's verdict: UT2004 waits a short silence for records past its count
};

const Case kCases[] = {
    {Game::UT99, Protocol::Ut99Text, "Café", true, 0, Progress::Done},
    {Game::UT99, Protocol::Ut99Text, "Señor", false, 0, Progress::Done},
    {Game::UT2004, Protocol::Ut2004Binary, "Игрок", false, 1, Progress::Pending},
    {Game::UT3, Protocol::Ut3, "玩家", true, 0, Progress::Done},
};

// UT99 scores teams in fractions, UT3 in whole numbers.
double blueScore(const Case& c) { return c.game == Game::UT99 ? 4.5 : 4; }

Scenario scenarioOf(const Case& c, int splitSize)
{
    const QString foreign = QString::fromUtf8(c.foreignName);
    Scenario s{.protocol = c.protocol,
               .name = QStringLiteral("Server of ") + foreign,
               .map = QStringLiteral("CTF-Face"),
               .password = c.teams || c.game == Game::UT2004, // either way, in some game
               .players = {{"Alpha", 10, 40, c.teams ? 0 : -1}, {"Bravo", -3, 55, c.teams ? 1 : -1}},
               .uncounted = c.uncounted,
               .rules = {{"AdminEMail", "admin\\mail@example.org"}},
               .splitSize = splitSize};
    for (int i = 0; i < 10; ++i)
        s.players.push_back({foreign + QString::number(i), i, 60 + i, c.teams ? i % 2 : -1});
    if (c.teams)
        s.teams = {{"Red", 12}, {"Blue", blueScore(c)}};
    return s;
}

TEST(Replies, EveryGameSplitAndOrderGivesTheWholeStatus)
{
    for (const Case& c : kCases) {
        for (const int split : {0, 100}) {
            for (const bool reversed : {false, true}) {
                SCOPED_TRACE(QStringLiteral("%1, split %2%3")
                                 .arg(QString::fromUtf8(c.foreignName))
                                 .arg(split)
                                 .arg(reversed ? ", last first" : "")
                                 .toStdString());
                Scenario s = scenarioOf(c, split);
                s.reverseOrder = reversed;
                const Heard heard = converse(c.game, s);
                EXPECT_EQ(heard.progress, c.whole);
                EXPECT_GT(heard.packets, split ? 5 : 1);
                const ServerStatus& st = heard.status;
                EXPECT_FALSE(st.partial);
                EXPECT_EQ(st.name.plain(), s.name);
                EXPECT_EQ(st.map, s.map);
                EXPECT_EQ(st.password, s.password);
                EXPECT_EQ(st.playerCount, 12 - c.uncounted);
                ASSERT_EQ(st.players.size(), 12u);
                for (std::size_t i = 0; i < 12; ++i) {
                    const auto& p = s.players[i];
                    EXPECT_EQ(st.players[i], (Player{RichText::fromPlain(p.name), p.score, p.ping,
                                                     p.team < 0 ? std::nullopt : std::optional<int>(p.team)}));
                }
                using Teams = std::vector<std::pair<QString, double>>;
                Teams teams;
                for (const Team& t : st.teams)
                    teams.emplace_back(t.name, t.score);
                EXPECT_EQ(teams, (c.teams ? Teams{{"Red", 12}, {"Blue", blueScore(c)}} : Teams{}));
                if (c.game == Game::UT99) {
                    EXPECT_EQ(st.teams.empty() ? 0 : *st.teams[0].size, c.teams ? 6 : 0);
                }
                if (c.game != Game::UT3) { // UT3 lists no rules of the admin's
                    const auto admin = std::find(st.rules.begin(), st.rules.end(),
                                                 std::pair<QString, QString>{"AdminEMail", "admin\\mail@example.org"});
                    EXPECT_NE(admin, st.rules.end());
                }
            }
        }
    }
}

TEST(Replies, AMissingPacketLeavesWhatCameShownAsPartial)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.foreignName);
        const Scenario s = scenarioOf(c, 100);
        const Heard heard = converse(c.game, s, [](int i) { return i != 3; });
        EXPECT_NE(heard.progress, Progress::Done);
        EXPECT_TRUE(heard.status.partial);
        EXPECT_EQ(heard.status.name.plain(), s.name);
        EXPECT_LT(heard.status.players.size(), 12u);
    }
}

TEST(Ut2004Protocol, CompactIndexesStringsAndColours)
{
    const std::pair<std::int32_t, QByteArray> indexes[] = {
        {0, QByteArray(1, '\0')},
        {63, "\x3F"},
        {71, "\x47\x01"},
        {-70, "\xC6\x01"},
        {INT32_MAX, "\x7F\xFF\xFF\xFF\x0F"},
    };
    for (const auto& [value, bytes] : indexes) {
        EXPECT_EQ(ut2004::compactIndex(value), bytes) << value;
        ut2004::Reader in(bytes);
        EXPECT_EQ(in.index(), value);
        EXPECT_TRUE(in.atEnd());
    }
    for (const QByteArray& none :
         {QByteArray("\x7F\xFF\xFF\xFF\xFF\x01", 6), QByteArray("\x41\x80\x80\x80\x80\x00", 6), QByteArray("\x40", 1)})
        EXPECT_EQ(ut2004::Reader(none).index(), std::nullopt) << none.toHex().constData();

    const std::pair<QByteArray, std::optional<QString>> strings[] = {
        {QByteArray(1, '\0'), QString()},
        {QByteArray("\x01\0", 2), QString()}, // empty, as servers send it: the NUL alone
        {QByteArray("\x05") + "Caf\xE9" + '\0', QStringLiteral("Café")},
        {QByteArray("\x83") + QByteArray("\x1F\x04\x40\x04\0\0", 6), QStringLiteral("Пр")},
        {QByteArray("\x10") + "abc", std::nullopt},
        {QByteArray("\x85") + "ab", std::nullopt},
        {QByteArray("\xFF\xFF\xFF\xFF\x07", 5), std::nullopt},
    };
    for (const auto& [bytes, plain] : strings) {
        ut2004::Reader in(bytes);
        const auto text = in.string();
        EXPECT_EQ(text ? std::optional<QString>(text->plain()) : std::nullopt, plain) << bytes.toHex().constData();
    }
    const RichText coloured =
        ut2004::colouredText(QString(QChar(0x1B)) + QChar(0xFF) + QChar(1) + QChar(1) + "Red" + QChar(0x1B) + QChar(1) +
                             QChar(0x80) + QChar(0xFF) + "Sky" + QChar(0x1B) + QChar(5));
    EXPECT_EQ(coloured.runs, (std::vector<RichText::Run>{{Colour{255, 0, 0}, "Red"}, {Colour{0, 128, 255}, "Sky"}}));
    EXPECT_TRUE(ut2004::packets(ut2004::Players, {}, 450).isEmpty()); // no players: no packet at all, as servers do
}

// A literal's bytes, NULs included, without its terminator.
template <std::size_t N> QByteArray bytes(const char (&literal)[N]) { return QByteArray(literal, N - 1); }

TEST(Ut3Protocol, ChallengeAsRealServersSendIt)
{
    EXPECT_EQ(ut3::challengeRequest(kSession), bytes("\xFE\xFD\x09\x01\x02\x03\x04"));
    const QByteArray head = bytes("\x09\x01\x02\x03\x04");
    const std::pair<QByteArray, std::optional<std::int32_t>> cases[] = {
        {head + bytes("12345678\0"), 12345678},
        {head + bytes("-42\0"), -42},
        {head + bytes("\0\0"), 0},
        {bytes("\x09\x09\x09\x09\x09"
               "1\0"),
         std::nullopt},
        {head + bytes("12x\0"), std::nullopt},
        {bytes("\x09\x01"), std::nullopt},
    };
    for (const auto& [reply, challenge] : cases)
        EXPECT_EQ(ut3::challengeFrom(reply, kSession), challenge) << reply.toHex().constData();
    EXPECT_EQ(ut3::statusRequest(kSession, 0x0A0B0C0D),
              bytes("\xFE\xFD\x00\x01\x02\x03\x04\x0A\x0B\x0C\x0D\xFF\xFF\xFF\x01"));
}

// Replies laid out byte for byte as real servers send them.
TEST(Ut3Protocol, RepliesAsRealServersSendThem)
{
    const QByteArray head = bytes("\x00\x01\x02\x03\x04splitnum\0");
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
    ut3::Reply one(kSession);
    ASSERT_TRUE(one.add(padded));
    const ServerStatus st = one.status();
    EXPECT_FALSE(st.partial);
    EXPECT_EQ(st.name.plain(), QStringLiteral("Padded")); // not the owner's "hostname"
    EXPECT_EQ(st.players, (std::vector<Player>{{RichText::fromPlain("Sierra Vasquez"), 7, 48, 1}}));
    EXPECT_EQ(st.teams, (std::vector<Team>{{"Red", 3, std::nullopt}, {"Blue", 1, std::nullopt}}));
    EXPECT_NE(
        std::find(st.rules.begin(), st.rules.end(), std::pair<QString, QString>{"custommutators", "Mut A, Mut B"}),
        st.rules.end());
    ut3::Reply cut(kSession); // a packet cut inside a key
    ASSERT_TRUE(cut.add(padded.left(padded.indexOf("numplayers") + 5)));
    EXPECT_TRUE(cut.status().partial);

    // Three packets: the second begins among the server's keys, the third
    // inside the player columns, repeating each column's name and first row.
    const QList<QByteArray> split = {
        head + bytes("\x00\x00hostname\0Owner\0p1073741827\0Split\0"),
        head + bytes("\x01\x00p1073741825\0VCTF-Suspense\0numplayers\0003\0\0\x01player_\0\x00"
                     "Alpha\0\0score_\0\x00"
                     "5\0\0\0"),
        head + bytes("\x82\x01player_\0\x01"
                     "Bravo\0Charlie\0\0score_\0\x01-2\0"
                     "9\0\0\0\x02team_t\0\x00Red\0\0score_t\0\x00"
                     "4\0\0\0"),
    };
    for (const bool reversed : {false, true}) {
        ut3::Reply r(kSession);
        for (qsizetype i = 0; i < split.size(); ++i)
            ASSERT_TRUE(r.add(split[reversed ? split.size() - 1 - i : i]));
        const ServerStatus got = r.status();
        EXPECT_FALSE(got.partial);
        EXPECT_EQ(got.map, QStringLiteral("VCTF-Suspense"));
        std::vector<std::pair<QString, int>> players;
        for (const Player& p : got.players)
            players.emplace_back(p.name.plain(), p.score);
        EXPECT_EQ(players, (std::vector<std::pair<QString, int>>{{"Alpha", 5}, {"Bravo", -2}, {"Charlie", 9}}));
        EXPECT_EQ(got.teams, (std::vector<Team>{{"Red", 4, std::nullopt}}));
        EXPECT_FALSE(std::any_of(got.rules.begin(), got.rules.end(),
                                 [](const auto& rule) { return rule.first.endsWith(QLatin1Char('_')); }));
    }
    EXPECT_FALSE(ut3::Reply(0x0A0A0A0A).add(split[0])); // another session's
}

} // namespace
