#pragma once

#include "mastersession.h"

#include <QByteArray>

#include <cstdint>
#include <optional>

// UT2004's binary master (TCP 28902): frames of a 4-byte little-endian
// length and a payload; strings as in the query protocol. The master sends
// a challenge, approves the client's answer, verifies it, then answers the
// list request with a count and one frame per server.
namespace gamequery::ut2004master {

inline constexpr qsizetype kLongestFrame = 64 * 1024;

QByteArray frame(const QByteArray& payload);
// Takes the first whole frame's payload off the front of the stream; nullopt
// while none is whole. A frame longer than kLongestFrame sets tooLong.
std::optional<QByteArray> takeFrame(QByteArray& stream, bool& tooLong);

// The client's frames: its answer to the challenge (hashes of an empty
// product key), its verification, its list request without filters.
QByteArray hello(const QByteArray& challenge);
QByteArray verification();
QByteArray listRequest();

// The master's frames, for the fake masters.
QByteArray stringFrame(const QByteArray& text);   // the challenge, "VERIFIED"
QByteArray approvalFrame(const QByteArray& word); // "APPROVED", "DENIED", ...
QByteArray countFrame(std::uint32_t count);
QByteArray serverFrame(const ListedServer& server, quint16 queryPort);

class Session : public MasterSession {
public:
    QByteArray receive(const QByteArray& bytes) override;
    void closed() override;

private:
    enum class Stage { Challenge, Approval, Verified, Count, Rows };
    QByteArray take(const QByteArray& payload);
    // The master's word is the one expected: on to the next stage with the reply.
    QByteArray expect(const QByteArray& payload, const char* word, Stage next, const QByteArray& reply);

    QByteArray m_stream;
    Stage m_stage = Stage::Challenge;
    std::uint32_t m_count = 0;
};

} // namespace gamequery::ut2004master
