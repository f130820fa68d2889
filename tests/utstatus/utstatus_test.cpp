// The utstatus program as a script would call it.

#include "fakeservers/fakegameserver.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct Finished {
    int exitCode;
    QByteArray out, err;
};

// Runs utstatus while the event loop keeps the fake servers answering.
Finished utstatus(const QStringList& args)
{
    QProcess process;
    process.start(QStringLiteral(UTSTATUS_PATH), args);
    while (process.state() != QProcess::NotRunning) {
        // waitForFinished is false, not true, once the event loop saw the end.
        if (!process.waitForFinished(10))
            QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

TEST(Utstatus, BadArgumentsExitWith2)
{
    const QStringList bad[] = {{},
                               {"query"},
                               {"query", "--game", "ut2007", "127.0.0.1"},
                               {"query", "--game", "ut99"},
                               {"query", "--game", "ut99", "127.0.0.1:70000"},
                               {"query", "--game", "ut99", "127.0.0.1:x"},
                               {"query", "--game", "ut99", "--frobnicate", "127.0.0.1"},
                               {"explode"}};
    for (const QStringList& args : bad) {
        const Finished run = utstatus(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("usage:"));
        EXPECT_TRUE(run.out.isEmpty());
    }
}

TEST(Utstatus, AnswersInTextAndJsonAndSaysWhyNot)
{
    fakeservers::Scenario s;
    s.protocol = fakeservers::Protocol::Ut3;
    s.name = QStringLiteral("Json Server");
    s.players = {{"Zoë", 5, 40, 0}};
    fakeservers::FakeGameServer answering(s);
    fakeservers::Scenario quiet = s;
    quiet.silent = true;
    fakeservers::FakeGameServer silent(quiet);
    const QString up = QStringLiteral("127.0.0.1:%1").arg(answering.port());
    const QString down = QStringLiteral("127.0.0.1:%1").arg(silent.port());

    Finished run = utstatus({"query", "--game", "ut3", up});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains("Json Server"));
    EXPECT_TRUE(run.out.contains("Zoë"));

    run = utstatus({"query", "--game", "ut3", "--timeout", "100", up, down, "--json"});
    EXPECT_EQ(run.exitCode, 1); // not every server answered
    const QJsonArray results = QJsonDocument::fromJson(run.out).array();
    ASSERT_EQ(results.size(), 2);
    EXPECT_EQ(results[0].toObject()["name"].toObject()["text"].toString(), QStringLiteral("Json Server"));
    EXPECT_EQ(results[0].toObject()["playerList"].toArray()[0].toObject()["name"].toObject()["text"].toString(),
              QStringLiteral("Zoë"));
    EXPECT_EQ(results[1].toObject()["outcome"].toString(), QStringLiteral("no-answer"));
    EXPECT_EQ(results[1].toObject()["reason"].toString(),
              QStringLiteral("no answer on port %1 within 200 ms").arg(silent.port()));
    // A game port with no query port above it is never asked.
    run = utstatus({"query", "--game", "ut2004", "127.0.0.1:65535", "--json"});
    EXPECT_EQ(QJsonDocument::fromJson(run.out).array()[0].toObject()["outcome"].toString(),
              QStringLiteral("no-query-port"));
}

} // namespace
