#pragma once

#include "platform/pingnetwork.h"

#include <QString>

#include <cstdint>

// Resolves host texts to dotted IPv4 addresses and sends one ICMP echo at a
// time. Both operations block the caller (the look-up as long as the
// platform's resolver takes, the echo up to its timeout). The three fields
// keep what the last calls left for a caller to show.
class PingIPv4 {
public:
    explicit PingIPv4(PingNetwork& network) : m_network(network) {}

    // Where the last failed Ping stopped: 1 the address was not a dotted
    // address, 2 no echo could be opened, 3 no answer (or an ICMP error, or
    // the send failed), 4 closing the echo failed. Kept across later successes.
    std::int32_t Reason = 0;
    // The platform's error number of that failure; cleared by every Ping.
    std::int32_t Status = 0;
    // Milliseconds of the last answered echo; kept across later failures.
    std::int32_t RoundTripTime = 0;
    // The same in microseconds, for a display finer than whole milliseconds.
    std::int32_t RoundTripMicroseconds = 0;

    // One echo to IP with Data as payload, waiting up to TimeoutMS. True when
    // the reply came and the echo closed cleanly.
    bool Ping(const QString& IP, std::int32_t TimeoutMS, const QString& Data);

    // Host text (blanks around it ignored) to a dotted address in IP. Returns
    // 0 with IP set, or a failure code with IP untouched: the look-up's error
    // number, or 1 when the look-up gave no address.
    std::int32_t Resolve(const QString& NameOrIP, QString& IP);

private:
    PingNetwork& m_network;
};

// A round trip as the window shows it: "47ms", and below 10 ms with one
// decimal ("0.3ms"), since a LAN answers well within a millisecond.
QString roundTripText(std::int32_t microseconds);
