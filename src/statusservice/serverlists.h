#pragma once

#include "gamequery/serversweep.h"

#include <QElapsedTimer>
#include <QObject>

#include <array>
#include <functional>
#include <optional>
#include <vector>

// The sweeps behind the list pages, shared by every client: a game's
// masters are asked at most once a minute and its servers at most once every
// 30 s, whatever the number of clients; a page waits for a sweep under way
// instead of starting another. No client can make it send more.
namespace statusservice {

class ServerLists : public QObject {
public:
    ServerLists(gamequery::QueryClient& queries, int timeoutMs, QObject* parent = nullptr);

    using Done = std::function<void(const gamequery::Sweep&)>;
    // A sweep of the game's servers from these masters, fresh enough: at once,
    // or when the sweep under way ends.
    void get(Game game, const std::vector<HostPort>& masters, Done done);
    // The game's last sweep, if there was one.
    const gamequery::Sweep* last(Game game) const;

    static constexpr int kListMs = 60000;
    static constexpr int kSweepMs = 30000;

private:
    struct PerGame {
        std::optional<gamequery::Sweep> last;
        QElapsedTimer sweptAt, listedAt;
        QStringList listedFrom; // the masters the lists came from
        std::vector<Done> waiting;
    };
    void sweep(Game game, const std::vector<HostPort>& masters);
    void finish(Game game, const gamequery::Sweep& sweep);

    gamequery::QueryClient& m_queries;
    gamequery::MasterClient m_masters;
    int m_timeoutMs;
    std::array<PerGame, kGames.size()> m_games;
};

} // namespace statusservice
