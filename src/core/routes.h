#pragma once

#include "game.h"

#include <QString>

#include <array>

// The status service's addresses, one table for building them (the window),
// parsing them (the service) and linking to them (its pages).

// A status page: path "?" host key "=" host "&" port key "=" port, then for
// UT3 "&" web port key "=" web port, then fixed parameters.
struct StatusRoute {
    Game game;
    const char* path;
    const char* hostKey;
    const char* portKey;       // UT99: the query port; UT2004: the game port; UT3: the query port
    const char* secondPortKey; // UT3: its web statistics port; nullptr: none
    const char* tail;          // "&key=value..." the page always carries
};

inline constexpr StatusRoute kUt99StatusPage{Game::UT99, "/php/UTstats/index.php", "txtip", "portnum", nullptr, ""};
inline constexpr StatusRoute kUt2004StatusPage{
    Game::UT2004, "/phpnuke/html/SQuery/index.php", "ip", "port", nullptr, "&game=UT2004&block=1"};
inline constexpr StatusRoute kUt3QueryStatusPage{
    Game::UT3, "/Qev/UT3Query/ut3query.php", "serverip", "serverqport", "serverwport", ""};
inline constexpr StatusRoute kUt3FavouritesStatusPage{
    Game::UT3, "/UT3Query/ut3query.php", "serverip", "serverqport", "serverwport", ""};
inline constexpr std::array<const StatusRoute*, 4> kStatusRoutes{&kUt99StatusPage, &kUt2004StatusPage,
                                                                 &kUt3QueryStatusPage, &kUt3FavouritesStatusPage};

// The pages the panes start on, and the voice-chat page.
enum class StartPage { Ut99Lobby, Ut2004Start, Ut3Start, VoiceChat };
struct StartRoute {
    StartPage page;
    Game game;
    const char* path;
};
inline constexpr std::array<StartRoute, 4> kStartRoutes{{
    {StartPage::Ut99Lobby, Game::UT99, "/php/UTstats/lobby2.html"},
    {StartPage::Ut2004Start, Game::UT2004, "/Qev/04query.html"},
    {StartPage::Ut3Start, Game::UT3, "/Qev/ut3query.html"},
    {StartPage::VoiceChat, Game::UT99, "/Qev/TS3/index.php"},
}};
inline constexpr const StartRoute& startRoute(StartPage page) { return kStartRoutes[static_cast<std::size_t>(page)]; }
// A game's start page: the one its pages lead home to.
inline constexpr const StartRoute& startRoute(Game game) { return kStartRoutes[static_cast<std::size_t>(game)]; }
static_assert(kStartRoutes[0].game == Game::UT99 && kStartRoutes[1].game == Game::UT2004 &&
              kStartRoutes[2].game == Game::UT3);

// The list of a game's live servers from its masters; its form's fields.
struct ListRoute {
    Game game;
    const char* path;
};
inline constexpr std::array<ListRoute, 3> kListRoutes{{
    {Game::UT99, "/servers/ut99"},
    {Game::UT2004, "/servers/ut2004"},
    {Game::UT3, "/servers/ut3"},
}};
inline constexpr const ListRoute& listRoute(Game game) { return kListRoutes[static_cast<std::size_t>(game)]; }

// The texts of a server address as the window's fields hold them. Nothing here
// is parsed or validated: a status page is asked about exactly what was typed.
struct ServerFields {
    QString host;
    QString port;
    QString secondPort; // UT3 only: the server's web statistics port
};

// The route with the fields as they stand, from its path on: no trimming, no
// percent-encoding, no defaults for empty texts. A page's links use it as is.
QString statusPath(const StatusRoute& route, const ServerFields& server);
// "http://" + web host + that.
QString statusAddress(const QString& webHost, const StatusRoute& route, const ServerFields& server);
// The status page a game's query tab and its pages' links use.
const StatusRoute& statusRoute(Game game);

// "http://" + web host + path: the address of a start page.
QString startPageAddress(const QString& webHost, const QString& path);
