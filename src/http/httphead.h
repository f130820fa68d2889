#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The head of an HTTP/1.x request, read strictly: lines end in CR LF, one
// space between the request line's parts, HTTP/1.0 or 1.1, GET or HEAD
// only, no body, bounded sizes. Whatever is not such a head is refused with
// the status that says why, and the connection closes after it.
namespace http {

inline constexpr qsizetype kLongestHead = 16 * 1024;
inline constexpr qsizetype kLongestTarget = 8 * 1024;
inline constexpr int kMostFields = 64;

struct RequestHead {
    QByteArray method; // GET or HEAD
    QByteArray target; // path and query as sent, still percent-encoded
    QByteArray host;   // the Host field; empty where HTTP/1.0 sent none
    bool keepAlive = true;
};

struct HeadParse {
    enum class State { Incomplete, Complete, Refused };
    State state = State::Incomplete;
    qsizetype length = 0; // Complete: the head's bytes, its blank line included
    RequestHead head;
    int status = 0; // Refused: 400, 405, 413, 414, 431, 505
    QByteArray why;
};

HeadParse parseHead(QByteArrayView bytes);

} // namespace http
