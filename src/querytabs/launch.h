#pragma once

#include "querytabs.h"

#include <QString>

// Launching the game connected to a server: the two UT99 tabs hand an
// unreal:// address to their pane, which passes it to the installed game.
namespace query {

struct LaunchButton {
    const char* button;
    QueryTabId tab;        // its host, pane and ping display are the query's
    const char* portField; // on a query tab: the game port field (never the query port)
};

inline constexpr std::array<LaunchButton, 2> kLaunchButtons{{
    {"cmdLaunchGame", Ut99Query, "txtText3"},
    {"cmdLaunchGame2", Ut99Favourites, nullptr}, // the chosen slot's ServerPort column
}};

// "unreal://" + host + ":" + port, texts as they stand.
inline QString gameAddress(const QString& host, const QString& port)
{
    return QStringLiteral("unreal://") + host + QLatin1Char(':') + port;
}

} // namespace query
