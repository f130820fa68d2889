#pragma once

#include "core/game.h"

#include <QByteArray>
#include <QStringList>
#include <QUrl>

#include <array>
#include <optional>
#include <set>

// What the player watches: favourite slots of each game and friends' names,
// kept in watch.ini beside the favourites files, in their encodings:
//   [ut99] watch=1,3   [ut2004] watch=   [ut3] watch=6   [friends] names=Alpha,Señor Frag
namespace favourites {

inline constexpr char kWatchFileName[] = "watch.ini";
inline constexpr int kMaxFriends = 50;
inline constexpr int kMaxFriendName = 32;

struct WatchList {
    std::array<std::set<int>, kGames.size()> rows; // rows 1 to 6, as the slots stand in the favourites file
    QStringList friends;

    bool watches(Game game, int row) const { return rows[static_cast<std::size_t>(game)].contains(row); }
    void setWatched(Game game, int row, bool on);
    // Names as typed, one a line or separated by commas: trimmed, each once
    // in any letter case, at most kMaxFriends of at most kMaxFriendName characters.
    void setFriends(const QString& typed);
};

// Changes the list as a link of the program's own scheme says:
//   utquery:watch?game=ut99&slot=2   utquery:unwatch?game=ut99&slot=2
//   utquery:friends?game=ut99&names=Alpha%0D%0ABravo
// The game the link names; nullopt, and nothing changed, for any other link.
std::optional<Game> applyWatchLink(WatchList& list, const QUrl& link);

// The list the folder's watch.ini holds; empty when it is missing or unreadable.
WatchList readWatchList(const QString& folder);
// The whole file for a list.
QByteArray watchFileContent(const WatchList& list);

} // namespace favourites
