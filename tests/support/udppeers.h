#pragma once

#include "gamequery/queryclient.h"
#include "support/eventloop.h"

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QUdpSocket>

#include <gtest/gtest.h>

// Runs one query to its end on the event loop; also reports how long it took.
inline gamequery::QueryResult ask(gamequery::QueryClient& client, const gamequery::QueryRequest& request,
                                  qint64* elapsedMs = nullptr)
{
    std::optional<gamequery::QueryResult> result;
    QElapsedTimer clock;
    clock.start();
    client.query(request, [&](const gamequery::QueryResult& r) { result = r; });
    EXPECT_TRUE(waitUntil([&] { return result.has_value(); }, 10000)) << "the query never ended";
    if (elapsedMs)
        *elapsedMs = clock.elapsed();
    return result.value_or(gamequery::QueryResult{});
}

// A server of raw sockets on loopback: answers every request with the
// packets given, from its own port or from another.
class RawServer {
public:
    explicit RawServer(std::function<QList<QByteArray>(const QByteArray&)> answer, bool fromAnotherPort = false)
    {
        m_asked.bind(QHostAddress::LocalHost, 0);
        m_other.bind(QHostAddress::LocalHost, 0);
        QObject::connect(&m_asked, &QUdpSocket::readyRead, [this, answer, fromAnotherPort] {
            while (m_asked.hasPendingDatagrams()) {
                const QNetworkDatagram d = m_asked.receiveDatagram();
                for (const QByteArray& p : answer(d.data()))
                    (fromAnotherPort ? m_other : m_asked)
                        .writeDatagram(p, d.senderAddress(), static_cast<quint16>(d.senderPort()));
            }
        });
    }
    quint16 port() const { return m_asked.localPort(); }

    // UT99 reply packets, each with a new number, as a broken or hostile server bursts them.
    static QList<QByteArray> ut99Burst(int packets)
    {
        QList<QByteArray> burst;
        for (int i = 1; i <= packets; ++i)
            burst << "\\hostname\\Burst\\padding\\" + QByteArray(560, 'x') + "\\queryid\\" + QByteArray::number(i) +
                         ".1";
        return burst;
    }

private:
    QUdpSocket m_asked, m_other;
};
