#pragma once

#include "platform/linuxpingnetwork.h"

#include <QByteArray>
#include <QHash>
#include <QList>

#include <vector>

// A network of names and echo answers that a test sets up. It records what it
// was asked, so a test can see what was looked up and pinged.
class FakeNetwork : public PingNetwork {
public:
    std::optional<std::uint32_t> parseDotted(const QByteArray& text) override // the system's own parse
    {
        return LinuxPingNetwork().parseDotted(text);
    }
    Lookup lookUp(const QByteArray& name) override
    {
        lookedUp << name;
        return names.value(name, Lookup{lookupError, std::nullopt});
    }
    Opened openEcho() override { return openError ? Opened{-1, openError} : Opened{7, 0}; }
    Echo sendEcho(int, std::uint32_t address, const QByteArray& data, int timeoutMs) override
    {
        echoes.push_back({address, data, timeoutMs});
        return echo;
    }
    int closeEcho(int) override { return closeError; }

    // Names the look-up knows; others fail with lookupError.
    QHash<QByteArray, Lookup> names;
    int lookupError = -2;
    int openError = 0;
    Echo echo{true, 47000, 0}; // 47 ms
    int closeError = 0;

    struct SentEcho {
        std::uint32_t address;
        QByteArray data;
        int timeoutMs;
    };
    QList<QByteArray> lookedUp;
    std::vector<SentEcho> echoes;
};
