#pragma once

#include "session.h"
#include "ut3protocol.h"

#include <optional>

namespace gamequery {

// UT3's exchange: a challenge, then the full status.
class Ut3Session : public Session {
public:
    Ut3Session(quint16 port, std::uint32_t id) : m_port(port), m_id(id), m_reply(id) {}

    std::vector<Outgoing> requests(int attempt) override;
    bool listensOn(quint16 port) const override { return port == m_port; }
    Progress receive(quint16 port, const QByteArray& packet) override;
    int quietGapMs() const override { return 0; }
    bool hasStatus() const override { return m_reply.hasAnyPacket(); }
    ServerStatus status() const override { return m_reply.status(); }

private:
    quint16 m_port;
    std::uint32_t m_id;
    std::optional<std::int32_t> m_challenge;
    ut3::Reply m_reply;
};

} // namespace gamequery
