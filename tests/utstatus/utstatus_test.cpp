// The utstatus program as a script would call it.

#include "fakeservers/fakegameserver.h"
#include "fakeservers/fakemaster.h"
#include "support/eventloop.h"
#include "support/files.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

Finished utstatus(const QStringList& args) { return runServing(QStringLiteral(UTSTATUS_PATH), args); }

// Help on standard output with exit 0; a bad argument exits 2 and says so,
// with the usage, on standard error.
TEST(Utstatus, FollowsCommandLineConventions)
{
    const struct {
        QStringList args;
        int exitCode;
        const char* out;
        const char* err;
    } runs[] = {
        {{"--help"}, 0, "usage: utstatus query --game", ""},
        {{"-h"}, 0, "utstatus COMMAND --help", ""},
        {{"demo", "--help"}, 0, "usage: utstatus demo\nStarts a fake server", ""},
        {{"list", "-h"}, 0, "usage: utstatus list --game ut99|ut2004", ""},
        {{"query", "--game", "ut2007", "127.0.0.1"}, 2, "", "utstatus: unknown game ut2007\nusage:"},
        {{"query", "--game", "ut99", "127.0.0.1:70000"}, 2, "", "usage:"},
        {{"query", "--game", "ut99", "--frobnicate", "127.0.0.1"}, 2, "", "unknown option --frobnicate"},
        {{"demo", "--now"}, 2, "", "unknown option --now"},
        {{"list", "--game", "ut99", "--master"}, 2, "", "unknown option --master"}, // without its value
        {{"explode"}, 2, "", "unknown command explode"},
        {{"favourites", "--dir", "/nonexistent/utquery"}, 2, "", "no folder /nonexistent/utquery to read"},
        {{"watch", "--game", "ut99", "--interval", "5", "127.0.0.1"}, 2, "", "--interval: seconds from 10"},
        {{"watch", "--game", "ut2007", "127.0.0.1"}, 2, "", "--game: unknown game ut2007\nusage:"},
    };
    for (const auto& [args, exitCode, out, err] : runs) {
        const Finished run = utstatus(args);
        EXPECT_EQ(run.exitCode, exitCode) << args.join(' ').toStdString();
        EXPECT_TRUE(*out ? run.out.contains(out) : run.out.isEmpty()) << run.out.toStdString();
        EXPECT_TRUE(*err ? run.err.contains(err) : run.err.isEmpty()) << run.err.toStdString();
    }
}

