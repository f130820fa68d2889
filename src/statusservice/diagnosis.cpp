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

std::vector<quint16> strayQueryPorts(Game game, quint16 silentPort)
{
    const GameInfo& info = gameInfo(game);
    std::vector<quint16> ports;
    for (int stray : info.strayQueryPorts) {
        const int port = info.strayPortsFixed ? stray : silentPort + stray;
        if (stray != 0 && port != silentPort && port > 0 && port <= 65535)
            ports.push_back(static_cast<quint16>(port));
    }
    return ports;
}

} // namespace statusservice
