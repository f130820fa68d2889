#pragma once

#include "masterclient.h"
#include "queryclient.h"

#include <QDateTime>

#include <functional>

// A sweep of a game's live servers: the masters' lists, then every listed
// server asked at once.
namespace gamequery {

struct SweptServer {
    ListedServer listed;
    std::optional<QueryResult> result; // none where only the list was fetched
    // The game port a player joins: the one the reply names (UT99's
    // hostport), else the list's (UT2004) or its query port's game port.
    quint16 gamePort() const;
    Game game = Game::UT99;
};

struct Sweep {
    Game game = Game::UT99;
    MasterLists lists;
    std::vector<SweptServer> servers; // most players first, then the quickest
    QDateTime at;                     // when the lists came
    int players() const;              // on every server that answered
    int answered() const;
};

// How a listed server is asked: UT99's lists give query ports, UT2004's game ports.
QueryRequest requestFor(Game game, const ListedServer& server, int timeoutMs);

// Asks every server on the lists (none where listOnly); done is called once,
// with the servers sorted.
void askListed(QueryClient& queries, Game game, const MasterLists& lists, int timeoutMs, bool listOnly,
               std::function<void(const Sweep&)> done);
// Fetches the lists of the masters, then asks the servers as askListed does.
void sweep(MasterClient& masters, QueryClient& queries, Game game, const std::vector<HostPort>& from, int timeoutMs,
           bool listOnly, std::function<void(const Sweep&)> done);

} // namespace gamequery
