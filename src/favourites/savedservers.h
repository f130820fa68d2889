#pragma once

#include "favouriteslots.h"

#include <QString>

#include <vector>

// The favourites a game's file holds, for those who show them outside the
// window: the status pages and the command line.
namespace favourites {

// The favourites table of a game.
const SlotTable& slotTable(Game game);

// A filled slot: its row (1 to 6) and the texts its status page is asked with.
struct SavedServer {
    int row;
    QString name, host, port, webPort; // webPort "0" where the game has none
};

// The slots of the game's file in folder, top to bottom; rows that can never
// be chosen and rows without a host are left out. Nothing when the file is
// missing, unreadable or larger than any favourites file can be.
std::vector<SavedServer> savedServers(Game game, const QString& folder);

} // namespace favourites
