// Our parse of the fake servers against two query tools that no one here
// wrote: quakestat (qstat) and gamedig. Where a tool is known to read a thing
// wrong, that thing is left out of its comparison, and the table says so.

#include "fakeservers/fakegameserver.h"
#include "gamequery/queryclient.h"
#include "support/eventloop.h"
#include "support/qstringprinter.h"
#include "support/realpart.h"
#include "support/udppeers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace gamequery;
using fakeservers::FakePlayer;
using fakeservers::Protocol;
using fakeservers::Scenario;
using Players = std::vector<std::pair<QString, int>>; // name, score; sorted

struct Seen {
    QString name, map;
    int playerCount = -1;
    Players players;
};

Seen ours(Game game, quint16 port)
{
    QueryClient client;
    const QueryResult result = ask(client, {game, QStringLiteral("127.0.0.1"), port, true, 1000});
    if (!result.status)
        return {};
    Seen seen{result.status->name.plain(), result.status->map, result.status->playerCount, {}};
    for (const Player& p : result.status->players)
        seen.players.emplace_back(p.name.plain(), p.score);
    return seen;
}

// The tools' JSON: quakestat lists one server; gamedig keeps scores and
// UT3's own server name among the raw values.
Seen fromJson(const QJsonObject& server, const QString& scoreKey)
{
    const QJsonObject raw = server["raw"].toObject();
    Seen seen{raw["servername"].isString() ? raw["servername"].toString() : server["name"].toString(),
              server["map"].toString(),
              server["numplayers"].toInt(),
              {}};
    for (const QJsonValue& p : server["players"].toArray()) {
        const QJsonValue score = p[scoreKey].isUndefined() ? p["raw"].toObject()[scoreKey] : p[scoreKey];
        seen.players.emplace_back(p["name"].toString(), score.toVariant().toInt());
    }
    return seen;
}

// Asked again once when quakestat heard nothing: a UDP tool may miss an answer;
// what it parses is what is compared.
Seen quakestat(const char* type, quint16 port)
{
    QJsonObject server;
    for (int attempt = 0; attempt < 2 && server["status"].toString() != QLatin1String("online"); ++attempt)
        server = QJsonDocument::fromJson(runServing(QStringLiteral("quakestat"),
                                                    {"-noportoffset", "-R", "-P", "-json", "-timeout", "3",
                                                     QLatin1String(type), QStringLiteral("127.0.0.1:%1").arg(port)})
                                             .out)
                     .array()
                     .first()
                     .toObject();
    EXPECT_EQ(server["status"].toString(), QLatin1String("online"));
    return fromJson(server, QStringLiteral("score"));
}

Seen gamedig(const char* type, quint16 port)
{
    const QByteArray json =
        runServing(QStringLiteral(GAMEDIG_PATH), {"--type", QLatin1String(type), "--host", "127.0.0.1", "--port",
                                                  QString::number(port), "--givenPortOnly", "--socketTimeout", "3000"})
            .out;
    const bool ut99 = QLatin1String(type) == QLatin1String("unrealtournament");
    return fromJson(QJsonDocument::fromJson(json).object(), ut99 ? QStringLiteral("frags") : QStringLiteral("score"));
}

// What a tool is known to read wrong, left out of its comparison. quakestat
// also garbles non-ASCII names: such players are not compared in its reading.
enum Weakness {
    None = 0,
    NamesOnly = 1,          // players' scores are not compared
    PlayersInOrderOnly = 2, // loses players whose keys come before numplayers
};

