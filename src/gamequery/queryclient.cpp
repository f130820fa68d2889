#include "queryclient.h"

#include "session.h"

#include <QElapsedTimer>
#include <QHostInfo>
#include <QNetworkDatagram>
#include <QRandomGenerator>
#include <QTimer>
#include <QUdpSocket>
#include <QVariant>

#include <algorithm>

namespace gamequery {

namespace {

// Queries under way at once: the next starts as one ends. Their replies fit
// the receive buffer together: a dozen packets of under 1,400 bytes each at
// most, which the system counts about twice.
constexpr std::size_t kWindow = 64;
constexpr int kReceiveBuffer = 4 << 20; // the system may grant less
// What one query takes from its server at most: a full 32-player server
// sends a dozen packets of under 1,400 bytes. Past these the query ends
// with what came.
constexpr int kMaxPackets = 64;
constexpr qsizetype kMaxBytes = 128 * 1024;
// Datagrams read in one turn of the event loop, so a flood cannot hold it.
constexpr int kDatagramsPerTurn = 64;

QueryResult notAsked(const QueryRequest& request, QueryResult::Outcome why, const QHostAddress& address = {})
{
    QueryResult result;
    result.request = request;
    result.outcome = why;
    result.address = address;
    result.queryPort = QueryClient::queryPort(request);
    return result;
}

} // namespace

quint16 QueryResult::gamePort() const
{
    if (status) {
        for (const auto& [key, value] : status->rules) {
            bool ok = false;
            const uint port = value.toUInt(&ok);
            if (key == QLatin1String("hostport") && ok && port > 0 && port <= 65535)
                return static_cast<quint16>(port);
        }
    }
    return static_cast<quint16>(std::max(0, gameInfo(request.game).gamePortOf(queryPort)));
}

QString QueryResult::reason() const
{
    switch (outcome) {
    case Outcome::Answered: return {};
    case Outcome::NoQueryPort: return QStringLiteral("port %1 has no query port above it").arg(request.port);
    case Outcome::NotResolved: return QStringLiteral("the name %1 did not resolve").arg(request.host);
    case Outcome::Refused:
        return QStringLiteral("%1 is an address this service does not send to").arg(address.toString());
    case Outcome::NoAnswer:
        return QStringLiteral("no answer on port %1 within %2 ms").arg(queryPort).arg(2 * request.timeoutMs);
    case Outcome::Malformed: return QStringLiteral("the reply on port %1 made no sense").arg(queryPort);
    }
    return {};
}

quint16 QueryClient::queryPort(const QueryRequest& request)
{
    const GameInfo& game = gameInfo(request.game);
    const quint16 port = request.port ? request.port : game.defaultPort;
    return request.portIsQueryPort ? port : game.queryPortOf(port);
}

// One query on the wire: its session's requests, the packets of its
// replies, the deadlines.
class Exchange : public QObject {
public:
    using Done = std::function<void(const QueryResult&)>;

    Exchange(QueryClient& client, const QueryRequest& request, const QHostAddress& address, Done done)
        : m_client(client), m_done(std::move(done))
    {
        m_result.request = request;
        m_result.address = address;
        m_result.queryPort = QueryClient::queryPort(request);
        const GameInfo& game = gameInfo(request.game);
        m_session = makeSession(game.protocol, m_result.queryPort,
                                request.portIsQueryPort ? 0 : game.textPortOf(m_result.queryPort),
                                QRandomGenerator::global()->generate() & 0x7F7F7F7F);
        m_attempt.setSingleShot(true);
        m_gap.setSingleShot(true);
        m_deadline.setSingleShot(true);
        connect(&m_attempt, &QTimer::timeout, this, &Exchange::attemptTimedOut);
        connect(&m_gap, &QTimer::timeout, this, [this] { finish(); });
        connect(&m_deadline, &QTimer::timeout, this, &Exchange::giveUp);
    }

