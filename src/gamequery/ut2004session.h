#pragma once

#include "session.h"
#include "textsession.h"
#include "ut2004protocol.h"

namespace gamequery {

// UT2004's binary protocol on its query port.
class Ut2004Session : public Session {
public:
    explicit Ut2004Session(quint16 port) : m_port(port) {}

    std::vector<Outgoing> requests(int attempt) override;
    bool listensOn(quint16 port) const override { return port == m_port; }
    Progress receive(quint16 port, const QByteArray& packet) override;
    int quietGapMs() const override;
    bool hasStatus() const override { return m_reply.hasInfo(); }
    ServerStatus status() const override { return m_reply.status(); }

private:
    quint16 m_port;
    ut2004::Reply m_reply;
};

// The binary protocol, and from the second attempt the text protocol too
// (servers that turned the binary one off); the first to answer in text
// makes the text reply the one that counts.
class Ut2004WithTextFallback : public Session {
public:
    Ut2004WithTextFallback(quint16 queryPort, quint16 textPort) : m_binary(queryPort), m_text(textPort) {}

    std::vector<Outgoing> requests(int attempt) override;
    bool listensOn(quint16 port) const override;
    Progress receive(quint16 port, const QByteArray& packet) override;
    int quietGapMs() const override { return active().quietGapMs(); }
    bool hasStatus() const override { return active().hasStatus(); }
    ServerStatus status() const override { return active().status(); }

private:
    const Session& active() const;

    Ut2004Session m_binary;
    TextSession m_text;
    bool m_textAsked = false;
    bool m_textAnswered = false;
};

} // namespace gamequery