TEST(Utstatus, AnswersInTextAndJsonAndSaysWhyNot)
{
    using fakeservers::Protocol;
    fakeservers::FakeGameServer answering({.protocol = Protocol::Ut3,
                                           .name = QStringLiteral("Json Server"),
                                           .map = "VCTF-Suspense",
                                           .gameType = "3", // UT3 numbers its game modes
                                           .players = {{"Zoë", 5, 40, 0}, {"玩家", 9, 70, 1}}});
    fakeservers::FakeGameServer silent({.protocol = Protocol::Ut3, .silent = true});
    const QString up = QStringLiteral("127.0.0.1:%1").arg(answering.port());
    const QString down = QStringLiteral("127.0.0.1:%1").arg(silent.port());

    Finished run = utstatus({"query", "--game", "ut3", up});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains("Json Server"));
    EXPECT_TRUE(run.out.contains("\n  Zoë         5    40  ")); // numbers right-aligned,
    EXPECT_TRUE(run.out.contains("\n  玩家        9    70  ")); // after letters twice as wide
    EXPECT_TRUE(run.out.contains("\n  Password   no\n"));

    run = utstatus({"query", "--game", "ut3", "--timeout", "100", up, down, "--json"});
    EXPECT_EQ(run.exitCode, 1); // not every server answered
    const QJsonArray results = QJsonDocument::fromJson(run.out).array();
    ASSERT_EQ(results.size(), 2);
    EXPECT_EQ(results[0]["outcome"].toString(), QStringLiteral("answered"));
    EXPECT_EQ(
        results[0].toObject().keys(), // every field a script may read, none missing
        (QStringList{"address", "game", "gamePort", "gameType", "host", "map", "maxPlayers", "name", "outcome",
                     "partial", "password", "playerList", "players", "queryPort", "roundTripMs", "rules", "teams"}));
    EXPECT_EQ(results[0]["name"]["text"].toString(), QStringLiteral("Json Server"));
    EXPECT_EQ(results[0]["map"].toString() + ' ' + results[0]["gameType"].toString(),
              QStringLiteral("VCTF-Suspense Vehicle CTF"));
    EXPECT_EQ(results[0]["playerList"][0]["name"]["text"].toString(), QStringLiteral("Zoë"));
    EXPECT_EQ(results[0]["gamePort"].toInt(), answering.port());
    QStringList keys; // each rule once, though the server lists mapname twice
    for (const QJsonValue& rule : results[0]["rules"].toArray())
        keys << rule[0].toString();
    EXPECT_EQ(keys.removeDuplicates(), 0);
    for (const QJsonArray& rule : {QJsonArray{"gamemode", "openplaying"}, QJsonArray{"mapname", "VCTF-Suspense"}})
        EXPECT_TRUE(results[0]["rules"].toArray().contains(rule)) << rule[0].toString().toStdString();
    EXPECT_EQ(results[1]["outcome"].toString(), QStringLiteral("no-answer"));
    EXPECT_EQ(results[1]["reason"].toString(), QStringLiteral("no answer on port %1 within 200 ms").arg(silent.port()));

    // A UT99 query port asked one below where the server answers: it is found there.
    fakeservers::FakeGameServer ut99({.name = QStringLiteral("Moved Up")});
    const QString below = QStringLiteral("127.0.0.1:%1").arg(ut99.port() - 1);
    run = utstatus({"query", "--game", "ut99", "--query-port", "--timeout", "100", below, "--json"});
    EXPECT_EQ(QJsonDocument::fromJson(run.out)[0]["answersOn"],
              QJsonArray({QJsonObject{{"queryPort", ut99.port()}, {"name", "Moved Up"}}}));
    run = utstatus({"query", "--game", "ut99", "--query-port", "--timeout", "100", below});
    EXPECT_TRUE(run.out.contains(QStringLiteral("Query port %1 of the same host answers as a UT99 server: Moved Up.")
                                     .arg(ut99.port())
                                     .toUtf8()));
    // A game port with no query port above it is never asked.
    // Nor is a multicast group: one query would reach many hosts.
    run = utstatus({"query", "--game", "ut2004", "127.0.0.1:65535", "224.0.0.1:7777", "--json"});
    EXPECT_EQ(QJsonDocument::fromJson(run.out)[0]["outcome"].toString(), QStringLiteral("no-query-port"));
    EXPECT_EQ(QJsonDocument::fromJson(run.out)[1]["outcome"].toString(), QStringLiteral("refused"));
}

// Every server the masters list, asked; each master's outcome on standard error.
TEST(Utstatus, ListsWhatTheMastersList)
{
    fakeservers::FakeGameServer listed({.name = QStringLiteral("Listed One")});
    fakeservers::FakeMaster master({.servers = {{QHostAddress::LocalHost, listed.port()}}});
    fakeservers::FakeMaster broken({.behaviour = fakeservers::MasterScenario::Behaviour::ClosesEarly});
    const QString at = QStringLiteral("127.0.0.1:%1").arg(master.port());
    const QString brokenAt = QStringLiteral("127.0.0.1:%1").arg(broken.port());
    const Finished run = utstatus({"list", "--game", "ut99", "--master", at, "--master", brokenAt});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith("127.0.0.1:7777  Listed One  DM-Deck16][  0/16  ")) << run.out.toStdString();
    EXPECT_EQ(run.err, QStringLiteral("master %1: 1 server\nmaster %2: the master closed before the list's end\n")
                           .arg(at, brokenAt)
                           .toUtf8());
}

