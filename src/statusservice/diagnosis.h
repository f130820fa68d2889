#pragma once

#include "core/game.h"
#include "echo.h"

#include <QString>

#include <vector>

// What the service finds out about a server whose query got no answer: does
// its host answer ping, and does the game's query answer on another of the
// usual ports of that host.
namespace statusservice {

struct Findings {
    QHostAddress address; // where the silent query went
    Echo echo;
    struct Answering {
        quint16 queryPort;
        QString statusLink; // the status page of the server found there
    };
    std::vector<Answering> answering;
};

} // namespace statusservice
