#pragma once

#include "core/routes.h"

#include <QByteArray>
#include <QString>

#include <optional>

// What a request to the status service asks for, from its path and query as
// the browser sent them. The window puts field texts into the addresses
// unencoded; the browser percent-encodes some characters, which are decoded
// here; everything else is taken as it stands.
namespace statusservice {

struct PageRequest {
    enum class Kind { Status, Start, List, NotFound };
    Kind kind = Kind::NotFound;
    StartPage start = StartPage::Ut99Lobby; // which, for a start page
    Game game = Game::UT99;
    QString host;
    QString port;         // UT99: the query port; UT2004: the game port; UT3: the query port
    QString webPort;      // UT3: the web statistics port, "0" for none
    bool refresh = false; // ask afresh, never from the recent answers
    QString player;       // a start page: the player to look for, as a form sends it
    // A list page's form: a text in a server's name or map, whether to hide
    // empty and full servers, and the order ("players", "name" or "ping").
    QString filter;
    bool hideEmpty = false, hideFull = false;
    QString sort;
    QByteArray target; // as requested, for the page's own links
};

PageRequest parseRequest(const QByteArray& target);

// Names under the domains reserved for examples and tests (example.com, .test,
// .invalid, ...): no server can be there, so none is looked up.
bool isReservedName(const QString& host);

} // namespace statusservice
