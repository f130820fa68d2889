#include "serversweep.h"

#include <algorithm>

namespace gamequery {

quint16 SweptServer::gamePort() const
{
    const GameInfo& info = gameInfo(game);
    if (info.master != MasterProtocol::Ut99Text)
        return listed.port;
    if (result && result->status)
        return result->gamePort();
    return static_cast<quint16>(std::max(1, info.gamePortOf(listed.port)));
}

int Sweep::players() const
{
    int players = 0;
    for (const SweptServer& server : servers)
        if (server.result && server.result->status)
            players += server.result->status->playerCount;
    return players;
}

int Sweep::answered() const
{
    return static_cast<int>(std::count_if(servers.begin(), servers.end(),
                                          [](const SweptServer& s) { return s.result && s.result->status; }));
}

QueryRequest requestFor(Game game, const ListedServer& server, int timeoutMs)
{
    return {game, server.address.toString(), server.port, gameInfo(game).master == MasterProtocol::Ut99Text, timeoutMs};
}

void askListed(QueryClient& queries, Game game, const MasterLists& lists, int timeoutMs, bool listOnly,
               std::function<void(const Sweep&)> done)
{
    auto result = std::make_shared<Sweep>(Sweep{game, lists, {}, QDateTime::currentDateTimeUtc()});
    for (const ListedServer& listed : lists.servers)
        result->servers.push_back({listed, std::nullopt, game});
    auto left = std::make_shared<std::size_t>(result->servers.size());
    const auto finish = [result, done] {
        const auto players = [](const SweptServer& s) {
            return s.result && s.result->status ? s.result->status->playerCount : -1;
        };
        const auto roundTrip = [](const SweptServer& s) {
            return s.result && s.result->roundTripMs >= 0 ? s.result->roundTripMs : INT_MAX;
        };
        std::stable_sort(result->servers.begin(), result->servers.end(),
                         [&](const SweptServer& a, const SweptServer& b) {
                             return players(a) != players(b) ? players(a) > players(b) : roundTrip(a) < roundTrip(b);
                         });
        done(*result);
    };
    if (listOnly || *left == 0) {
        finish();
        return;
    }
    for (std::size_t i = 0; i < result->servers.size(); ++i) {
        queries.query(requestFor(game, result->servers[i].listed, timeoutMs),
                      [result, left, finish, i](const QueryResult& r) {
                          result->servers[i].result = r;
                          if (--*left == 0)
                              finish();
                      });
    }
}

void sweep(MasterClient& masters, QueryClient& queries, Game game, const std::vector<HostPort>& from, int timeoutMs,
           bool listOnly, std::function<void(const Sweep&)> done)
{
    masters.fetchAll(gameInfo(game).master, from,
                     [&queries, game, timeoutMs, listOnly, done](const MasterLists& lists) {
                         askListed(queries, game, lists, timeoutMs, listOnly, done);
                     });
}

} // namespace gamequery
