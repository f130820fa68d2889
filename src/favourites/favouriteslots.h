#pragma once

#include "core/game.h"

#include <array>
#include <functional>
#include <optional>

// The six favourite slots of each game as the window names their fields and
// option buttons. The favourites live only in those fields; this table tells
// every subsystem which field is which.
namespace favourites {

inline constexpr int kSlotCount = 6;

// Columns of a slot row; a game uses the columns its file keeps.
enum Column { Name, Host, Port, SecondPort, ColumnCount };

struct Slot {
    std::array<const char*, ColumnCount> fields; // nullptr where the game has no such column
    std::array<const char*, ColumnCount> keys;   // the favourites file's key for each field
    const char* option;                          // the option button beside the row
    bool selectable;                             // false: the row can never be the chosen one
};

struct SlotTable {
    Game game;
    const char* fileName;               // the favourites file, in the program's folder
    std::array<Slot, kSlotCount> rows;  // top row first
    Column queryPort;                   // the column a status page is given as its port
    std::optional<Column> queryWebPort; // the column given as its web port, where it takes one
};

// UT99 rows: name, host, server (game) port, query port.
extern const SlotTable kUt99Slots;
// UT2004 rows: name, host, port. The top row is shown and saved but never chosen.
extern const SlotTable kUt2004Slots;
// UT3 rows: name, host, query port, web statistics port.
extern const SlotTable kUt3Slots;

// The row whose option button is set, visiting rows top to bottom. Rows that
// cannot be chosen are skipped. nullopt when none of this table's buttons is set.
std::optional<int> chosenSlot(const SlotTable& table, const std::function<bool(const char* option)>& isSet);

} // namespace favourites
