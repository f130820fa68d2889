// Our parse of the fake servers against two query tools that no one here
// wrote: quakestat (qstat) and gamedig. Where a tool is known to get a thing
// wrong, that thing is left out of its comparison, and the test says so.

#include "fakeservers/fakegameserver.h"
#include "gamequery/queryclient.h"
#include "gamequery/ut3protocol.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QXmlStreamReader>

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

Scenario ascii(Protocol protocol)
{
    Scenario s;
    s.protocol = protocol;
    s.name = QStringLiteral("Cross Check Server");
    s.map = protocol == Protocol::Ut3 ? QStringLiteral("WAR-Torlan") : QStringLiteral("DM-Deck16][");
    s.players = {{"Alpha", 12, 40, -1}, {"Bravo", -4, 55, -1}, {"Charlie", 30, 70, -1}};
    return s;
}

class CrossCheck : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QProcess::execute(QStringLiteral("quakestat"), {"-h"}) < 0)
            GTEST_SKIP() << "quakestat is not installed (Debian package qstat)";
    }
};

TEST_F(CrossCheck, Ut99)
{
    FakeGameServer server(ascii(Protocol::Ut99Text));
    QueryRequest request{Game::UT99, QStringLiteral("127.0.0.1"), server.port(), true, 1000};
    const Seen we = ours(request);
    ASSERT_EQ(we.playerCount, 3);

    const Seen qstat = quakestat(QStringLiteral("-uns"), server.port());
    EXPECT_EQ(qstat.name, we.name);
    EXPECT_EQ(qstat.map, we.map);
    EXPECT_EQ(qstat.playerCount, we.playerCount);
    EXPECT_EQ(qstat.players, we.players); // qstat lists them in reverse; both are sorted here

    const QJsonObject dig = gamedig(QStringLiteral("unrealtournament"), server.port());
    EXPECT_EQ(dig["name"].toString(), we.name);
    EXPECT_EQ(dig["map"].toString(), we.map);
    EXPECT_EQ(dig["numplayers"].toInt(), we.playerCount);
    EXPECT_EQ(gamedigPlayers(dig, "frags"), we.players);
}

TEST_F(CrossCheck, Ut2004)
{
    FakeGameServer server(ascii(Protocol::Ut2004Binary));
    QueryRequest request{Game::UT2004, QStringLiteral("127.0.0.1"), server.port(), true, 1000};
    const Seen we = ours(request);
    ASSERT_EQ(we.playerCount, 3);

    const Seen qstat = quakestat(QStringLiteral("-ut2004s"), server.port());
    EXPECT_EQ(qstat.name, we.name);
    EXPECT_EQ(qstat.map, we.map);
    EXPECT_EQ(qstat.playerCount, we.playerCount);
    EXPECT_EQ(qstat.players, we.players);

    // gamedig takes team-flagged records for team scores, so these players have no team.
    const QJsonObject dig = gamedig(QStringLiteral("unrealtournament2004"), server.port());
    EXPECT_EQ(dig["name"].toString(), we.name);
    EXPECT_EQ(dig["map"].toString(), we.map);
    EXPECT_EQ(dig["numplayers"].toInt(), we.playerCount);
    EXPECT_EQ(gamedigPlayers(dig, "score"), we.players);
}

TEST_F(CrossCheck, Ut3)
{
    Scenario s = ascii(Protocol::Ut3);
    s.players.back().name = QStringLiteral("Zoë"); // both tools read UTF-8 as Latin-1: not compared
    FakeGameServer server(s);
    QueryRequest request{Game::UT3, QStringLiteral("127.0.0.1"), server.port(), true, 1000};
    Seen we = ours(request);
    ASSERT_EQ(we.playerCount, 3);
    EXPECT_TRUE(std::any_of(we.players.begin(), we.players.end(),
                            [](const auto& p) { return p.first == QStringLiteral("Zoë"); }));
    std::erase_if(we.players, [](const auto& p) { return p.first == QStringLiteral("Zoë"); });
    const auto withoutTheNonAscii = [](std::vector<std::pair<QString, int>> players) {
        std::erase_if(players, [](const auto& p) { return p.first.startsWith(QLatin1String("Zo")); });
        return players;
    };

    const Seen qstat = quakestat(QStringLiteral("-ut3s"), server.port());
    EXPECT_EQ(qstat.map, we.map);
    EXPECT_EQ(qstat.playerCount, we.playerCount);
    EXPECT_EQ(withoutTheNonAscii(qstat.players), we.players);

    // gamedig shows the owner's "hostname" as the name; the real one is its raw servername.
    const QJsonObject dig = gamedig(QStringLiteral("unrealtournament3"), server.port());
    EXPECT_EQ(dig["raw"].toObject()["servername"].toString(), we.name);
    EXPECT_EQ(dig["map"].toString(), we.map);
    EXPECT_EQ(dig["numplayers"].toInt(), we.playerCount);
    EXPECT_EQ(withoutTheNonAscii(gamedigPlayers(dig, "score")), we.players);
}

// Player and team columns split over several packets, in either order, with
// two bots padding every player column as real servers do.
TEST_F(CrossCheck, Ut3SplitAcrossPackets)
{
    Scenario s = ascii(Protocol::Ut3);
    for (const char* name : {"Delta", "Echo", "Foxtrot", "Golf", "Hotel"})
        s.players.push_back({name, static_cast<int>(std::strlen(name)), 20, 1});
    s.players.push_back({});
    s.players.push_back({});
    s.teams = {{"Red", 3}, {"Blue", 5}};
    s.splitSize = 200;
    for (const bool reversed : {false, true}) {
        SCOPED_TRACE(reversed);
        s.reverseOrder = reversed;
        FakeGameServer server(s);
        Seen we = ours({Game::UT3, QStringLiteral("127.0.0.1"), server.port(), true, 1000});
        ASSERT_EQ(we.players.size(), 8u);
        ASSERT_GE(fakeservers::ut3Reply(s, ut3::statusRequest(1, s.challenge)).size(), 3);

        // quakestat takes the scores of padded rows for rules: names only.
        const auto names = [](const std::vector<std::pair<QString, int>>& players) {
            QStringList list;
            for (const auto& p : players)
                list << p.first;
            return list;
        };
        const Seen qstat = quakestat(QStringLiteral("-ut3s"), server.port());
        EXPECT_EQ(qstat.name, we.name);
        EXPECT_EQ(qstat.map, we.map);
        EXPECT_EQ(qstat.playerCount, we.playerCount);
        EXPECT_EQ(names(qstat.players), names(we.players));

        const QJsonObject dig = gamedig(QStringLiteral("unrealtournament3"), server.port());
        EXPECT_EQ(dig["raw"].toObject()["servername"].toString(), we.name);
        EXPECT_EQ(dig["map"].toString(), we.map);
        EXPECT_EQ(gamedigPlayers(dig, "score"), we.players);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