    void start()
    {
        // Two attempts, and one more wait for UT3's challenge stage.
        m_deadline.start(3 * m_result.request.timeoutMs);
        m_attempts = 1;
        sendRequests();
    }

    bool accepts(const QHostAddress& from, quint16 port) const
    {
        return from.isEqual(m_result.address, QHostAddress::ConvertV4MappedToIPv4) && m_session->listensOn(port);
    }

    void receive(quint16 port, const QByteArray& datagram)
    {
        if (m_finished)
            return;
        m_bytes += datagram.size();
        if (++m_packets > kMaxPackets || m_bytes > kMaxBytes) {
            giveUp();
            return;
        }
        switch (m_session->receive(port, datagram)) {
        case Session::Progress::Bad: ++m_malformed; return;
        case Session::Progress::ReplyNeeded:
            m_attempts = 1;
            sendRequests();
            return;
        case Session::Progress::Pending:
            noteRoundTrip();
            if (const int gap = m_session->quietGapMs())
                m_gap.start(gap);
            return;
        case Session::Progress::Done:
            noteRoundTrip();
            finish();
            return;
        }
    }

private:
    void sendRequests()
    {
        for (const Outgoing& out : m_session->requests(m_attempts))
            m_client.send(m_result.address, out.port, out.bytes);
        m_clock.start();
        m_attempt.start(m_result.request.timeoutMs);
    }

    // From the last requests sent to the first packet that answers them.
    void noteRoundTrip()
    {
        if (m_result.roundTripMs < 0)
            m_result.roundTripMs = static_cast<int>(m_clock.elapsed());
    }

    void attemptTimedOut()
    {
        if (!m_session->hasStatus() && m_attempts < 2) {
            ++m_attempts;
            sendRequests();
            return;
        }
        giveUp();
    }

    // The time or the server's share is spent: what came is the answer.
    void giveUp()
    {
        if (m_session->hasStatus()) {
            finish();
            return;
        }
        m_result.outcome = m_malformed ? QueryResult::Outcome::Malformed : QueryResult::Outcome::NoAnswer;
        finishWith();
    }

    void finish()
    {
        if (m_session->hasStatus()) {
            m_result.outcome = QueryResult::Outcome::Answered;
            m_result.status = m_session->status();
        } else {
            m_result.outcome = QueryResult::Outcome::Malformed;
        }
        finishWith();
    }

    void finishWith()
    {
        if (m_finished)
            return;
        m_finished = true;
        m_attempt.stop();
        m_gap.stop();
        m_deadline.stop();
        m_done(m_result);
        m_client.finished(this);
    }

    QueryClient& m_client;
    Done m_done;
    QueryResult m_result;
    std::unique_ptr<Session> m_session;
    QTimer m_attempt, m_gap, m_deadline;
    QElapsedTimer m_clock;
    int m_attempts = 0;
    int m_malformed = 0;
    int m_packets = 0;
    qsizetype m_bytes = 0;
    bool m_finished = false;
};

QueryClient::QueryClient(QObject* parent)
    : QObject(parent), m_ipv4(new QUdpSocket(this)), m_ipv6(new QUdpSocket(this)), m_pacer(new QTimer(this))
{
    m_ipv4->bind(QHostAddress::AnyIPv4, 0);
    m_ipv6->bind(QHostAddress::AnyIPv6, 0); // may fail where there is no IPv6: then v6 servers go unanswered
    for (QUdpSocket* socket : {m_ipv4, m_ipv6}) {
        socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, QVariant(kReceiveBuffer));
        connect(socket, &QUdpSocket::readyRead, this, [this, socket] { readDatagrams(socket); });
    }
    m_pacer->setSingleShot(true);
    connect(m_pacer, &QTimer::timeout, this, &QueryClient::startWaiting);
}

QueryClient::~QueryClient() = default;

void QueryClient::query(const QueryRequest& request, std::function<void(const QueryResult&)> done)
{
    QHostAddress address;
    if (queryPort(request) == 0) {
        done(notAsked(request, QueryResult::Outcome::NoQueryPort));
    } else if (address.setAddress(request.host)) {
        start(request, address, std::move(done));
    } else {
        lookUp(request, std::move(done));
    }
}

