// Page latency of the status service against the raw query it makes:
// page_latency SERVICE_PORT GAME_QUERY_PORT [COUNT]. Asks the UT3 status page
// with refresh=1 (a fresh query every time) over one keep-alive connection,
// and the fake server directly with the query client, COUNT times each, and
// prints median and 99th percentile of both.

#include "gamequery/queryclient.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpSocket>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3)
        return 2;
    const auto servicePort = static_cast<quint16>(args[1].toInt());
    const auto gamePort = static_cast<quint16>(args[2].toInt());
    const int count = args.size() > 3 ? args[3].toInt() : 1000;

    QTcpSocket http;
    http.connectToHost(QHostAddress::LocalHost, servicePort);
    if (!http.waitForConnected(2000))
        return 1;
    const QByteArray request =
        "GET /Qev/UT3Query/ut3query.php?serverip=127.0.0.1&serverqport=" + QByteArray::number(gamePort) +
        "&serverwport=0&refresh=1 HTTP/1.1\r\nHost: bench\r\nConnection: keep-alive\r\n\r\n";
    std::vector<double> page;
    for (int i = 0; i < count; ++i) {
        QElapsedTimer clock;
        clock.start();
        http.write(request);
        QByteArray response;
        qsizetype bodyStart = -1, length = -1;
        while (bodyStart < 0 || response.size() < bodyStart + length) {
            if (!http.waitForReadyRead(3000))
                return 1;
            response += http.readAll();
            if (bodyStart < 0 && (bodyStart = response.indexOf("\r\n\r\n")) >= 0) {
                bodyStart += 4;
                const qsizetype at = response.indexOf("Content-Length: ") + 16;
                length = response.mid(at, response.indexOf("\r\n", at) - at).toLongLong();
            }
        }
        page.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }

    gamequery::QueryClient client;
    std::vector<double> raw;
    for (int i = 0; i < count; ++i) {
        gamequery::QueryRequest r{Game::UT3, QStringLiteral("127.0.0.1"), gamePort, true, 1000};
        QEventLoop loop;
        QElapsedTimer clock;
        clock.start();
        client.query(r, [&](const gamequery::QueryResult&) {
            raw.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
            loop.quit();
        });
        loop.exec();
    }
    QTextStream(stdout) << QStringLiteral("%1 requests: page median %2 ms p99 %3 ms; raw query median %4 ms p99 %5 ms; "
                                          "added at the median %6 ms\n")
                               .arg(count)
                               .arg(percentile(page, 0.5), 0, 'f', 3)
                               .arg(percentile(page, 0.99), 0, 'f', 3)
                               .arg(percentile(raw, 0.5), 0, 'f', 3)
                               .arg(percentile(raw, 0.99), 0, 'f', 3)
                               .arg(percentile(page, 0.5) - percentile(raw, 0.5), 0, 'f', 3);
    return 0;
}
