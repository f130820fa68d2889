#pragma once

#include "mastersession.h"

#include <QByteArray>

#include <optional>

// UT99's text master (TCP 28900): a greeting with a challenge, the client's
// validate answer and list request, then the list as text or compact, ended
// by \final\.
namespace gamequery::ut99master {

inline constexpr char kGameKey[] = "Z5Nfb0"; // the validate key of game "ut"

// The validate answer to a challenge: the challenge scrambled with the key's
// table, in base64 without padding.
QByteArray validate(const QByteArray& challenge, const QByteArray& key = kGameKey);

// The challenge of a greeting "\basic\\secure\XXXXXX", with or without
// "\final\" or a NUL after it; nullopt while it is not whole.
std::optional<QByteArray> challengeOf(const QByteArray& greeting);
// The client's answer to a challenge and its request for the compact list.
QByteArray answer(const QByteArray& challenge);

// The master's side, for the fake masters.
QByteArray greeting(const QByteArray& challenge, bool withFinal, bool withNul);
QByteArray textList(const std::vector<ListedServer>& servers);
QByteArray compactList(const std::vector<ListedServer>& servers);
// A client's request asks for the compact form.
bool asksCompact(const QByteArray& request);

class Session : public MasterSession {
public:
    QByteArray receive(const QByteArray& bytes) override;
    void closed() override;

private:
    // The list's end came: read it, or the refusal in its place.
    void readList();

    QByteArray m_buffer;
    bool m_answered = false;
};

} // namespace gamequery::ut99master
