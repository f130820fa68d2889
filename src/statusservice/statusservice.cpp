#include "statusservice.h"

#include "core/hostport.h"
#include "core/routes.h"
#include "diagnosis.h"
#include "favourites/favouritesfile.h"
#include "favourites/savedservers.h"
#include "favourites/watchlist.h"
#include "pagerequest.h"
#include "pages.h"
#include "ratelimiter.h"
#include "serverlists.h"
#include "sharedanswers.h"
#include "watch/watchrules.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFutureWatcher>
#include <QHash>
#include <QThreadPool>
#include <QTimer>
#include <QtConcurrent>

#include <utility>

namespace statusservice {

using http::clientOf;
using http::HttpReply;
using http::HttpRequest;
using http::HttpServer;

namespace {

const QByteArray kHtml = "text/html; charset=utf-8";

gamequery::QueryRequest queryFor(Game game, const HostPort& endpoint, int timeoutMs)
{
    gamequery::QueryRequest r;
    r.game = game;
    r.host = endpoint.host;
    r.port = endpoint.port;
    r.portIsQueryPort = gameInfo(game).pageTakesQueryPort;
    r.timeoutMs = timeoutMs;
    return r;
}

} // namespace

class StatusService::Pages : public QObject {
public:
    explicit Pages(ServiceOptions options);

    bool start() { return m_server.listen(m_options.address, m_options.port); }
    const HttpServer& server() const { return m_server; }
    int queriesSent() const { return m_queriesSent; }

private:
    using Answer = SharedAnswers::Answer;

    void handle(const HttpRequest& request, HttpReply reply);
    bool isOwnHost(const QByteArray& host) const;
    void answerStatus(const PageRequest& page, const QHostAddress& client, HttpReply reply);
    void answerStart(const PageRequest& page, HttpReply reply);
    void answerList(const PageRequest& page, HttpReply reply);
    // The masters the service asks for a game's list: its options', else
    // masters.ini's in the favourites folder, else the build's.
    std::vector<HostPort> mastersOf(Game game) const;
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
    // Asks the watched favourites and searches the lists' last sweeps for friends.
    void watchRound();
    void tellNews(watch::News news, const gamequery::QueryResult& result, bool watchFill, const QStringList& friends);

