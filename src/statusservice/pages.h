#pragma once

#include "diagnosis.h"
#include "gamequery/queryclient.h"
#include "gamequery/serversweep.h"
#include "pagerequest.h"

#include <QByteArray>
#include <QDateTime>

// The service's pages: HTML without any script, every text from a game server
// or a request escaped, colour codes as styled spans.
namespace statusservice {

QString escaped(const QString& text);
QString gameTitle(Game game);
// A page of the template with its parts, in a colour scheme (a class of its body; "": the plain one).
QByteArray fill(const char* pageTemplate, const std::vector<std::pair<const char*, QString>>& parts,
                const char* bodyClass);
// A text as a search compares it: letter case and accents folded away
// ("Señor" and "senor" are one).
QString searchKey(const QString& text);
// A name with its colour runs as spans, each colour lightened where needed
// to stand out 3:1 from every background of our pages.
QString colouredHtml(const gamequery::RichText& text);

QByteArray statusPage(const PageRequest& request, const gamequery::QueryResult& result, const QDateTime& askedAt);

enum class Problem { NoAddress, NotResolved, Refused, NoAnswer, Malformed, Busy, TooMany };
// findings: what was found out about a server that did not answer.
QByteArray problemPage(const PageRequest& request, Problem problem, quint16 queryPort = 0,
                       const Findings* findings = nullptr);

// A server of a start page's tables and what it said, if it was asked.
struct ServerLine {
    QString label;
    QString statusLink; // the status page that asks it, empty when there is no server
    std::optional<gamequery::QueryResult> result;
    QString note; // shown when there is no result
    int slot = 0; // a favourite's row (1 to 6), whose watch it can change; 0: none
    bool watched = false;
};
// The start page: the preset servers, the favourites when there are any to
// show (nullopt: the service keeps none) with the friends watched for, where
// player was found, and a link to the game's list with the players of its
// last sweep.
QByteArray startPage(const PageRequest& request, const std::vector<ServerLine>& presets,
                     const std::optional<std::vector<ServerLine>>& favourites, const QStringList& friends,
                     const gamequery::Sweep* lastSweep);
// The list of a game's live servers from a sweep, filtered and sorted as
// the request asks; no sweep: the game has no list.
QByteArray serverListPage(const PageRequest& request, const gamequery::Sweep* sweep);
QByteArray voiceChatPage(const QString& voiceChatHost);
QByteArray notFoundPage();

} // namespace statusservice
