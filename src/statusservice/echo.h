#pragma once

#include <QHostAddress>

#include <functional>

// The ping a silent server's page sends to its host.
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

} // namespace statusservice
