#include "ut99master.h"

#include <array>
#include <numeric>

namespace gamequery::ut99master {

namespace {

const QByteArray kFinal = "\\final\\";
const QByteArray kSecure = "\\basic\\\\secure\\";
constexpr qsizetype kChallengeLength = 6;
constexpr qsizetype kCompactRecord = 6;

QByteArray base64NoPadding(QByteArray bytes)
{
    while (bytes.size() % 3)
        bytes += '\0';
    QByteArray text = bytes.toBase64();
    while (text.endsWith('='))
        text.chop(1);
    return text;
}

// "\echo\text\final\" or "\fatal\1\error\text": the master's words, if it refused.
std::optional<QString> refusal(const QByteArray& bytes)
{
    if (bytes.startsWith("\\echo\\"))
        return QString::fromLatin1(bytes.mid(6).split('\\').front());
    if (bytes.startsWith("\\fatal\\")) {
        const qsizetype error = bytes.indexOf("\\error\\");
        return QString::fromLatin1(error < 0 ? bytes.mid(7) : bytes.mid(error + 7).split('\\').front());
    }
    return std::nullopt;
}

std::optional<ListedServer> textEntry(const QByteArray& entry)
{
    const qsizetype colon = entry.lastIndexOf(':');
    QHostAddress address;
    bool ok = false;
    const uint port = entry.mid(colon + 1).toUInt(&ok);
    if (colon < 0 || !address.setAddress(QString::fromLatin1(entry.left(colon))) ||
        address.protocol() != QAbstractSocket::IPv4Protocol || !ok || port == 0 || port > 65535)
        return std::nullopt;
    return ListedServer{address, static_cast<quint16>(port)};
}

} // namespace

QByteArray validate(const QByteArray& challenge, const QByteArray& key)
{
    std::array<unsigned char, 256> table{};
    std::iota(table.begin(), table.end(), 0);
    for (std::size_t i = 0, j = 0; i < table.size(); ++i) {
        j = (j + table[i] + static_cast<unsigned char>(key[static_cast<qsizetype>(i) % key.size()])) % 256;
        std::swap(table[i], table[j]);
    }
    QByteArray scrambled;
    std::size_t a = 0, b = 0;
    for (const char c : challenge) {
        const auto byte = static_cast<unsigned char>(c);
        a = (a + byte + 1) % 256;
        const unsigned char x = table[a];
        b = (b + x) % 256;
        const unsigned char y = table[b];
        table[b] = x;
        table[a] = y;
        scrambled += static_cast<char>(byte ^ table[(x + y) % 256]);
    }
    return base64NoPadding(scrambled);
}

std::optional<QByteArray> challengeOf(const QByteArray& greeting)
{
    const qsizetype at = greeting.indexOf(kSecure);
    if (at < 0)
        return std::nullopt;
    const qsizetype from = at + kSecure.size();
    qsizetype end = from;
    while (end < greeting.size() && greeting[end] != '\\' && greeting[end] != '\0')
        ++end;
    if (end == greeting.size() && end - from < kChallengeLength)
        return std::nullopt; // more to come
    return greeting.mid(from, end - from);
}

QByteArray answer(const QByteArray& challenge)
{
    return "\\gamename\\ut\\location\\0\\validate\\" + validate(challenge) + kFinal + "\\list\\cmp\\gamename\\ut" +
           kFinal;
}

QByteArray greeting(const QByteArray& challenge, bool withFinal, bool withNul)
{
    return kSecure + challenge + (withFinal ? kFinal : QByteArray()) + (withNul ? QByteArray(1, '\0') : QByteArray());
}

QByteArray textList(const std::vector<ListedServer>& servers)
{
    QByteArray list;
    for (const ListedServer& server : servers)
        list += "\\ip\\" + server.address.toString().toLatin1() + ':' + QByteArray::number(server.port);
    return list + kFinal;
}

QByteArray compactList(const std::vector<ListedServer>& servers)
{
    QByteArray list;
    for (const ListedServer& server : servers) {
        list += dottedBytes(server.address);
        list += static_cast<char>(server.port >> 8);
        list += static_cast<char>(server.port & 0xFF);
    }
    return list + kFinal;
}

bool asksCompact(const QByteArray& request) { return request.contains("\\list\\cmp\\"); }

QByteArray Session::receive(const QByteArray& bytes)
{
    if (!talking())
        return {};
    m_buffer += bytes;
    if (const auto words = refusal(m_buffer); words && m_buffer.contains(kFinal)) {
        fail(QStringLiteral("the master refused: %1").arg(*words));
        return {};
    }
    if (!m_answered) {
        const auto challenge = challengeOf(m_buffer);
        if (!challenge) {
            if (m_buffer.size() > 256) // no greeting is that long
                fail(QStringLiteral("the master's greeting made no sense"));
            return {};
        }
        m_answered = true;
        m_buffer.clear();
        return answer(*challenge);
    }
    if (m_buffer.endsWith(kFinal))
        readList();
    return {};
}

void Session::closed()
{
    if (!talking())
        return;
    if (const auto words = refusal(m_buffer))
        fail(QStringLiteral("the master refused: %1").arg(*words));
    else if (m_answered && m_buffer.endsWith(kFinal))
        readList();
    else
        fail(m_answered ? QStringLiteral("the master closed before the list's end")
                        : QStringLiteral("the master closed without a greeting"));
}

void Session::readList()
{
    const QByteArray body = m_buffer.chopped(kFinal.size());
    // The text form, where every entry reads as one; else the compact form.
    if (body.startsWith("\\ip\\")) {
        const QList<QByteArray> entries = body.mid(4).split('\\');
        bool text = entries.size() % 2 == 1;
        for (qsizetype i = 1; text && i < entries.size(); i += 2)
            text = entries[i] == "ip";
        std::vector<ListedServer> servers;
        for (qsizetype i = 0; text && i < entries.size(); i += 2) {
            const auto server = textEntry(entries[i]);
            text = server.has_value();
            if (text)
                servers.push_back(*server);
        }
        if (text) {
            for (ListedServer& server : servers)
                if (!add(std::move(server)))
                    return;
            listed();
            return;
        }
    }
    if (body.size() % kCompactRecord != 0) {
        fail(QStringLiteral("the master's list made no sense"));
        return;
    }
    for (qsizetype at = 0; at < body.size(); at += kCompactRecord) {
        const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(body[at + i]); };
        const quint16 port = static_cast<quint16>(byte(4) << 8 | byte(5));
        if (!add({fromDottedBytes(body.mid(at, 4)), port}))
            return;
    }
    listed();
}

} // namespace gamequery::ut99master
