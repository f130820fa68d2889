#include "ut3session.h"

namespace gamequery {

std::vector<Outgoing> Ut3Session::requests(int)
{
    if (m_challenge)
        return {{m_port, ut3::statusRequest(m_id, *m_challenge)}};
    return {{m_port, ut3::challengeRequest(m_id)}};
}

Session::Progress Ut3Session::receive(quint16, const QByteArray& packet)
{
    if (!m_challenge) {
        m_challenge = ut3::challengeFrom(packet, m_id);
        return m_challenge ? Progress::ReplyNeeded : Progress::Bad;
    }
    if (m_reply.add(packet))
        return m_reply.complete() ? Progress::Done : Progress::Pending;
    // The answer to a repeated challenge request.
    return ut3::challengeFrom(packet, m_id) ? Progress::Pending : Progress::Bad;
}

} // namespace gamequery
