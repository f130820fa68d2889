#pragma once

#include "buildconfig.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// The three games the program serves, and what differs between them as data:
// one descriptor per game. Other code asks the descriptor instead of
// switching on the game.
enum class Game { UT99, UT2004, UT3 };

// How a game's servers answer a status query, named after the game that
// brought it; the query code chooses its exchange on this alone.
enum class QueryProtocol { Ut99Text, Ut2004Binary, Ut3 };
// How a game's master servers list its live servers; None: no list.
enum class MasterProtocol { None, Ut99Text, Ut2004Binary };

struct GameInfo {
    Game game;
    const char* id;          // "ut2004": on the command line and in JSON
    const char* title;       // "UT 2004": on pages
    QueryProtocol protocol;  // the status query its servers answer
    quint16 defaultPort;     // a query without a port: the game port (UT99, UT2004) or UT3's query port
    int queryPortOffset;     // the query port is the game port + this; 0: the port given is the query port
    int textPortOffset;      // UT2004 also answers the UT99 text protocol on the game port + this; 0: no such
    bool pageTakesQueryPort; // its status page address carries the query port, else the game port
    const char* pageClass;   // the status pages' colour scheme: a class of their body
    // The window's background pictures, as 0xAARRGGBB: the deep colour, the glow and the plate lines.
    std::uint32_t deepColour, glowColour, lineColour;
    // Where else on a silent server's host its query may answer: offsets from
    // the query port asked (the game port typed for the query port, or the
    // reverse; a query port moved up because servers share the host), or,
    // where strayPortsFixed, the ports themselves. 0: none.
    std::array<int, 3> strayQueryPorts;
    bool strayPortsFixed;
    MasterProtocol master;
    const char* defaultMasters; // HOST:PORT,HOST:PORT: the community masters, as built

    // The port arithmetic of the game, in one place. Ports past 65535 do not
    // wrap: there is no such port, and 0 says so.
    // The query port of a game port (UT3: of its query port).
    constexpr quint16 queryPortOf(int gamePort) const { return valid(gamePort + queryPortOffset); }
    constexpr int gamePortOf(int queryPort) const { return queryPort - queryPortOffset; }
    // The port a status page's address carries for a query port.
    constexpr int pagePortOf(int queryPort) const { return pageTakesQueryPort ? queryPort : gamePortOf(queryPort); }
    // Where the text protocol answers beside a query port; 0: nowhere.
    constexpr quint16 textPortOf(int queryPort) const
    {
        return textPortOffset ? valid(gamePortOf(queryPort) + textPortOffset) : 0;
    }

private:
    static constexpr quint16 valid(int port) { return port > 0 && port <= 65535 ? static_cast<quint16>(port) : 0; }
};

// One row a game.
// clang-format off
inline constexpr std::array<GameInfo, 3> kGames{{
    {Game::UT99, "ut99", "UT99", QueryProtocol::Ut99Text, 7777, 1, 0, true, "ut99",
     0xFF120604, 0xFF78220A, 0x1CFF7828, {1, 2, 3}, false, MasterProtocol::Ut99Text, UTQ_UT99_MASTERS},
    {Game::UT2004, "ut2004", "UT 2004", QueryProtocol::Ut2004Binary, 7777, 1, 10, false, "",
     0xFF040A18, 0xFF143C78, 0x1C5AAAFF, {-1, 1, 0}, false, MasterProtocol::Ut2004Binary, UTQ_UT2004_MASTERS},
    {Game::UT3, "ut3", "UT3", QueryProtocol::Ut3, 6500, 0, 0, true, "",
     0xFF060E08, 0xFF285028, 0x1C96DC78, {6500, 6600, 6700}, true, MasterProtocol::None, ""},
}};
// clang-format on

inline constexpr const GameInfo& gameInfo(Game game) { return kGames[static_cast<std::size_t>(game)]; }

// The other query ports worth asking on the host of a silent query port.
std::vector<quint16> strayQueryPorts(Game game, quint16 silentPort);

// The game of an id ("ut99", any letter case), if any.
std::optional<Game> gameFromId(const QString& id);
