#pragma once

#include "core/game.h"
#include "core/hostport.h"
#include "echo.h"
#include "gamequery/destinations.h"
#include "http/httpserver.h"
#include "watch/watchrules.h"

#include <QHostAddress>
#include <QString>

#include <functional>
#include <vector>

// How a status service runs: where it listens, its bounds and budgets, what
// its start pages show.
namespace statusservice {

struct ServiceOptions {
    QHostAddress address = QHostAddress::LocalHost;
    quint16 port = 17777;
    int timeoutMs = 1000;  // per attempt; a silent server is asked twice
    int maxInFlight = 256; // queries under way at once, from everyone
    int maxPerClient = 16; // from one browser's address
    int shareMs = 2000;    // identical queries this close share one answer
    http::HttpLimits http;
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
    // The masters of the list pages, by game: where any is given for a game,
    // they replace its others.
    std::vector<std::pair<Game, HostPort>> masters;
    // A query that got no answer: how long its page may spend finding out
    // why (ping, other ports), and the echo it sends.
    int diagnosisMs = 2000;
    EchoSender echo = systemEcho;
    // The watch: at start and then every watchIntervalMs, the favourites that
    // the folder's watch.ini watches are asked, and they and the last sweeps
    // of the lists are searched for its friends; news goes to onNews, on the
    // service's thread. Unset: nothing is watched.
    std::function<void(const watch::News&)> onNews;
    int watchIntervalMs = 60 * 1000;
};

} // namespace statusservice
