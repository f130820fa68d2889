#pragma once

#include "core/game.h"

#include <QHostAddress>
#include <QString>

#include <functional>
#include <vector>

// What the service finds out about a server whose query got no answer: does
// its host answer ping, and does the game's query answer on another of the
// usual ports of that host.
namespace statusservice {

struct Echo {
    enum class Kind { NotTried, Answered, Silent, NotPermitted };
    Kind kind = Kind::NotTried;
    int roundTripUs = 0;
};
// One ICMP echo to an address, waiting up to timeoutMs; it blocks, so the
// service calls it on a worker thread.
using EchoSender = std::function<Echo(const QHostAddress& address, int timeoutMs)>;
// The program's own ping: an unprivileged ICMP socket where the system
// allows one, else a raw socket; IPv4 only.
Echo systemEcho(const QHostAddress& address, int timeoutMs);

// The other query ports worth asking on the host of a silent query port.
std::vector<quint16> strayQueryPorts(Game game, quint16 silentPort);

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
