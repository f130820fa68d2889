// Our parse of the fake servers against two query tools that no one here
// wrote: quakestat (qstat) and gamedig. Where a tool is known to get a thing
// wrong, that thing is left out of its comparison, and the test says so.

#include "fakeservers/fakegameserver.h"
#include "gamequery/queryclient.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QXmlStreamReader>

#include "support/qstringprinter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

using namespace gamequery;
using fakeservers::FakeGameServer;
using fakeservers::Protocol;
using fakeservers::Scenario;

struct Seen {
    QString name, map;
    int playerCount = -1;
    std::vector<std::pair<QString, int>> players; // name, score; sorted
};

QByteArray run(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    // The fake servers answer on this thread's event loop.
    while (process.state() != QProcess::NotRunning) {
        // waitForFinished is false, not true, once the event loop saw the end.
        if (!process.waitForFinished(10))
            QCoreApplication::processEvents();
    }
    return process.readAllStandardOutput();
}

Seen ours(const QueryRequest& request)
{
    QueryClient client;
    std::optional<QueryResult> result;
    QEventLoop loop;
    client.query(request, [&](const QueryResult& r) {
        result = r;
        loop.quit();
    });
    if (!result)
        loop.exec();
    Seen seen;
    if (!result->status)
        return seen;
    const ServerStatus& s = *result->status;
    seen = {s.name.plain(), s.map, s.playerCount, {}};
    for (const Player& p : s.players)
        seen.players.emplace_back(p.name.plain(), p.score);
    std::sort(seen.players.begin(), seen.players.end());
    return seen;
}

Seen quakestat(const QString& type, quint16 port)
{
    // quakestat reads its options before the server.
    const QByteArray xml = run(QStringLiteral("quakestat"), {"-noportoffset", "-R", "-P", "-xml", "-timeout", "3", type,
                                                             QStringLiteral("127.0.0.1:%1").arg(port)});
    Seen seen;
    QXmlStreamReader in(xml);
    QString element;
    std::pair<QString, int> player;
    bool inPlayer = false;
    while (!in.atEnd()) {
        in.readNext();
        if (in.isStartElement()) {
            element = in.name().toString();
            inPlayer = inPlayer || element == QLatin1String("player");
        } else if (in.isEndElement() && in.name() == QLatin1String("player")) {
            seen.players.push_back(player);
            inPlayer = false;
        } else if (in.isCharacters() && !in.isWhitespace()) {
            const QString text = in.text().toString();
            if (inPlayer && element == QLatin1String("name"))
                player.first = text;
            else if (inPlayer && element == QLatin1String("score"))
                player.second = text.toInt();
            else if (element == QLatin1String("name"))
                seen.name = text;
            else if (element == QLatin1String("map"))
                seen.map = text;
            else if (element == QLatin1String("numplayers"))
                seen.playerCount = text.toInt();
        }
    }
    std::sort(seen.players.begin(), seen.players.end());
    return seen;
}

QJsonObject gamedig(const QString& type, quint16 port)
{
    return QJsonDocument::fromJson(
               run(QStringLiteral(GAMEDIG_PATH), {"--type", type, "--host", "127.0.0.1", "--port",
                                                  QString::number(port), "--givenPortOnly", "--socketTimeout", "3000"}))
        .object();
}

std::vector<std::pair<QString, int>> gamedigPlayers(const QJsonObject& json, const char* scoreKey)
{
    std::vector<std::pair<QString, int>> players;
    for (const QJsonValue& p : json["players"].toArray())
        players.emplace_back(p["name"].toString(), p["raw"].toObject()[QLatin1String(scoreKey)].toVariant().toInt());
    std::sort(players.begin(), players.end());
    return players;
}

// Where a tool is known to read a thing wrong, that thing is left out of its
// comparison.
struct Weakness {
    bool asciiOnly = false;          // garbles non-ASCII names: such players are not compared
    bool namesOnly = false;          // players' scores are not compared
    bool playersInOrderOnly = false; // loses players whose keys come before numplayers
};

struct Tool {
    const char* type; // quakestat's option or gamedig's type
    Weakness weakness;
};

struct Case {
    const char* what;
    Game game;
    Scenario scenario;
    Tool quakestat, gamedig;
    const char* gamedigScore; // the raw key of a player's score
};

using Players = std::vector<std::pair<QString, int>>;

void compare(const Seen& theirs, const Seen& we, const Weakness& weakness, bool reversed)
{
    EXPECT_EQ(theirs.name, we.name);
    EXPECT_EQ(theirs.map, we.map);
    EXPECT_EQ(theirs.playerCount, we.playerCount);
    if (reversed && weakness.playersInOrderOnly)
        return;
    Players mine = we.players, seen = theirs.players;
    if (weakness.asciiOnly) {
        EXPECT_EQ(seen.size(), mine.size());
        std::erase_if(mine, [](const auto& p) {
            return std::any_of(p.first.begin(), p.first.end(), [](QChar c) { return c.unicode() > 127; });
        });
        std::erase_if(seen, [&](const auto& p) {
            return std::none_of(mine.begin(), mine.end(), [&](const auto& m) { return m.first == p.first; });
        });
    }
    if (weakness.namesOnly) {
        for (Players* players : {&mine, &seen})
            for (auto& p : *players)
                p.second = 0;
    }
    EXPECT_EQ(seen, mine);
}

