// The start page with its favourites and the page of a silent server, on
// loopback: glance_bench [COUNT]. Six UT99 favourites and two presets answer
// after 10 to 80 ms each; the start page is asked COUNT times, every time
// afresh, and its median and worst times are printed beside the slowest
// server's delay (queries in turn would take their sum). Then the page of a
// server that never answers, beside the query's own time and the two seconds
// allowed to find out why.

#include "fakeservers/fakegameserver.h"
#include "statusservice/servicethread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// Milliseconds until the page at target has arrived whole.
qint64 fetch(QNetworkAccessManager& network, quint16 port, const QString& target)
{
    QElapsedTimer clock;
    clock.start();
    QNetworkReply* reply =
        network.get(QNetworkRequest(QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(port).arg(target))));
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    loop.exec();
    reply->readAll();
    reply->deleteLater();
    return clock.elapsed();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    const int delays[] = {10, 20, 30, 40, 50, 60, 70, 80}; // six favourites, then two presets
    std::vector<std::unique_ptr<fakeservers::FakeGameServer>> servers;
    for (int delay : delays) {
        fakeservers::Scenario scenario;
        scenario.delayMs = delay;
        scenario.players = {{QStringLiteral("Alpha"), 1, 20, -1}};
        servers.push_back(std::make_unique<fakeservers::FakeGameServer>(scenario));
    }
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("utservers.ini")));
    file.open(QIODevice::WriteOnly);
    file.write("[SERVER]\r\n");
    for (int slot = 0; slot < 6; ++slot) {
        const QByteArray n = slot ? QByteArray::number(slot + 1) : QByteArray();
        file.write("ServerName" + n + "=Favourite\r\nServerIP" + n + "=127.0.0.1\r\nQueryPort" + n + "=" +
                   QByteArray::number(servers[static_cast<std::size_t>(slot)]->port()) + "\r\n");
    }
    file.close();

    statusservice::ServiceOptions options;
    options.port = 0;
    options.destinations = gamequery::Destinations::Lan;
    options.budgets = false;
    options.shareMs = 0; // every start page asks afresh
    options.favouritesFolder = folder.path();
    for (std::size_t i = 6; i < 8; ++i) // presets give game ports
        options.presets.push_back({Game::UT99, QStringLiteral("Preset"), QStringLiteral("127.0.0.1"),
                                   QString::number(servers[i]->port() - 1)});
    statusservice::ServiceThread service;
    if (service.launch(options) != statusservice::ServiceThread::Outcome::Started)
        return 1;

    QNetworkAccessManager network;
    std::vector<qint64> times;
    for (int i = 0; i < count; ++i)
        times.push_back(fetch(network, service.port(), QStringLiteral("/php/UTstats/lobby2.html?player=alpha")));
    std::sort(times.begin(), times.end());
    QTextStream out(stdout);
    out << "start page, 6 favourites + 2 presets: median " << times[times.size() / 2] << " ms, worst " << times.back()
        << " ms; slowest server " << delays[7] << " ms, all in turn 360 ms\n";

    fakeservers::Scenario quiet;
    quiet.silent = true;
    fakeservers::FakeGameServer silent(quiet);
    const qint64 noAnswer =
        fetch(network, service.port(),
              QStringLiteral("/php/UTstats/index.php?txtip=127.0.0.1&portnum=%1").arg(silent.port()));
    out << "no-answer page: " << noAnswer << " ms; the query's two waits " << 2 * options.timeoutMs
        << " ms + finding out why at most " << options.diagnosisMs << " ms\n";
    return 0;
}
