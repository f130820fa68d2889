#include "diagnosis.h"

#include "ping/pingipv4.h"
#include "platform/linuxpingnetwork.h"

namespace statusservice {

Echo systemEcho(const QHostAddress& address, int timeoutMs)
{
    bool isIPv4 = false;
    address.toIPv4Address(&isIPv4);
    if (!isIPv4)
        return {};
    LinuxPingNetwork network;
    PingIPv4 ping(network);
    if (ping.Ping(address.toString(), timeoutMs, QStringLiteral("utquery")))
        return {Echo::Kind::Answered, ping.RoundTripMicroseconds};
    return {ping.Reason == 2 ? Echo::Kind::NotPermitted : Echo::Kind::Silent, 0};
}

} // namespace statusservice
