#pragma once

#include "diagnosis.h"
#include "gamequery/queryclient.h"
#include "httpserver.h"
#include "pagerequest.h"
#include "pages.h"
#include "ratelimiter.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QThreadPool>

#include <functional>
#include <vector>

// The web service behind every status address of the window: it answers the
// status pages by asking the game server over UDP, and serves the panes' start
// pages. Runs on the event loop of the thread that owns it.
namespace statusservice {

struct ServiceOptions {
    QHostAddress address = QHostAddress::LocalHost;
    quint16 port = 17777;
    int timeoutMs = 1000;  // per attempt; a silent server is asked twice
    int maxInFlight = 256; // queries under way at once, from everyone
    int maxPerClient = 16; // from one browser's address
    int shareMs = 2000;    // identical queries this close share one answer
    HttpLimits http;
    // Where queries may go: public servers only, unless the service is a LAN's.
    gamequery::Destinations destinations = gamequery::Destinations::Public;
    // Budgets: so many at once, and one more every so many ms; off for load
    // tests only, with the Refresh link's limit too.
    bool budgets = true;
    struct Budget {
        int burst, refillMs;
    };
    Budget clientQueries{30, 1000}; // queries a client's pages send (IPv6 clients by /64)
    Budget serverQueries{10, 1000}; // queries sent to one server host
    Budget startPages{10, 1000};    // start pages for one client
    Budget probes{8, 2000};         // other ports and pings of a silent server's host
    // Answer only requests whose Host field names the service's own address
    // and port, so a page of another site cannot reach it by a name that
    // resolves to it (DNS rebinding).
    bool ownHostOnly = false;
    QString voiceChatHost;
    // The preset servers the start pages show: game, host, port as the window's presets give them.
    struct Preset {
        Game game;
        QString label, host, port;
    };
    std::vector<Preset> presets;
    // The desktop program's favourites folder: its start pages show the
    // game's favourites too. Empty: a public service, which keeps none.
    QString favouritesFolder;
    // A query that got no answer: how long its page may spend finding out
    // why (ping, other ports), and the echo it sends.
    int diagnosisMs = 2000;
    EchoSender echo = systemEcho;
};

class StatusService : public QObject {
    Q_OBJECT
public:
    explicit StatusService(ServiceOptions options, QObject* parent = nullptr);

    bool start();
    QString errorString() const { return m_server.errorString(); }
    bool addressInUse() const { return m_server.addressInUse(); }
    quint16 port() const { return m_server.port(); }
    // UDP queries sent so far (identical ones within shareMs count once).
    int queriesSent() const { return m_queriesSent; }

private:
    using Answer = std::function<void(const gamequery::QueryResult&)>;

    void handle(const HttpRequest& request, HttpReply reply);
    bool isOwnHost(const QByteArray& host) const;
    void answerStatus(const PageRequest& page, const QHostAddress& client, HttpReply reply);
    void answerStart(const PageRequest& page, HttpReply reply);
    // A start page's line for a server given as its status page takes it;
    // the query that fills it, if it is to be asked, goes to queries.
    ServerLine startLine(Game game, const QString& label, const QString& host, const QString& pagePort,
                         const QString& webPort, std::vector<std::optional<gamequery::QueryRequest>>& queries) const;
    // Why a request gets no page: its status and the seconds to wait.
    struct Refusal {
        int status;
        qint64 retryAfterS;
    };
    // Asks a server, or joins an identical query under way or just answered.
    // A refresh asks afresh once per sharing window. Refused when a budget or
    // the bounds on queries under way say no; client is null for the
    // service's own queries, which probes are, paid from the host's probes budget.
    std::optional<Refusal> ask(const gamequery::QueryRequest& request, bool refresh, const QHostAddress& client,
                               Answer answer, bool probe = false);
    std::optional<Refusal> spend(RateLimiter& budget, const QString& key);
    void refuse(const PageRequest& page, const Refusal& refusal, HttpReply& reply);
    // Finds out why a query got no answer, then sends the page that says so.
    void diagnose(const PageRequest& page, const gamequery::QueryResult& silent, std::shared_ptr<HttpReply> reply);

    struct Shared {
        std::vector<Answer> waiting; // empty once answered
        std::optional<gamequery::QueryResult> result;
        QDateTime answeredAt;
        bool refreshed = false; // asked by a refresh
    };

    ServiceOptions m_options;
    HttpServer m_server;
    gamequery::QueryClient m_client;
    QHash<QString, Shared> m_shared;
    QHash<QString, int> m_perClient;
    QElapsedTimer m_clock;
    RateLimiter m_clientQueries, m_serverQueries, m_startPages, m_probes;
    int m_inFlight = 0;
    int m_queriesSent = 0;
    QThreadPool m_echoes; // the blocking pings, a few at a time; last, so it is waited for first
};

} // namespace statusservice
