#include "destinations.h"

#include <initializer_list>

namespace gamequery {

namespace {

bool inAny(const QHostAddress& address, std::initializer_list<const char*> subnets)
{
    for (const char* subnet : subnets) {
        if (address.isInSubnet(QHostAddress::parseSubnet(QLatin1String(subnet))))
            return true;
    }
    return false;
}

} // namespace

bool isAllowed(const QHostAddress& given, Destinations destinations)
{
    // An IPv4 address written as IPv6 goes where its IPv4 address goes.
    bool mapped = false;
    const quint32 v4 = given.toIPv4Address(&mapped);
    mapped = mapped && given.protocol() == QAbstractSocket::IPv6Protocol;
    const QHostAddress address = mapped ? QHostAddress(v4) : given;
    if (address.isNull() || address.isMulticast() || address.isBroadcast() ||
        inAny(address, {"0.0.0.0/8", "::/128", "240.0.0.0/4"}))
        return false;
    if (destinations == Destinations::Lan)
        return true;
    return !mapped && !inAny(address, {"127.0.0.0/8", "10.0.0.0/8", "172.16.0.0/12", "192.168.0.0/16", "100.64.0.0/10",
                                       "169.254.0.0/16", "::1/128", "fe80::/10", "fc00::/7", "::ffff:0:0/96",
                                       "64:ff9b::/96", "2002::/16"});
}

} // namespace gamequery