    ServiceOptions m_options;
    HttpServer m_server;
    gamequery::QueryClient m_client;
    SharedAnswers m_shared;
    ServerLists m_lists;
    QHash<QString, int> m_perClient;
    QElapsedTimer m_clock;
    RateLimiter m_clientQueries, m_serverQueries, m_startPages, m_probes;
    int m_inFlight = 0;
    int m_queriesSent = 0;
    watch::WatchRules m_watchRules;
    QTimer m_watchTimer;
    QThreadPool m_echoes; // the blocking pings, a few at a time; last, so it is waited for first
};

StatusService::StatusService(ServiceOptions options, QObject* parent)
    : QObject(parent), m_pages(std::make_unique<Pages>(std::move(options)))
{
}

StatusService::~StatusService() = default;

bool StatusService::start() { return m_pages->start(); }
QString StatusService::errorString() const { return m_pages->server().errorString(); }
bool StatusService::addressInUse() const { return m_pages->server().addressInUse(); }
quint16 StatusService::port() const { return m_pages->server().port(); }
int StatusService::queriesSent() const { return m_pages->queriesSent(); }

StatusService::Pages::Pages(ServiceOptions options)
    : m_options(std::move(options)),
      m_server([this](const HttpRequest& request, HttpReply reply) { handle(request, std::move(reply)); },
               m_options.http),
      m_client(this), m_shared(m_options.shareMs, this), m_lists(m_client, m_options.timeoutMs, this),
      m_clientQueries(m_options.clientQueries.burst, m_options.clientQueries.refillMs),
      m_serverQueries(m_options.serverQueries.burst, m_options.serverQueries.refillMs),
      m_startPages(m_options.startPages.burst, m_options.startPages.refillMs),
      m_probes(m_options.probes.burst, m_options.probes.refillMs)
{
    m_client.setDestinations(m_options.destinations);
    m_clock.start();
    m_echoes.setMaxThreadCount(8);
    if (m_options.onNews && !m_options.favouritesFolder.isEmpty()) {
        connect(&m_watchTimer, &QTimer::timeout, this, &Pages::watchRound);
        m_watchTimer.start(m_options.watchIntervalMs);
        QTimer::singleShot(0, this, &Pages::watchRound);
    }
}

void StatusService::Pages::watchRound()
{
    const favourites::WatchList watch = favourites::readWatchList(m_options.favouritesFolder);
    for (const GameInfo& info : kGames) {
        for (const favourites::SavedServer& saved : favourites::savedServers(info.game, m_options.favouritesFolder)) {
            const std::optional<HostPort> endpoint = usableEndpoint(saved.host, saved.port);
            if (!watch.watches(info.game, saved.row) || !endpoint)
                continue;
            const watch::News about{.game = info.game,
                                    .slot = saved.row,
                                    .host = saved.host,
                                    .statusPath =
                                        statusPath(statusRoute(info.game), {saved.host, saved.port, saved.webPort})};
            ask(queryFor(info.game, *endpoint, m_options.timeoutMs), false, {},
                [this, about, friends = watch.friends](const gamequery::QueryResult& result) {
                    tellNews(about, result, true, friends);
                });
        }
        const gamequery::Sweep* sweep = m_lists.last(info.game);
        if (!sweep || watch.friends.isEmpty())
            continue;
        for (const gamequery::SweptServer& server : sweep->servers) {
            if (!server.result)
                continue;
            const QString host = server.listed.address.toString();
            const QString pagePort = QString::number(info.pagePortOf(server.result->queryPort));
            tellNews({.game = info.game,
                      .host = host,
                      .statusPath = statusPath(statusRoute(info.game), {host, pagePort, QStringLiteral("0")})},
                     *server.result, false, watch.friends);
        }
    }
}

void StatusService::Pages::tellNews(watch::News news, const gamequery::QueryResult& result, bool watchFill,
                                    const QStringList& friends)
{
    const gamequery::ServerStatus* status = result.status ? &*result.status : nullptr;
    const QString server = QStringLiteral("%1 %2:%3")
                               .arg(QLatin1String(gameInfo(news.game).id), result.address.toString())
                               .arg(result.queryPort);
    const std::optional<watch::Sighting> sighting =
        m_watchRules.answer(server, status, friends, watchFill, m_clock.elapsed());
    if (!sighting || !status)
        return;
    news.gamePort = result.gamePort();
    news.name = status->name.plain();
    news.map = status->map;
    news.players = status->playerCount;
    news.maxPlayers = status->maxPlayers;
    news.who = sighting->friends;
    if (news.who.isEmpty())
        news.who = watch::humanNames(*status);
    m_options.onNews(news);
}

void StatusService::Pages::handle(const HttpRequest& request, HttpReply reply)
{
    if (m_options.ownHostOnly && !isOwnHost(request.host)) {
        reply.send(403, "text/plain; charset=utf-8", "this service answers by its own address only\n");
        return;
    }
    const PageRequest page = parseRequest(request.target);
    switch (page.kind) {
    case PageRequest::Kind::Status: answerStatus(page, request.peer, std::move(reply)); return;
    case PageRequest::Kind::Start:
        if (page.start == StartPage::VoiceChat) {
            reply.send(200, kHtml, voiceChatPage(m_options.voiceChatHost));
        } else if (const auto refusal = spend(m_startPages, clientOf(request.peer))) {
            refuse(page, *refusal, reply);
        } else {
            answerStart(page, std::move(reply));
        }
        return;
    case PageRequest::Kind::List:
        if (const auto refusal = spend(m_startPages, clientOf(request.peer)))
            refuse(page, *refusal, reply);
        else
            answerList(page, std::move(reply));
        return;
    case PageRequest::Kind::NotFound: reply.send(404, kHtml, notFoundPage()); return;
    }
}

void StatusService::Pages::answerList(const PageRequest& page, HttpReply reply)
{
    if (gameInfo(page.game).master == MasterProtocol::None) {
        reply.send(200, kHtml, serverListPage(page, nullptr));
        return;
    }
    auto shared = std::make_shared<HttpReply>(std::move(reply));
    m_lists.get(page.game, mastersOf(page.game), [page, shared](const gamequery::Sweep& sweep) {
        shared->send(200, kHtml, serverListPage(page, &sweep));
    });
}

std::vector<HostPort> StatusService::Pages::mastersOf(Game game) const
{
    std::vector<HostPort> given;
    for (const auto& [of, master] : m_options.masters)
        if (of == game)
            given.push_back(master);
    if (!given.empty())
        return given;
    QFile file(m_options.favouritesFolder + QStringLiteral("/masters.ini"));
    if (!m_options.favouritesFolder.isEmpty() && file.open(QIODevice::ReadOnly)) {
        const QString listed =
            favourites::profileValue(file.read(64 * 1024), QLatin1String(gameInfo(game).id), QStringLiteral("masters"));
        if (!listed.trimmed().isEmpty())
            return gamequery::mastersFrom(listed);
    }
    return gamequery::mastersFrom(QLatin1String(gameInfo(game).defaultMasters));
}

bool StatusService::Pages::isOwnHost(const QByteArray& host) const
{
    const QString port = QString::number(m_server.port());
    const QHostAddress& address = m_options.address;
    const QString name = address.protocol() == QAbstractSocket::IPv6Protocol
                             ? QLatin1Char('[') + address.toString() + QLatin1Char(']')
                             : address.toString();
    const QString given = QString::fromLatin1(host).toLower();
    return given == name + QLatin1Char(':') + port ||
           (address.isLoopback() && given == QStringLiteral("localhost:") + port);
}

void StatusService::Pages::answerStatus(const PageRequest& asked, const QHostAddress& client, HttpReply reply)
{
    const std::optional<HostPort> endpoint = usableEndpoint(asked.host, asked.port);
    if (!endpoint) {
        reply.send(200, kHtml, problemPage(asked, Problem::NoAddress));
        return;
    }
    PageRequest page = asked;
    page.host = endpoint->host; // as asked: the page and its links show nothing else
    const gamequery::QueryRequest request = queryFor(page.game, *endpoint, m_options.timeoutMs);
    if (isReservedName(endpoint->host)) {
        reply.send(200, kHtml, problemPage(page, Problem::NotResolved));
        return;
    }
    auto shared = std::make_shared<HttpReply>(std::move(reply));
    const auto refusal = ask(request, page.refresh, client, [this, page, shared](const auto& result) {
        using Outcome = gamequery::QueryResult::Outcome;
        if (result.status) {
            shared->send(200, kHtml, statusPage(page, result, QDateTime::currentDateTime()));
            return;
        }
        const Problem problem = result.outcome == Outcome::NoQueryPort   ? Problem::NoAddress
                                : result.outcome == Outcome::NotResolved ? Problem::NotResolved
                                : result.outcome == Outcome::Refused     ? Problem::Refused
                                : result.outcome == Outcome::Malformed   ? Problem::Malformed
                                                                         : Problem::NoAnswer;
        if (problem == Problem::NoAnswer && !result.address.isNull())
            diagnose(page, result, shared);
        else
            shared->send(200, kHtml, problemPage(page, problem, result.queryPort));
    });
    if (refusal)
        refuse(page, *refusal, *shared);
}

void StatusService::Pages::diagnose(const PageRequest& page, const gamequery::QueryResult& silent,
                                    std::shared_ptr<HttpReply> reply)
{
    struct Pending {
        Findings findings;
        int left = 0;
        bool sent = false;
    };
    auto pending = std::make_shared<Pending>();
    pending->findings.address = silent.address;
    const auto send = [page, reply, pending, port = silent.queryPort] {
        if (!std::exchange(pending->sent, true))
            reply->send(200, kHtml, problemPage(page, Problem::NoAnswer, port, &pending->findings));
    };
    const auto oneDone = [pending, send] {
        if (--pending->left == 0)
            send();
    };
    const GameInfo& game = gameInfo(page.game);
    for (const quint16 port : strayQueryPorts(page.game, silent.queryPort)) {
        gamequery::QueryRequest request{page.game, silent.address.toString(), port, true,
                                        m_options.diagnosisMs * 2 / 5};
        const QString pagePort = QString::number(game.pagePortOf(port));
        const QString link = statusPath(
            statusRoute(page.game), {page.host, pagePort, page.webPort.isEmpty() ? QStringLiteral("0") : page.webPort});
        ++pending->left;
        const auto refusal = ask(
            request, false, {},
            [pending, oneDone, port, link](const auto& result) {
                if (result.status)
                    pending->findings.answering.push_back({port, link});
                oneDone();
            },
            true);
        if (refusal)
            --pending->left;
    }
    if (m_echoes.activeThreadCount() < m_echoes.maxThreadCount() && !spend(m_probes, silent.address.toString())) {
        ++pending->left;
        auto* watcher = new QFutureWatcher<Echo>(this);
        connect(watcher, &QFutureWatcher<Echo>::finished, this, [watcher, pending, oneDone] {
            pending->findings.echo = watcher->result();
            watcher->deleteLater();
            oneDone();
        });
        watcher->setFuture(QtConcurrent::run(&m_echoes, m_options.echo, silent.address, m_options.diagnosisMs / 2));
    }
    if (pending->left == 0)
        send();
    else
        QTimer::singleShot(m_options.diagnosisMs, this, send); // with whatever is known by then
}

void StatusService::Pages::refuse(const PageRequest& page, const Refusal& refusal, HttpReply& reply)
{
    const QByteArray retryAfter = "Retry-After: " + QByteArray::number(refusal.retryAfterS) + "\r\n";
    reply.send(refusal.status, kHtml, problemPage(page, refusal.status == 429 ? Problem::TooMany : Problem::Busy),
               retryAfter);
}

void StatusService::Pages::answerStart(const PageRequest& page, HttpReply reply)
{
    const Game game = page.game;
    struct Pending {
        std::vector<ServerLine> presets;
        std::optional<std::vector<ServerLine>> favourites;
        QStringList friends;
        int left = 0;
        HttpReply reply;
        PageRequest page;
    };
    auto pending = std::make_shared<Pending>(Pending{{}, std::nullopt, {}, 0, std::move(reply), page});
    std::vector<std::optional<gamequery::QueryRequest>> presetQueries, favouriteQueries;
    for (const ServiceOptions::Preset& preset : m_options.presets) {
        // Presets give game ports (UT3 its query port), status pages take their own.
        const std::optional<HostPort> endpoint = usableEndpoint(preset.host, preset.port);
        const GameInfo& info = gameInfo(game);
        const QString pagePort =
            endpoint ? QString::number(info.pagePortOf(info.queryPortOf(endpoint->port))) : QString();
        if (preset.game == game)
            pending->presets.push_back(
                startLine(game, preset.label, preset.host, pagePort, QStringLiteral("0"), presetQueries));
    }
    if (!m_options.favouritesFolder.isEmpty()) {
        pending->favourites.emplace();
        const favourites::WatchList watch = favourites::readWatchList(m_options.favouritesFolder);
        pending->friends = watch.friends;
        for (const favourites::SavedServer& saved : favourites::savedServers(game, m_options.favouritesFolder)) {
            const QString label = QStringLiteral("%1. %2").arg(saved.row).arg(saved.name);
            pending->favourites->push_back(
                startLine(game, label, saved.host, saved.port, saved.webPort, favouriteQueries));
            pending->favourites->back().slot = saved.row;
            pending->favourites->back().watched = watch.watches(game, saved.row);
        }
    }
    const auto finish = [this, pending] {
        pending->reply.send(200, kHtml,
                            startPage(pending->page, pending->presets, pending->favourites, pending->friends,
                                      m_lists.last(pending->page.game)));
    };
    std::vector<std::pair<ServerLine*, gamequery::QueryRequest>> toAsk;
    for (std::size_t i = 0; i < presetQueries.size(); ++i)
        if (presetQueries[i])
            toAsk.emplace_back(&pending->presets[i], *presetQueries[i]);
    for (std::size_t i = 0; i < favouriteQueries.size(); ++i)
        if (favouriteQueries[i])
            toAsk.emplace_back(&(*pending->favourites)[i], *favouriteQueries[i]);
    pending->left = static_cast<int>(toAsk.size());
    if (toAsk.empty()) {
        finish();
        return;
    }
    for (const auto& [line, request] : toAsk) {
        ServerLine* const asked = line;
        const auto refusal = ask(request, false, {}, [pending, asked, finish](const auto& result) {
            asked->result = result;
            if (--pending->left == 0)
                finish();
        });
        if (refusal) {
            asked->note = refusal->status == 429 ? QStringLiteral("not asked: asked too often just now")
                                                 : QStringLiteral("not asked: too many queries under way");
            if (--pending->left == 0)
                finish();
        }
    }
}

ServerLine StatusService::Pages::startLine(Game game, const QString& label, const QString& host,
                                           const QString& pagePort, const QString& webPort,
                                           std::vector<std::optional<gamequery::QueryRequest>>& queries) const
{
    ServerLine line{label, {}, std::nullopt, {}};
    std::optional<gamequery::QueryRequest> query;
    const std::optional<HostPort> endpoint = usableEndpoint(host, pagePort);
    if (!endpoint) {
        line.note = QStringLiteral("closed");
    } else {
        line.statusLink = statusPath(statusRoute(game), {host, pagePort, webPort});
        if (isReservedName(endpoint->host))
            line.note = QStringLiteral("the name %1 did not resolve").arg(endpoint->host);
        else
            query = queryFor(game, *endpoint, m_options.timeoutMs);
    }
    queries.push_back(query);
    return line;
}

std::optional<StatusService::Pages::Refusal> StatusService::Pages::spend(RateLimiter& budget, const QString& key)
{
    qint64 waitMs = 0;
    if (!m_options.budgets || budget.take(key, m_clock.elapsed(), &waitMs))
        return std::nullopt;
    return Refusal{429, (waitMs + 999) / 1000};
}

std::optional<StatusService::Pages::Refusal> StatusService::Pages::ask(const gamequery::QueryRequest& request,
                                                                       bool refresh, const QHostAddress& client,
                                                                       Answer answer, bool probe)
{
    const QString id = SharedAnswers::keyOf(request);
    if (m_shared.join(id, refresh, m_options.budgets, answer))
        return std::nullopt;
    const QString clientId = client.isNull() ? QString() : clientOf(client);
    if (m_inFlight >= m_options.maxInFlight || m_perClient.value(clientId) >= m_options.maxPerClient)
        return Refusal{503, 1};
    if (!client.isNull()) {
        if (auto refusal = spend(m_clientQueries, clientId))
            return refusal;
    }
    if (auto refusal = spend(probe ? m_probes : m_serverQueries, request.host))
        return refusal;
    ++m_inFlight;
    ++m_perClient[clientId];
    ++m_queriesSent;
    m_shared.started(id, std::move(answer), refresh);
    m_client.query(request, [this, id, clientId](const gamequery::QueryResult& result) {
        --m_inFlight;
        if (--m_perClient[clientId] <= 0)
            m_perClient.remove(clientId);
        m_shared.answered(id, result);
    });
    return std::nullopt;
}

} // namespace statusservice
