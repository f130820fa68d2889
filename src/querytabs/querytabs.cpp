#include "querytabs.h"

namespace query {

const std::array<QueryTab, QueryTabCount> kQueryTabs{{
    {"cmdBeginQuery",
     "Timer1",
     "pg",
     "WebBrowser1",
     WebHost::Main,
     &kUt99StatusPage,
     {"txtNameOrIP", "txtText2", nullptr},
     nullptr,
     {"txtText4(0)", "lblStatus", "txtText4(1)"}},
    {"cmdBeginQuery2",
     "Timer3",
     "pg3",
     "WebBrowser2",
     WebHost::Main,
     &kUt99StatusPage,
     {},
     &favourites::kUt99Slots,
     {"txtText4(3)", "lblStatus", "txtText4(2)"}},
    {"cmdBeginQuery04",
     "Timer04",
     "pg04",
     "WebBrowser6",
     WebHost::Main,
     &kUt2004StatusPage,
     {"txt04Server", "txt04port", nullptr},
     nullptr,
     {}},
    {"cmdBeginQuery04f",
     "Timer041",
     "pf04f",
     "WebBrowser7",
     WebHost::Main,
     &kUt2004StatusPage,
     {},
     &favourites::kUt2004Slots,
     {}},
    {"cmdBeginQueryut3",
     "Timerut3",
     "pgut3",
     "WebBrowser4",
     WebHost::Main,
     &kUt3QueryStatusPage,
     {"ut3iptxt", "txtQueryPort", "txtServerWeb"},
     nullptr,
     {}},
    {"cmdBeginQueryut3f",
     "Timerut3f",
     "pg2ut3",
     "WebBrowser5",
     WebHost::Game,
     &kUt3FavouritesStatusPage,
     {},
     &favourites::kUt3Slots,
     {}},
}};

ServerFields slotServer(const favourites::SlotTable& table, int row,
                        const std::function<QString(const char* field)>& fieldText)
{
    const auto& fields = table.rows[static_cast<std::size_t>(row)].fields;
    ServerFields server{fieldText(fields[favourites::Host]), fieldText(fields[table.queryPort]), {}};
    if (table.queryWebPort)
        server.secondPort = fieldText(fields[*table.queryWebPort]);
    return server;
}

} // namespace query
