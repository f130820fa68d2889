#include "queryclient.h"

#include "ut2004protocol.h"
#include "ut3protocol.h"
#include "ut99protocol.h"

#include <QElapsedTimer>
#include <QHostInfo>
#include <QNetworkDatagram>
#include <QPointer>
#include <QRandomGenerator>
#include <QTimer>
#include <QUdpSocket>
#include <QVariant>

#include <map>

namespace gamequery {

namespace {

// After the last packet of a reply that does not say it is the last, this
// much silence ends the wait.
constexpr int kQuietGapMs = 150;
// A UT2004 reply that reached its player count may still carry records past
// it (spectators are listed but not counted); they leave the server in the
// same burst, so a short silence after the last packet proves the list whole.
constexpr int kUt2004SettleMs = 30;
// Queries started together, and the pause before the next burst.
constexpr std::size_t kBurst = 16;
constexpr int kBurstGapMs = 2;
constexpr int kReceiveBuffer = 4 << 20; // the system may grant less

using Pairs = std::vector<std::pair<QString, QString>>;

bool isStatusReply(const Pairs& pairs)
{
    for (const auto& [key, value] : pairs) {
        if (key == QLatin1String("hostname") || key == QLatin1String("gamename") ||
            key == QLatin1String("numplayers") || key.startsWith(QLatin1String("player_")))
            return true;
    }
    return false;
}

} // namespace

QString QueryResult::reason() const
{
    switch (outcome) {
    case Outcome::Answered: return {};
    case Outcome::NotResolved: return QStringLiteral("the name %1 did not resolve").arg(request.host);
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
    return request.portIsQueryPort ? port : static_cast<quint16>(port + game.queryPortOffset);
}

// One query: the protocol's requests, the packets of its replies, the waits.
class Exchange : public QObject {
public:
    using Done = std::function<void(const QueryResult&)>;

    Exchange(QueryClient& client, const QueryRequest& request, const QHostAddress& address, Done done)
        : m_client(client), m_done(std::move(done)), m_session(QRandomGenerator::global()->generate() & 0x7F7F7F7F),
          m_ut3(m_session)
    {
        m_result.request = request;
        m_result.address = address;
        m_result.queryPort = QueryClient::queryPort(request);
        m_attempt.setSingleShot(true);
        m_gap.setSingleShot(true);
        connect(&m_attempt, &QTimer::timeout, this, &Exchange::attemptTimedOut);
        connect(&m_gap, &QTimer::timeout, this, [this] { finish(); });
    }

    void start()
    {
        m_attempts = 1;
        sendRequests();
    }

    bool accepts(const QHostAddress& from, quint16 port) const
    {
        return from.isEqual(m_result.address, QHostAddress::ConvertV4MappedToIPv4) &&
               (port == m_result.queryPort || (m_textFallback && port == textPort()));
    }

    void receive(quint16 port, const QByteArray& datagram)
    {
        if (m_finished)
            return;
        const bool text = m_result.request.game != Game::UT2004 || port == textPort();
        bool understood = false;
        if (m_result.request.game == Game::UT3)
            understood = receiveUt3(datagram);
        else if (text)
            understood = receiveText(port, datagram);
        else
            understood = m_ut2004.add(datagram);
        if (!understood) {
            ++m_malformed;
            return;
        }
        if (m_result.roundTripMs < 0 && m_stageStarted)
            m_result.roundTripMs = static_cast<int>(m_clock.elapsed());
        checkDone(port);
    }

private:
    quint16 textPort() const
    {
        const GameInfo& game = gameInfo(m_result.request.game);
        return static_cast<quint16>(m_result.queryPort - game.queryPortOffset + game.textPortOffset);
    }

    void sendRequests()
    {
        const quint16 port = m_result.queryPort;
        switch (m_result.request.game) {
        case Game::UT99: sendText(port); break;
        case Game::UT2004:
            if (m_textMode) {
                sendText(textPort());
                break;
            }
            send(port, ut2004::request(ut2004::Info));
            send(port, ut2004::request(ut2004::RulesAndPlayers));
            // A second attempt also asks the text protocol on game port + 10.
            if (m_attempts > 1 && !m_result.request.portIsQueryPort) {
                m_textFallback = true;
                sendText(textPort());
            }
            break;
        case Game::UT3:
            if (m_challenge)
                send(port, ut3::statusRequest(m_session, *m_challenge));
            else
                send(port, ut3::challengeRequest(m_session));
            break;
        }
        m_clock.start();
        m_stageStarted = m_result.request.game != Game::UT3 || m_challenge.has_value();
        m_attempt.start(m_result.request.timeoutMs);
    }

    void sendText(quint16 port)
    {
        // \teams\ goes alone: its team_N keys would clash with the players'.
        send(port, ut99::kStatusRequest);
        send(port, ut99::kTeamsRequest);
    }

    void send(quint16 port, const QByteArray& datagram) { m_client.send(m_result.address, port, datagram); }

    bool receiveUt3(const QByteArray& datagram)
    {
        if (!m_challenge) {
            const auto challenge = ut3::challengeFrom(datagram, m_session);
            if (!challenge)
                return false;
            m_challenge = challenge;
            m_attempts = 1;
            sendRequests();
            return true;
        }
        return m_ut3.add(datagram) || ut3::challengeFrom(datagram, m_session).has_value();
    }

    bool receiveText(quint16 port, const QByteArray& datagram)
    {
        if (!datagram.startsWith('\\'))
            return false;
        if (m_result.request.game == Game::UT2004 && port == textPort())
            m_textMode = true;
        // Packets are grouped by their reply's number N of "\queryid\N.M".
        const Pairs pairs = ut99::parsePairs(datagram);
        int reply = -1;
        for (const auto& [key, value] : pairs) {
            if (key == QLatin1String("queryid"))
                reply = value.section(QLatin1Char('.'), 0, 0).toInt();
        }
        m_textReplies[reply].add(datagram);
        if (isStatusReply(pairs))
            m_statusReply = reply;
        return true;
    }

    void checkDone(quint16 port)
    {
        switch (m_result.request.game) {
        case Game::UT3:
            if (m_ut3.complete())
                finish();
            return;
        case Game::UT2004:
            if (!m_textMode && port != textPort()) {
                if (m_ut2004.complete())
                    m_gap.start(kUt2004SettleMs);
                else if (m_ut2004.hasInfo())
                    m_gap.start(kQuietGapMs);
                return;
            }
            [[fallthrough]];
        case Game::UT99: {
            const ut99::Reply* status = textStatus();
            if (!status || !status->complete())
                return;
            const ut99::Reply* teams = textTeams();
            if (teams && teams->complete())
                finish();
            else
                m_gap.start(kQuietGapMs); // older servers never answer a teams request
            return;
        }
        }
    }

    const ut99::Reply* textStatus() const
    {
        const auto it = m_textReplies.find(m_statusReply);
        return m_statusReply >= -1 && it != m_textReplies.end() ? &it->second : nullptr;
    }

    const ut99::Reply* textTeams() const
    {
        for (const auto& [number, reply] : m_textReplies) {
            if (number != m_statusReply)
                return &reply;
        }
        return nullptr;
    }

    bool hasAnything() const
    {
        switch (m_result.request.game) {
        case Game::UT3: return m_ut3.hasAnyPacket();
        case Game::UT2004:
            if (!m_textMode)
                return m_ut2004.hasInfo();
            [[fallthrough]];
        case Game::UT99: return textStatus() != nullptr;
        }
        return false;
    }

    void attemptTimedOut()
    {
        if (hasAnything()) {
            finish();
            return;
        }
        if (m_attempts < 2) {
            ++m_attempts;
            sendRequests();
            return;
        }
        m_result.outcome = m_malformed ? QueryResult::Outcome::Malformed : QueryResult::Outcome::NoAnswer;
        finishWith();
    }

    void finish()
    {
        if (!hasAnything()) {
            m_result.outcome = QueryResult::Outcome::Malformed;
            finishWith();
            return;
        }
        ServerStatus status;
        switch (m_result.request.game) {
        case Game::UT3: status = m_ut3.status(); break;
        case Game::UT2004:
            if (!m_textMode) {
                status = m_ut2004.status();
                break;
            }
            [[fallthrough]];
        case Game::UT99: status = ut99::statusFrom(*textStatus(), textTeams(), m_result.request.game); break;
        }
        m_result.outcome = QueryResult::Outcome::Answered;
        m_result.status = std::move(status);
        finishWith();
    }

    void finishWith()
    {
        if (m_finished)
            return;
        m_finished = true;
        m_attempt.stop();
        m_gap.stop();
        m_done(m_result);
        m_client.finished(this);
    }

    QueryClient& m_client;
    Done m_done;
    QueryResult m_result;
    QTimer m_attempt, m_gap;
    QElapsedTimer m_clock;
    bool m_stageStarted = false;
    int m_attempts = 0;
    int m_malformed = 0;
    bool m_finished = false;
    // UT99 text protocol, and UT2004's on game port + 10.
    bool m_textFallback = false;
    bool m_textMode = false;
    std::map<int, ut99::Reply> m_textReplies;
    int m_statusReply = -2;
    ut2004::Reply m_ut2004;
    std::uint32_t m_session = 0;
    std::optional<std::int32_t> m_challenge;
    ut3::Reply m_ut3;
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
    if (address.setAddress(request.host)) {
        start(request, address, std::move(done));
        return;
    }
    QPointer<QueryClient> self(this);
    QHostInfo::lookupHost(request.host, this, [self, request, done = std::move(done)](const QHostInfo& info) {
        if (!self)
            return;
        // An IPv4 address where there is one: most game servers listen on IPv4 only.
        QHostAddress chosen;
        for (const QHostAddress& a : info.addresses()) {
            if (chosen.isNull() ||
                (a.protocol() == QAbstractSocket::IPv4Protocol && chosen.protocol() != QAbstractSocket::IPv4Protocol))
                chosen = a;
        }
        if (chosen.isNull()) {
            QueryResult result;
            result.request = request;
            result.outcome = QueryResult::Outcome::NotResolved;
            result.queryPort = queryPort(request);
            done(result);
            return;
        }
        self->start(request, chosen, done);
    });
}

void QueryClient::start(const QueryRequest& request, const QHostAddress& address,
                        std::function<void(const QueryResult&)> done)
{
    m_exchanges.push_back(std::make_unique<Exchange>(*this, request, address, std::move(done)));
    m_waiting.push_back(m_exchanges.back().get());
    if (!m_pacer->isActive())
        startWaiting();
}

void QueryClient::startWaiting()
{
    const std::size_t count = std::min(kBurst, m_waiting.size());
    const std::vector<Exchange*> now(m_waiting.begin(), m_waiting.begin() + static_cast<std::ptrdiff_t>(count));
    m_waiting.erase(m_waiting.begin(), m_waiting.begin() + static_cast<std::ptrdiff_t>(count));
    for (Exchange* exchange : now)
        exchange->start();
    if (!m_waiting.empty())
        m_pacer->start(kBurstGapMs);
}

void QueryClient::send(const QHostAddress& address, quint16 port, const QByteArray& datagram)
{
    QUdpSocket* socket = address.protocol() == QAbstractSocket::IPv6Protocol ? m_ipv6 : m_ipv4;
    socket->writeDatagram(datagram, address, port);
}

void QueryClient::readDatagrams(QUdpSocket* socket)
{
    while (socket->hasPendingDatagrams()) {
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
    // Not at once: the exchange may be in the middle of a call of its own.
    QMetaObject::invokeMethod(
        this,
        [this, exchange] { std::erase_if(m_exchanges, [exchange](const auto& e) { return e.get() == exchange; }); },
        Qt::QueuedConnection);
}

} // namespace gamequery
