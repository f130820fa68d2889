#pragma once

#include "serverstatus.h"

#include <QByteArray>

#include <cstdint>
#include <memory>
#include <vector>

namespace gamequery {

// A datagram to send, and the port of the server it goes to.
struct Outgoing {
    quint16 port = 0;
    QByteArray bytes;
};

// One game's query exchange without sockets or clocks: the requests of an
// attempt, and what each packet received means. The transport sends, waits
// and keeps the deadlines.
class Session {
public:
    enum class Progress {
        Bad,         // not a packet of this exchange
        Pending,     // understood; more may come (see quietGapMs)
        ReplyNeeded, // understood; send requests() again now
        Done,        // the reply is whole
    };

    virtual ~Session() = default;
    // attempt counts from 1; a silent server is asked again.
    virtual std::vector<Outgoing> requests(int attempt) = 0;
    virtual bool listensOn(quint16 port) const = 0;
    virtual Progress receive(quint16 port, const QByteArray& packet) = 0;
    // While Pending: the silence that proves the reply whole, or 0 to wait
    // for the attempt's deadline.
    virtual int quietGapMs() const = 0;
    // Something that makes a status has come.
    virtual bool hasStatus() const = 0;
    virtual ServerStatus status() const = 0;
};

// The session of a protocol on a query port. Where textPort is not 0, a
// session of UT2004's binary protocol falls back to the text protocol there.
std::unique_ptr<Session> makeSession(QueryProtocol protocol, quint16 queryPort, quint16 textPort, std::uint32_t id);

} // namespace gamequery
