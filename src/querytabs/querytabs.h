#pragma once

#include "core/routes.h"
#include "favourites/favouriteslots.h"

#include <array>

// The six tabs that query a server, by the names of their controls. They behave
// alike and differ only in these names, the status page format and its web host.
namespace query {

enum QueryTabId { Ut99Query, Ut99Favourites, Ut2004Query, Ut2004Favourites, Ut3Query, Ut3Favourites, QueryTabCount };

enum class WebHost { Main, Game }; // MainStatusHost or GameStatusHost

struct QueryTab {
    const char* button;
    const char* timer;
    const char* bar;
    const char* pane;
    WebHost webHost;
    const StatusRoute* route;
    // A query tab reads these fields (host, port, second port or nullptr)...
    std::array<const char*, 3> fields;
    // ...a favourites tab reads the chosen slot of this table instead.
    const favourites::SlotTable* favourites;
    // Ping display blanked after each page load, in this order (UT99 tabs only).
    std::array<const char*, 3> pingDisplay;
};

extern const std::array<QueryTab, QueryTabCount> kQueryTabs;

// The server fields of a favourite slot as its status page takes them.
ServerFields slotServer(const favourites::SlotTable& table, int row,
                        const std::function<QString(const char* field)>& fieldText);

} // namespace query
