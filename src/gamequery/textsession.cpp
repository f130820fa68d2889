#include "textsession.h"

namespace gamequery {

namespace {

// After a whole status reply, this much silence ends the wait for a teams
// reply: older servers never send one.
constexpr int kTeamsWaitMs = 150;
// Replies kept apart by their number: the status and the teams replies, and
// those of a repeated request. Packets of further numbers are refused.
constexpr std::size_t kMaxReplies = 4;

bool isStatusReply(const ut99::Packet& packet)
{
    for (const auto& [key, value] : packet.pairs) {
        if (key == QLatin1String("hostname") || key == QLatin1String("gamename") ||
            key == QLatin1String("numplayers") || key.startsWith(QLatin1String("player_")))
            return true;
    }
    return false;
}

} // namespace

std::vector<Outgoing> TextSession::requests(int)
{
    // \teams\ goes alone: its team_N keys would clash with the players'.
    return {{m_port, ut99::kStatusRequest}, {m_port, ut99::kTeamsRequest}};
}

Session::Progress TextSession::receive(quint16, const QByteArray& bytes)
{
    auto packet = ut99::readPacket(bytes);
    if (!packet || (!m_replies.contains(packet->reply) && m_replies.size() >= kMaxReplies))
        return Progress::Bad;
    if (isStatusReply(*packet))
        m_statusNumber = packet->reply;
    m_replies[packet->reply].add(std::move(*packet));
    const ut99::Reply* teams = teamsReply();
    return hasStatus() && statusReply()->complete() && teams && teams->complete() ? Progress::Done : Progress::Pending;
}

int TextSession::quietGapMs() const { return hasStatus() && statusReply()->complete() ? kTeamsWaitMs : 0; }

ServerStatus TextSession::status() const { return ut99::statusFrom(*statusReply(), teamsReply()); }

const ut99::Reply* TextSession::statusReply() const
{
    const auto it = m_statusNumber ? m_replies.find(*m_statusNumber) : m_replies.end();
    return it != m_replies.end() ? &it->second : nullptr;
}

const ut99::Reply* TextSession::teamsReply() const
{
    for (const auto& [number, reply] : m_replies) {
        if (number != m_statusNumber)
            return &reply;
    }
    return nullptr;
}

} // namespace gamequery
