#pragma once

#include "serviceoptions.h"

// The service as this build of the program runs it: on the address and port
// of MainStatusHost, with the window's preset servers and voice-chat host.
namespace statusservice {

ServiceOptions defaultOptions();
// The desktop program's own service: as above, answering by its own address only.
ServiceOptions desktopOptions();

// True when a status host ("ADDRESS:PORT", MainStatusHost) is this machine's
// loopback, where the program serves the pages itself; elsewhere they come
// from that host's service.
bool isOwnStatusHost(const QString& statusHost);

// "ADDRESS:PORT" or "[v6]:PORT" into the options; false when it is neither.
bool setListen(ServiceOptions& options, const QString& listen);

} // namespace statusservice
