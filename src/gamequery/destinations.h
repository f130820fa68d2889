#pragma once

#include <QHostAddress>

// Where a query may be sent, checked on the address a name resolved to.
namespace gamequery {

enum class Destinations {
    // Public game servers only: never this machine, a private or shared
    // network, link-local, multicast, broadcast or the unspecified address.
    Public,
    // Also this machine and the private networks (a LAN party, the demo);
    // never multicast, broadcast or the unspecified address.
    Lan,
};

bool isAllowed(const QHostAddress& address, Destinations destinations);

} // namespace gamequery
