#include "favouriteslots.h"

namespace favourites {

const SlotTable kUt99Slots{
    Game::UT99,
    "utservers.ini",
    {{
        {{"ServerName", "ServerIP", "ServerPort", "QueryPort"},
         {"ServerName", "ServerIP", "ServerPort", "QueryPort"},
         "Option1(0)",
         true},
        {{"ServerName2", "ServerIP2", "ServerPort2", "QueryPort2"},
         {"ServerName2", "ServerIP2", "ServerPort2", "QueryPort2"},
         "Option1(1)",
         true},
        {{"ServerName3", "ServerIP3", "ServerPort3", "QueryPort3"},
         {"ServerName3", "ServerIP3", "ServerPort3", "QueryPort3"},
         "Option1(2)",
         true},
        {{"ServerName4", "ServerIP4", "ServerPort4", "QueryPort4"},
         {"ServerName4", "ServerIP4", "ServerPort4", "QueryPort4"},
         "Option1(3)",
         true},
        {{"ServerName5", "ServerIP5", "ServerPort5", "QueryPort5"},
         {"ServerName5", "ServerIP5", "ServerPort5", "QueryPort5"},
         "Option1(4)",
         true},
        {{"ServerName6", "ServerIP6", "ServerPort6", "QueryPort6"},
         {"ServerName6", "ServerIP6", "ServerPort6", "QueryPort6"},
         "Option1(5)",
         true},
    }},
    SecondPort,
    std::nullopt,
};

const SlotTable kUt2004Slots{
    Game::UT2004,
    "ut04servers.ini",
    {{
        {{"ServerName04", "ServerIP04", "ServerPort04", nullptr},
         {"ServerName", "ServerIP", "ServerPort", nullptr},
         "serverOpt(6)",
         false},
        {{"ServerName042", "ServerIP042", "ServerPort042", nullptr},
         {"ServerName2", "ServerIP2", "ServerPort2", nullptr},
         "serverOpt(1)",
         true},
        {{"ServerName043", "ServerIP043", "ServerPort043", nullptr},
         {"ServerName3", "ServerIP3", "ServerPort3", nullptr},
         "serverOpt(2)",
         true},
        {{"ServerName044", "ServerIP044", "ServerPort044", nullptr},
         {"ServerName4", "ServerIP4", "ServerPort4", nullptr},
         "serverOpt(3)",
         true},
        {{"ServerName045", "ServerIp045", "ServerPort045", nullptr},
         {"ServerName5", "ServerIP5", "ServerPort5", nullptr},
         "serverOpt(4)",
         true},
        {{"ServerName046", "ServerIP046", "ServerPort046", nullptr},
         {"ServerName6", "ServerIP6", "ServerPort6", nullptr},
         "serverOpt(5)",
         true},
    }},
    Port,
    std::nullopt,
};

const SlotTable kUt3Slots{
    Game::UT3,
    "ut3servers.ini",
    {{
        {{"UT3ServerName", "UT3ServerIP", "UT3ServerPort", "Serverwport"},
         {"UT3ServerName", "UT3ServerIP", "UT3ServerPort", "Serverwport"},
         "serverFav(0)",
         true},
        {{"UT3ServerName2", "UT3ServerIP2", "UT3ServerPort2", "Serverwport2"},
         {"UT3ServerName2", "UT3ServerIP2", "UT3ServerPort2", "Serverwport2"},
         "serverFav(1)",
         true},
        {{"UT3ServerName3", "UT3ServerIP3", "UT3ServerPort3", "Serverwport3"},
         {"UT3ServerName3", "UT3ServerIP3", "UT3ServerPort3", "Serverwport3"},
         "serverFav(2)",
         true},
        {{"UT3ServerName4", "UT3ServerIP4", "UT3ServerPort4", "Serverwport4"},
         {"UT3ServerName4", "UT3ServerIP4", "UT3ServerPort4", "Serverwport4"},
         "serverFav(3)",
         true},
        {{"UT3ServerName5", "UT3ServerIP5", "UT3ServerPort5", "Serverwport5"},
         {"UT3ServerName5", "UT3ServerIP5", "UT3ServerPort5", "Serverwport5"},
         "serverFav(4)",
         true},
        {{"UT3ServerName6", "UT3ServerIP6", "UT3ServerPort6", "Serverwport6"},
         {"UT3ServerName6", "UT3ServerIP6", "UT3ServerPort6", "Serverwport6"},
         "serverFav(5)",
         true},
    }},
    Port,
    SecondPort,
};

std::optional<int> chosenSlot(const SlotTable& table, const std::function<bool(const char* option)>& isSet)
{
    for (int row = 0; row < kSlotCount; ++row) {
        const Slot& slot = table.rows[static_cast<std::size_t>(row)];
        if (slot.selectable && isSet(slot.option))
            return row;
    }
    return std::nullopt;
}

} // namespace favourites
