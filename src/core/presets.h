#pragma once

#include "buildconfig.h"
#include "game.h"

// The clan's servers the program offers: the items of the query tabs' preset
// lists, in order, and the servers the status service's start pages show.
struct PresetServer {
    Game game;
    const char* label; // the list's item
    const char* host;
    quint16 port;    // as a query takes it: the game port (UT3: its query port)
    quint16 webPort; // UT3's web statistics port; 0: none
};

// The clan's UT2004 server is gone; its preset says so in the host field.
inline constexpr PresetServer kPresetServers[] = {
    {Game::UT99, "{Qev} US", UTQ_PRESET_HOST_A, gameInfo(Game::UT99).defaultPort, 0},
    {Game::UT99, "{Qev} UK", UTQ_PRESET_HOST_B, gameInfo(Game::UT99).defaultPort, 0},
    {Game::UT2004, "{Qev}", "Server Closed", gameInfo(Game::UT2004).defaultPort, 0},
    {Game::UT3, "{Qev}", UTQ_PRESET_HOST_B, gameInfo(Game::UT3).defaultPort, 0},
};
