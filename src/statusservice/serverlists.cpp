#include "serverlists.h"

namespace statusservice {

namespace {

QStringList names(const std::vector<HostPort>& masters)
{
    QStringList names;
    for (const HostPort& master : masters)
        names << QStringLiteral("%1:%2").arg(master.host).arg(master.port);
    return names;
}

} // namespace

ServerLists::ServerLists(gamequery::QueryClient& queries, int timeoutMs, QObject* parent)
    : QObject(parent), m_queries(queries), m_masters(this), m_timeoutMs(timeoutMs)
{
}

const gamequery::Sweep* ServerLists::last(Game game) const
{
    const auto& last = m_games[static_cast<std::size_t>(game)].last;
    return last ? &*last : nullptr;
}

void ServerLists::get(Game game, const std::vector<HostPort>& masters, Done done)
{
    PerGame& per = m_games[static_cast<std::size_t>(game)];
    const bool fresh =
        per.last && per.sweptAt.isValid() && per.sweptAt.elapsed() < kSweepMs && per.listedFrom == names(masters);
    if (fresh) {
        done(*per.last);
        return;
    }
    per.waiting.push_back(std::move(done));
    if (per.waiting.size() == 1)
        sweep(game, masters);
}

void ServerLists::sweep(Game game, const std::vector<HostPort>& masters)
{
    PerGame& per = m_games[static_cast<std::size_t>(game)];
    const auto askServers = [this, game](const gamequery::MasterLists& lists) {
        gamequery::askListed(m_queries, game, lists, m_timeoutMs, false,
                             [this, game](const gamequery::Sweep& swept) { finish(game, swept); });
    };
    // The lists of a minute ago serve again; the servers on them are asked afresh.
    if (per.last && per.listedAt.isValid() && per.listedAt.elapsed() < kListMs && per.listedFrom == names(masters)) {
        askServers(per.last->lists);
        return;
    }
    per.listedAt.start();
    per.listedFrom = names(masters);
    m_masters.fetchAll(gameInfo(game).master, masters, askServers);
}

void ServerLists::finish(Game game, const gamequery::Sweep& sweep)
{
    PerGame& per = m_games[static_cast<std::size_t>(game)];
    per.last = sweep;
    per.sweptAt.start();
    const std::vector<Done> waiting = std::move(per.waiting);
    per.waiting.clear();
    for (const Done& done : waiting)
        done(sweep);
}

} // namespace statusservice
