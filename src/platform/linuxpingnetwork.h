#pragma once

#include "pingnetwork.h"

// Look-up through getaddrinfo and the echo over an ICMP socket: an
// unprivileged datagram socket where the system allows one
// (net.ipv4.ping_group_range), else a raw socket (root or CAP_NET_RAW).
class LinuxPingNetwork : public PingNetwork {
public:
    std::optional<std::uint32_t> parseDotted(const QByteArray& text) override;
    Lookup lookUp(const QByteArray& name) override;
    Opened openEcho() override;
    Echo sendEcho(int handle, std::uint32_t address, const QByteArray& data, int timeoutMs) override;
    int closeEcho(int handle) override;

private:
    std::uint16_t m_sequence = 0;
};