// All three games' favourites files of a folder, each server asked as its
// status page would ask it; without --dir, those of the program's folder.
TEST(Utstatus, FavouritesOfAFolderForScripts)
{
    fakeservers::FakeGameServer first({.name = QStringLiteral("Saved UT99")});
    fakeservers::FakeGameServer third({.protocol = fakeservers::Protocol::Ut3, .name = QStringLiteral("Saved UT3")});
    QTemporaryDir folder;
    const auto save = [&](const char* file, const QString& content) {
        writeFile(folder.filePath(QLatin1String(file)), content.toLatin1());
    };
    save("utservers.ini",
         QStringLiteral("[SERVER]\r\nServerName2=Mine\r\nServerIP2=127.0.0.1\r\nQueryPort2=%1\r\n").arg(first.port()));
    save("ut3servers.ini",
         QStringLiteral("[SERVER]\r\nUT3ServerName6=Theirs\r\nUT3ServerIP6=127.0.0.1\r\nUT3ServerPort6=%1\r\n"
                        "UT3ServerName=Typo\r\nUT3ServerIP=127.0.0.1\r\nUT3ServerPort=port\r\n")
             .arg(third.port()));

    const Finished run = utstatus({"favourites", "--dir", folder.path(), "--json"});
    EXPECT_EQ(run.exitCode, 1); // one has no address to ask
    QStringList seen;           // game, slot, name: what its server is called, or why it was not asked
    for (const QJsonValue& entry : QJsonDocument::fromJson(run.out).array())
        seen << QStringLiteral("%1 %2 %3: %4")
                    .arg(entry["game"].toString())
                    .arg(entry["slot"].toInt())
                    .arg(entry["name"].toString(),
                         entry["error"].toString() + entry["status"]["name"]["text"].toString());
    EXPECT_EQ(seen, (QStringList{"ut99 2 Mine: Saved UT99", "ut3 1 Typo: no usable address: 127.0.0.1:port",
                                 "ut3 6 Theirs: Saved UT3"}));
    ASSERT_TRUE(QFile::copy(QStringLiteral(UTSTATUS_PATH), folder.filePath(QStringLiteral("utstatus"))));
    EXPECT_TRUE(runServing(folder.filePath(QStringLiteral("utstatus")), {"favourites"})
                    .out.contains("UT3 favourite 6: Theirs\nUT3  "));
}

// A script waiting for a friend: the first answer finds nobody, the next
// one, a round later, finds the friend.
TEST(Utstatus, WatchWaitsForAPlayer)
{
    fakeservers::FakeGameServer server({.name = QStringLiteral("Watched")});
    QTimer::singleShot(1000, [&] { server.scenario().players = {{QStringLiteral("Alpha"), 5, 30, 0}}; });
    const QString address = QStringLiteral("127.0.0.1:%1").arg(server.port() - 1); // the game port
    QElapsedTimer clock;
    clock.start();
    const Finished run = utstatus({"watch", "--game", "ut99", address, "--players", "2", "--player", "aLPHA",
                                   "--interval", "10", "--once", "--json"}); // one human is not the two asked for
    EXPECT_GE(clock.elapsed(), 9500); // a round later: a coarse timer may come 5% early
    EXPECT_EQ(run.exitCode, 0);
    const QJsonObject event = QJsonDocument::fromJson(run.out).object();
    EXPECT_EQ(QStringList({event["server"].toString(), event["name"].toString(), event["event"].toString(),
                           event["player"].toString()}),
              (QStringList{address, "Watched", "joined", "aLPHA"}));
    EXPECT_EQ(run.out.count('\n'), 1);
    // A server with people on it at the first answer: news at once, in text.
    const QString text = QString::fromUtf8(utstatus({"watch", "--game", "ut99", address, "--once"}).out);
    EXPECT_TRUE(text.endsWith(QStringLiteral("  %1  Watched: 1 human player (1/16)\n").arg(address)))
        << text.toStdString();
}

} // namespace
