#include "httphead.h"

#include <QList>

#include <algorithm>
#include <optional>

namespace http {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isTokenChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           QByteArrayView("!#$%&'*+-.^_`|~").contains(c);
}

bool isToken(QByteArrayView text) { return !text.isEmpty() && std::all_of(text.begin(), text.end(), isTokenChar); }

bool isVisible(QByteArrayView text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c > 0x20 && c != 0x7F; });
}

bool hasControl(QByteArrayView text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return (c >= 0 && c < 0x20 && c != '\t') || c == 0x7F; });
}

HeadParse refused(int status, const char* why)
{
    HeadParse parse;
    parse.state = HeadParse::State::Refused;
    parse.status = status;
    parse.why = why;
    return parse;
}

// The request line: METHOD SP TARGET SP HTTP/1.x.
std::optional<HeadParse> readRequestLine(QByteArrayView line, RequestHead& head, bool& http11)
{
    const QList<QByteArray> parts = line.toByteArray().split(' ');
    if (parts.size() != 3 || !isToken(parts[0]) || parts[1].isEmpty() || !isVisible(parts[1]))
        return refused(400, "the request line is not METHOD TARGET VERSION");
    const QByteArray& version = parts[2];
    if (version.size() != 8 || !version.startsWith("HTTP/") || !isDigit(version[5]) || version[6] != '.' ||
        !isDigit(version[7]))
        return refused(400, "no HTTP version");
    if (version != "HTTP/1.1" && version != "HTTP/1.0")
        return refused(505, "HTTP/1.0 and HTTP/1.1 only");
    if (parts[0] != "GET" && parts[0] != "HEAD")
        return refused(405, "GET and HEAD only");
    if (parts[1].size() > kLongestTarget)
        return refused(414, "the address is too long");
    if (!parts[1].startsWith('/'))
        return refused(400, "the target is not a path");
    head.method = parts[0];
    head.target = parts[1];
    http11 = version == "HTTP/1.1";
    head.keepAlive = http11;
    return std::nullopt;
}

// One "name: value" field; fills what the head needs of it.
std::optional<HeadParse> readField(QByteArrayView line, RequestHead& head, bool& hasHost)
{
    const qsizetype colon = line.indexOf(':');
    if (colon <= 0 || !isToken(line.first(colon)))
        return refused(400, "a field is not NAME: VALUE");
    const QByteArray name = line.first(colon).toByteArray().toLower();
    const QByteArray value = line.sliced(colon + 1).toByteArray().trimmed();
    if (name == "host") {
        if (hasHost)
            return refused(400, "two Host fields");
        hasHost = true;
        head.host = value;
    } else if (name == "content-length") {
        if (value.isEmpty() || !std::all_of(value.begin(), value.end(), isDigit))
            return refused(400, "a Content-Length that is no number");
        if (value.count('0') != value.size())
            return refused(413, "requests with a body are refused");
    } else if (name == "transfer-encoding") {
        return refused(413, "requests with a body are refused");
    } else if (name == "connection") {
        for (const QByteArray& option : value.toLower().split(',')) {
            if (option.trimmed() == "close")
                head.keepAlive = false;
            else if (option.trimmed() == "keep-alive")
                head.keepAlive = true;
        }
    }
    return std::nullopt;
}

} // namespace

HeadParse parseHead(QByteArrayView bytes)
{
    HeadParse parse;
    bool http11 = false, hasHost = false;
    int fields = 0;
    for (qsizetype start = 0;;) {
        const qsizetype newline = bytes.indexOf('\n', start);
        if (newline < 0 || newline >= kLongestHead) {
            if (bytes.size() < kLongestHead)
                return parse; // more to come
            return start == 0 ? refused(414, "the request line is too long") : refused(431, "the head is too long");
        }
        if (newline == start || bytes[newline - 1] != '\r')
            return refused(400, "lines end in CR LF");
        const QByteArrayView line = bytes.sliced(start, newline - 1 - start);
        if (hasControl(line))
            return refused(400, "control characters in the head");
        const bool first = start == 0;
        start = newline + 1;
        if (first) {
            if (auto refusal = readRequestLine(line, parse.head, http11))
                return *refusal;
            continue;
        }
        if (line.isEmpty()) {
            if (http11 && !hasHost)
                return refused(400, "HTTP/1.1 without Host");
            parse.state = HeadParse::State::Complete;
            parse.length = start;
            return parse;
        }
        if (line.front() == ' ' || line.front() == '\t')
            return refused(400, "folded lines are obsolete");
        if (++fields > kMostFields)
            return refused(431, "too many fields");
        if (auto refusal = readField(line, parse.head, hasHost))
            return *refusal;
    }
}

} // namespace http