void compare(const char* tool, Seen theirs, Seen we, int weakness, bool reversed)
{
    SCOPED_TRACE(tool);
    EXPECT_EQ(theirs.name, we.name);
    EXPECT_EQ(theirs.map, we.map);
    EXPECT_EQ(theirs.playerCount, we.playerCount);
    if (reversed && (weakness & PlayersInOrderOnly))
        return;
    if (QLatin1String(tool) == QLatin1String("quakestat")) {
        EXPECT_EQ(theirs.players.size(), we.players.size());
        std::erase_if(we.players, [](const auto& p) {
            return std::any_of(p.first.begin(), p.first.end(), [](QChar c) { return c.unicode() > 127; });
        });
        std::erase_if(theirs.players, [&](const auto& p) {
            return std::none_of(we.players.begin(), we.players.end(),
                                [&](const auto& m) { return m.first == p.first; });
        });
    }
    for (Players* players : {&we.players, &theirs.players}) {
        std::sort(players->begin(), players->end());
        if (weakness & NamesOnly)
            std::for_each(players->begin(), players->end(), [](auto& p) { p.second = 0; });
    }
    EXPECT_EQ(theirs.players, we.players);
}

// Three players, or eleven with one non-ASCII name, and two bots where asked
// (UT3 pads every player column with the bots' empty values).
std::vector<FakePlayer> players(bool many, bool bots = false)
{
    std::vector<FakePlayer> all = {{"Alpha", 12, 40, -1}, {"Bravo", -4, 55, -1}, {"Charlie", 30, 70, -1}};
    if (many) {
        for (const char* name : {"Delta", "Echo", "Foxtrot", "Golf", "Hotel", "India", "Juliett", "Zoë"})
            all.push_back({QString::fromUtf8(name), static_cast<int>(qstrlen(name)), 20, 1});
    }
    if (bots)
        all.insert(all.end(), 2, FakePlayer{});
    return all;
}

TEST(CrossCheck, EveryLayoutOfTheFakesReadsAlikeInBothTools)
{
    if (QStandardPaths::findExecutable(QStringLiteral("quakestat")).isEmpty())
        SKIP_REAL_PART("quakestat is not installed (Debian package qstat)");
    // Each game's protocol, and its type in quakestat and in gamedig.
    const std::tuple<Protocol, const char*, const char*> games[] = {
        {Protocol::Ut99Text, "-uns", "unrealtournament"},
        {Protocol::Ut2004Binary, "-ut2004s", "unrealtournament2004"},
        {Protocol::Ut3, "-ut3s", "unrealtournament3"}};
    const std::tuple<const char*, Game, std::vector<FakePlayer>, int, int, int> cases[] = {
        // what, game, players, split size, uncounted, quakestat's weakness
        {"UT99, one packet", Game::UT99, players(false), 0, 0, PlayersInOrderOnly},
        {"UT99, players over several packets", Game::UT99, players(true), 400, 0, PlayersInOrderOnly},
        // gamedig takes team-flagged records for team scores, so these players have no team.
        {"UT2004, one packet", Game::UT2004, players(false), 0, 0, None},
        {"UT2004, players over several packets, a spectator past the count", Game::UT2004, players(true), 150, 1, None},
        {"UT3, one packet", Game::UT3, players(true), 0, 0, None},
        // quakestat takes the scores of rows padded for bots for rules.
        {"UT3, columns over several packets with bots", Game::UT3, players(true, true), 200, 0, NamesOnly},
    };
    for (const auto& [what, game, players, splitSize, uncounted, weakness] : cases) {
        for (const bool reversed : {false, true}) {
            SCOPED_TRACE(std::string(what) + (reversed ? ", last packet first" : ""));
            const auto [protocol, quakestatType, gamedigType] = games[static_cast<int>(game)];
            const Scenario s{.protocol = protocol,
                             .name = QStringLiteral("Cross Check Server"),
                             .map = game == Game::UT3 ? QStringLiteral("WAR-Torlan") : QStringLiteral("DM-Deck16]["),
                             .players = players,
                             .uncounted = uncounted,
                             .splitSize = splitSize,
                             .reverseOrder = reversed};
            fakeservers::FakeGameServer server(s);
            const Seen we = ours(game, server.port());
            compare("quakestat", quakestat(quakestatType, server.port()), we, weakness, reversed);
            compare("gamedig", gamedig(gamedigType, server.port()), we, None, reversed);
            if (splitSize == 0)
                break; // one packet has one order
        }
    }
}

} // namespace