void QueryClient::lookUp(const QueryRequest& request, std::function<void(const QueryResult&)> done)
{
    // The look-up has the time of one attempt; one that takes longer reports
    // the name as unresolved, and its late answer is dropped. (Qt cannot stop
    // a look-up under way.)
    auto pending = std::make_shared<std::function<void(const QueryResult&)>>(std::move(done));
    const auto notResolved = [request](const auto& pendingDone) {
        std::exchange(*pendingDone, nullptr)(notAsked(request, QueryResult::Outcome::NotResolved));
    };
    QHostInfo::lookupHost(request.host, this, [this, request, pending, notResolved](const QHostInfo& info) {
        if (!*pending)
            return;
        // An IPv4 address where there is one: most game servers listen on IPv4 only.
        QHostAddress chosen;
        for (const QHostAddress& a : info.addresses()) {
            if (chosen.isNull() ||
                (a.protocol() == QAbstractSocket::IPv4Protocol && chosen.protocol() != QAbstractSocket::IPv4Protocol))
                chosen = a;
        }
        if (chosen.isNull())
            notResolved(pending);
        else
            start(request, chosen, std::exchange(*pending, nullptr));
    });
    QTimer::singleShot(request.timeoutMs, this, [pending, notResolved] {
        if (*pending)
            notResolved(pending);
    });
}

void QueryClient::start(const QueryRequest& request, const QHostAddress& address,
                        std::function<void(const QueryResult&)> done)
{
    if (!isAllowed(address, m_destinations)) {
        done(notAsked(request, QueryResult::Outcome::Refused, address));
        return;
    }
    m_exchanges.push_back(std::make_unique<Exchange>(*this, request, address, std::move(done)));
    m_waiting.push_back(m_exchanges.back().get());
    if (!m_pacer->isActive())
        m_pacer->start(0); // queries asked together leave together, up to the window
}

void QueryClient::startWaiting()
{
    while (!m_waiting.empty() && m_started < kWindow) {
        Exchange* next = m_waiting.front();
        m_waiting.pop_front();
        ++m_started;
        next->start();
    }
}

void QueryClient::send(const QHostAddress& address, quint16 port, const QByteArray& datagram)
{
    QUdpSocket* socket = address.protocol() == QAbstractSocket::IPv6Protocol ? m_ipv6 : m_ipv4;
    socket->writeDatagram(datagram, address, port);
}

void QueryClient::readDatagrams(QUdpSocket* socket)
{
    // What is left is read at the socket's next notification, in a later
    // turn. Not by a call of our own: one that drained the socket before a
    // notification already due was handled would leave Qt's readyRead
    // unanswered, and Qt then turns the socket's notifier off for good.
    for (int turn = 0; turn < kDatagramsPerTurn && socket->hasPendingDatagrams(); ++turn) {
        const QNetworkDatagram datagram = socket->receiveDatagram(65536);
        const auto port = static_cast<quint16>(datagram.senderPort());
        // Only the address and port that were asked are listened to. A query's
        // callback may start others: deliver to those that were there first.
        std::vector<Exchange*> asked;
        for (const auto& exchange : m_exchanges) {
            if (exchange->accepts(datagram.senderAddress(), port))
                asked.push_back(exchange.get());
        }
        for (Exchange* exchange : asked)
            exchange->receive(port, datagram.data());
    }
}

void QueryClient::finished(Exchange* exchange)
{
    // Its place in the window goes to the next; the exchange itself goes
    // later: it may be in the middle of a call of its own.
    --m_started;
    if (!m_waiting.empty() && !m_pacer->isActive())
        m_pacer->start(0);
    QMetaObject::invokeMethod(
        this,
        [this, exchange] { std::erase_if(m_exchanges, [exchange](const auto& e) { return e.get() == exchange; }); },
        Qt::QueuedConnection);
}

} // namespace gamequery
