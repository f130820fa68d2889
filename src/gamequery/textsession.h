#pragma once

#include "session.h"
#include "ut99protocol.h"

#include <map>

namespace gamequery {

// The text protocol of UT99, and of UT2004 on game port + 10: a status
// reply and, from servers that know it, a teams reply.
class TextSession : public Session {
public:
    explicit TextSession(quint16 port) : m_port(port) {}

    std::vector<Outgoing> requests(int attempt) override;
    bool listensOn(quint16 port) const override { return port == m_port; }
    Progress receive(quint16 port, const QByteArray& packet) override;
    int quietGapMs() const override;
    bool hasStatus() const override { return statusReply() != nullptr; }
    ServerStatus status() const override;

private:
    const ut99::Reply* statusReply() const;
    const ut99::Reply* teamsReply() const;

    quint16 m_port;
    // Packets grouped by their reply's number N of "\queryid\N.M".
    std::map<int, ut99::Reply> m_replies;
    std::optional<int> m_statusNumber;
};

} // namespace gamequery