Seen fromGamedig(const QJsonObject& json, const char* scoreKey)
{
    Seen seen;
    // UT3's name is its raw servername: gamedig shows the owner's "hostname".
    const QJsonValue servername = json["raw"].toObject()["servername"];
    seen.name = servername.isString() ? servername.toString() : json["name"].toString();
    seen.map = json["map"].toString();
    seen.playerCount = json["numplayers"].toInt();
    seen.players = gamedigPlayers(json, scoreKey);
    return seen;
}

Scenario scenario(Protocol protocol, std::vector<fakeservers::FakePlayer> players, int splitSize = 0, int uncounted = 0)
{
    Scenario s;
    s.protocol = protocol;
    s.name = QStringLiteral("Cross Check Server");
    s.map = protocol == Protocol::Ut3 ? QStringLiteral("WAR-Torlan") : QStringLiteral("DM-Deck16][");
    s.players = std::move(players);
    s.splitSize = splitSize;
    s.uncounted = uncounted;
    return s;
}

const std::vector<fakeservers::FakePlayer> kFew = {
    {"Alpha", 12, 40, -1}, {"Bravo", -4, 55, -1}, {"Charlie", 30, 70, -1}};

// Eleven players, one non-ASCII, and bots where asked.
std::vector<fakeservers::FakePlayer> many(bool bots)
{
    std::vector<fakeservers::FakePlayer> players = kFew;
    for (const char* name : {"Delta", "Echo", "Foxtrot", "Golf", "Hotel", "India", "Juliett", "Zoë"})
        players.push_back({QString::fromUtf8(name), static_cast<int>(std::strlen(name)), 20, 1});
    if (bots) // UT3 pads every player column with the bots' empty values
        players.insert(players.end(), 2, fakeservers::FakePlayer{});
    return players;
}

std::vector<Case> cases()
{
    const Tool ut99Qstat{"-uns", {.asciiOnly = true, .playersInOrderOnly = true}}, ut99Dig{"unrealtournament", {}};
    const Tool ut2004Qstat{"-ut2004s", {.asciiOnly = true}}, ut2004Dig{"unrealtournament2004", {}};
    const Tool ut3Qstat{"-ut3s", {.asciiOnly = true}}, ut3Dig{"unrealtournament3", {}};
    // quakestat takes the scores of rows padded for bots for rules.
    const Tool paddedQstat{"-ut3s", {.asciiOnly = true, .namesOnly = true}};
    return {
        {"UT99, one packet", Game::UT99, scenario(Protocol::Ut99Text, kFew), ut99Qstat, ut99Dig, "frags"},
        {"UT99, players over several packets", Game::UT99, scenario(Protocol::Ut99Text, many(false), 400), ut99Qstat,
         ut99Dig, "frags"},
        // gamedig takes team-flagged records for team scores, so these players have no team.
        {"UT2004, one packet", Game::UT2004, scenario(Protocol::Ut2004Binary, kFew), ut2004Qstat, ut2004Dig, "score"},
        {"UT2004, players over several packets, a spectator past the count", Game::UT2004,
         scenario(Protocol::Ut2004Binary, many(false), 150, 1), ut2004Qstat, ut2004Dig, "score"},
        {"UT3, one packet", Game::UT3, scenario(Protocol::Ut3, many(false)), ut3Qstat, ut3Dig, "score"},
        {"UT3, columns over several packets with bots", Game::UT3, scenario(Protocol::Ut3, many(true), 200),
         paddedQstat, ut3Dig, "score"},
    };
}

class CrossCheck : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QProcess::execute(QStringLiteral("quakestat"), {"-h"}) < 0)
            GTEST_SKIP() << "quakestat is not installed (Debian package qstat)";
    }
};

TEST_F(CrossCheck, EveryLayoutOfTheFakesReadsAlikeInBothTools)
{
    for (const Case& c : cases()) {
        for (const bool reversed : {false, true}) {
            SCOPED_TRACE(std::string(c.what) + (reversed ? ", last packet first" : ""));
            Scenario s = c.scenario;
            s.reverseOrder = reversed;
            FakeGameServer server(s);
            const Seen we = ours({c.game, QStringLiteral("127.0.0.1"), server.port(), true, 1000});
            ASSERT_EQ(we.playerCount, static_cast<int>(s.players.size()) - s.uncounted);
            ASSERT_EQ(we.players.size(), static_cast<std::size_t>(std::count_if(
                                             s.players.begin(), s.players.end(),
                                             [](const fakeservers::FakePlayer& p) { return !p.name.isEmpty(); })));
            {
                SCOPED_TRACE("quakestat");
                compare(quakestat(QLatin1String(c.quakestat.type), server.port()), we, c.quakestat.weakness, reversed);
            }
            SCOPED_TRACE("gamedig");
            compare(fromGamedig(gamedig(QLatin1String(c.gamedig.type), server.port()), c.gamedigScore), we,
                    c.gamedig.weakness, reversed);
            if (c.scenario.splitSize == 0)
                break; // one packet has one order
        }
    }
}

} // namespace
