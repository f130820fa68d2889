#include "ut2004session.h"

namespace gamequery {

namespace {

// After the last packet of a reply that has not reached its player count,
// this much silence ends the wait.
constexpr int kQuietGapMs = 150;
// A reply that reached its count may still carry records past it
// (spectators are listed but not counted); they leave the server in the
// same burst, so a short silence after the last packet proves the list whole.
constexpr int kSettleMs = 30;

} // namespace

std::vector<Outgoing> Ut2004Session::requests(int)
{
    return {{m_port, ut2004::request(ut2004::Info)}, {m_port, ut2004::request(ut2004::RulesAndPlayers)}};
}

Session::Progress Ut2004Session::receive(quint16, const QByteArray& packet)
{
    return m_reply.add(packet) ? Progress::Pending : Progress::Bad;
}

int Ut2004Session::quietGapMs() const
{
    if (m_reply.complete())
        return kSettleMs;
    return m_reply.hasInfo() ? kQuietGapMs : 0;
}

std::vector<Outgoing> Ut2004WithTextFallback::requests(int attempt)
{
    if (m_textAnswered)
        return m_text.requests(attempt);
    auto outgoing = m_binary.requests(attempt);
    if (attempt > 1) {
        m_textAsked = true;
        for (auto& request : m_text.requests(attempt))
            outgoing.push_back(std::move(request));
    }
    return outgoing;
}

bool Ut2004WithTextFallback::listensOn(quint16 port) const
{
    return m_binary.listensOn(port) || (m_textAsked && m_text.listensOn(port));
}

Session::Progress Ut2004WithTextFallback::receive(quint16 port, const QByteArray& packet)
{
    const bool text = m_textAsked && m_text.listensOn(port);
    const Progress progress = text ? m_text.receive(port, packet) : m_binary.receive(port, packet);
    if (text && progress != Progress::Bad)
        m_textAnswered = true;
    return progress;
}

const Session& Ut2004WithTextFallback::active() const
{
    return m_textAnswered ? static_cast<const Session&>(m_text) : m_binary;
}

} // namespace gamequery
