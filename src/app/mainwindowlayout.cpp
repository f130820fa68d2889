#include "windowlayout.h"

#include "buildconfig.h"
#include "core/routes.h"
#include "favourites/favouriteslots.h"
#include "helptexts.h"

#include <array>

namespace layout {

const TabPage kTabs[9] = {
    {"UT99 Server Query"},    {"UT99 Favorite Servers"},    {"About / Help / TeamSpeak / Admin"},
    {"UT 2004 Server Query"}, {"UT 2004 Favorite Servers"}, {"About / Help"},
    {"UT3 Server Query"},     {"UT3 Favorite Servers"},     {"About / Help"},
};

namespace {

const QString kEditTip = QStringLiteral("You can edit any of these feilds. Click \"Save Chenges\" to Save.");
const QString kSelectTip = QStringLiteral("Selects the server to be Queried or Launched.");
const QString kQueryPortTip = QStringLiteral("Default 6500");
const QString kWebPortTip = QStringLiteral("Set to 0 if you don't have Web Stats installed.");

constexpr BgrColour kRed = 0x000000FFu;

// The look of one favourites grid: six rows of text fields with an option button each.
struct Grid {
    const favourites::SlotTable& table;
    int tab;
    std::array<int, 6> rowTops;
    std::array<int, 6> optionTops;
    std::array<int, 4> lefts;
    std::array<int, 4> widths;
    int optionLeft, optionWidth;
    const char* optionCaption;
    BgrColour optionBack;
    Font fieldFont;
    std::array<bool, 4> columnTips; // which columns carry the edit tooltip (rows 1 to 5)
    int optionTipRows;              // rows, from the top, whose option carries its tooltip
    bool topRowDisabled;
    std::array<const char*, 4> columnNames; // for assistive technology
};

const Grid kGrids[] = {
    {favourites::kUt99Slots,
     1,
     {1200, 1440, 1680, 1920, 2160, 2400},
     {1200, 1440, 1680, 1920, 2160, 2400},
     // Name, IP, server port, query port: the query port column sits rightmost.
     {240, 1320, 2640, 3720},
     {1095, 1335, 1095, 1095},
     5160,
     255,
     "Option1",
     0x00400000u,
     Font::Window,
     {true, true, true, true},
     6,
     false,
     {"server name", "server IP", "server port", "query port"}},
    {favourites::kUt2004Slots,
     4,
     {4800, 5060, 5330, 5600, 5865, 6140},
     {4800, 5070, 5340, 5630, 5880, 6150},
     {120, 1200, 2520, 0},
     {1095, 1335, 1095, 0},
     3720,
     255,
     "Option1",
     0x00171819u,
     Font::MsSansSerifBold,
     {true, true, true, false},
     5,
     true,
     {"server name", "server IP", "server port", nullptr}},
    {favourites::kUt3Slots,
     7,
     {4800, 5080, 5360, 5640, 5920, 6200},
     {4830, 5120, 5400, 5680, 5960, 6240},
     {120, 1320, 2520, 3120},
     {1215, 1215, 615, 615},
     3840,
     180,
     "",
     0x00171819u,
     Font::MsSansSerifBold,
     {true, true, true, false},
     5,
     false,
     {"server name", "server IP", "query port", "web statistics port"}},
};

void addGrid(std::vector<Control>& controls, const Grid& grid)
{
    for (int row = 0; row < favourites::kSlotCount; ++row) {
        const auto r = static_cast<std::size_t>(row);
        const favourites::Slot& slot = grid.table.rows[r];
        const unsigned rowFlags = (row == 0 && grid.topRowDisabled) ? Disabled : 0u;
        for (std::size_t column = 0; column < favourites::ColumnCount; ++column) {
            if (!slot.fields[column])
                continue;
            controls.push_back({.tab = grid.tab,
                                .name = slot.fields[column],
                                .kind = Kind::TextField,
                                .place = {grid.lefts[column], grid.rowTops[r], grid.widths[column], 285},
                                .flags = rowFlags,
                                .font = grid.fieldFont,
                                .tooltip = (row < 5 && grid.columnTips[column]) ? kEditTip : QString(),
                                .accessibleName = QStringLiteral("%1 favourite %2 %3")
                                                      .arg(QLatin1String(gameInfo(grid.table.game).title))
                                                      .arg(row + 1)
                                                      .arg(QLatin1String(grid.columnNames[column]))});
        }
        controls.push_back(
            {.tab = grid.tab,
             .name = slot.option,
             .kind = Kind::OptionButton,
             .place = {grid.optionLeft, grid.optionTops[r], grid.optionWidth, 255},
             .text = QString::fromLatin1(grid.optionCaption),
             .flags = rowFlags,
             .back = grid.optionBack,
             .tooltip = row < grid.optionTipRows ? kSelectTip : QString(),
             .accessibleName =
                 QStringLiteral("%1 favourite %2").arg(QLatin1String(gameInfo(grid.table.game).title)).arg(row + 1)});
    }
}

// A pane's start page path, as the route table gives it.
QString start(StartPage page) { return QLatin1String(startRoute(page).path); }

std::vector<Control> buildControls()
{
    constexpr unsigned Hand = HandPointer;
    const QString hostA = QStringLiteral(UTQ_PRESET_HOST_A);

    // clang-format off
    std::vector<Control> c = {
        // On the window, right of its client area: timers of the UT99 tabs and
        // labels other handlers use as hidden text holders.
        {.name = "Timer1", .kind = Kind::Timer, .place = {12960, 120}},
        {.name = "Timer2", .kind = Kind::Timer, .place = {12960, 600}},
        {.name = "Timer3", .kind = Kind::Timer, .place = {12960, 1080}},
        {.name = "lblStatus", .kind = Kind::Label, .place = {12960, 2160, 465, 195}, .text = "Label1", .flags = Hidden},
        {.name = "lblUt3", .kind = Kind::Label, .place = {13080, 3000, 240, 195}, .text = "ut3", .flags = Hidden},
        {.name = "lblUt32", .kind = Kind::Label, .place = {13080, 3240, 330, 195}, .text = "ut32", .flags = Hidden},
        {.name = "ut04", .kind = Kind::Label, .place = {12960, 3720, 330, 195}, .text = "ut04", .flags = Hidden},
        {.name = "ut042", .kind = Kind::Label, .place = {12960, 3960, 420, 195}, .text = "ut042", .flags = Hidden},

        // Tab 0, UT99 Server Query.
        {.tab = 0, .name = "Image1(0)", .kind = Kind::Picture, .place = {-600, 930, 19200, 10800}},
        {.tab = 0, .name = "UTlogo", .kind = Kind::Picture, .place = {240, 1200, 4590, 1500}},
        {.tab = 0, .name = "cmdServferIP", .kind = Kind::Button, .place = {7800, 1200, 1335, 325},
         .text = "Server   IP", .flags = Disabled, .font = Font::TahomaBold, .back = kWhite},
        {.tab = 0, .name = "lblServerIP(0)", .kind = Kind::Label, .place = {8145, 1320, 1020, 210},
         .text = "Server    IP", .font = Font::Tahoma9Bold, .fore = kWhite},
        {.tab = 0, .name = "Combo1", .kind = Kind::ComboBox, .place = {9120, 1200, 1215, 315}, .text = "{Qev}",
         .items = {"{Qev} US", "{Qev} UK", "Custom"}, .accessibleName = "Our servers"},
        {.tab = 0, .name = "txtNameOrIP", .kind = Kind::TextField, .place = {10320, 1200, 1970, 315}, .text = hostA, .labelledBy = "lblServerIP(0)"},
        {.tab = 0, .name = "cmdQueryPort", .kind = Kind::Button, .place = {7800, 1760, 1350, 325},
         .text = "Query Port", .flags = Disabled, .font = Font::TahomaBold, .back = kWhite},
        {.tab = 0, .name = "lblQueryPort", .kind = Kind::Label, .place = {8140, 1845, 1005, 210},
         .text = "Query Port", .font = Font::Tahoma9Bold, .fore = kWhite},
        {.tab = 0, .name = "txtText2", .kind = Kind::TextField, .place = {9120, 1760, 1215, 315}, .text = "7778", .labelledBy = "lblQueryPort"},
        {.tab = 0, .name = "cmdBeginQuery", .kind = Kind::Button, .place = {10320, 1760, 1335, 325},
         .text = "Begin Query", .flags = Hand, .font = Font::TahomaBold},
        {.tab = 0, .name = "cmdPing", .kind = Kind::Button, .place = {11640, 1760, 660, 325}, .text = "Ping",
         .flags = Hand, .font = Font::TahomaBold, .back = kGreen},
        {.tab = 0, .name = "cmdServerPort", .kind = Kind::Button, .place = {7800, 2300, 1335, 325},
         .text = "Server Port", .flags = Disabled, .font = Font::TahomaBold, .back = kWhite},
        {.tab = 0, .name = "lblServerPort(0)", .kind = Kind::Label, .place = {8140, 2400, 1050, 210},
         .text = "Server Port", .font = Font::Tahoma9Bold, .fore = kWhite},
        {.tab = 0, .name = "txtText3", .kind = Kind::TextField, .place = {9120, 2300, 1215, 315}, .text = "7777", .labelledBy = "lblServerPort(0)"},
        {.tab = 0, .name = "cmdLaunchGame", .kind = Kind::Button, .place = {10320, 2300, 1980, 325},
         .text = "Launch Game", .flags = Hand, .font = Font::TahomaBold},
        {.tab = 0, .name = "WebBrowser1", .kind = Kind::BrowserPane, .place = {240, 2880, 12000, 5895},
         .text = start(StartPage::Ut99Lobby)},
        {.tab = 0, .name = "txtText4(0)", .kind = Kind::TextField, .place = {7800, 3180, 3495, 300},
         .flags = NoTabStop, .back = kDarkBlue, .fore = kGreen, .accessibleName = "Ping result"},
        {.tab = 0, .name = "txtText4(1)", .kind = Kind::TextField, .place = {11280, 3180, 660, 300},
         .flags = NoTabStop, .back = kDarkBlue, .fore = kGreen, .accessibleName = "Ping time"},
        {.tab = 0, .name = "pg", .kind = Kind::ProgressBar, .place = {240, 8880, 12000, 135}},

        // Tab 1, UT99 Favorite Servers.
        {.tab = 1, .name = "Image2", .kind = Kind::Picture, .place = {0, 930, 19200, 10800}},
        {.tab = 1, .name = "lblServerName2", .kind = Kind::Label, .place = {315, 960, 930, 195},
         .text = "Server Name", .fore = kWhite},
        {.tab = 1, .name = "lblServerIP2", .kind = Kind::Label, .place = {1680, 960, 735, 255}, .text = "Server IP",
         .fore = kWhite},
        {.tab = 1, .name = "lblServerPort2", .kind = Kind::Label, .place = {2760, 960, 855, 255},
         .text = "Server Port", .fore = kWhite},
        {.tab = 1, .name = "lblQueryPort2", .kind = Kind::Label, .place = {3840, 960, 855, 255}, .text = "Query Port",
         .fore = kWhite},
        {.tab = 1, .name = "cmdBeginQuery2", .kind = Kind::Button, .place = {10080, 1200, 1575, 330},
         .text = "Begin Query", .flags = Hand, .font = Font::MsSansSerifBold},
        {.tab = 1, .name = "cmdPing2", .kind = Kind::Button, .place = {11640, 1200, 615, 330}, .text = "Ping",
         .flags = Hand, .font = Font::TahomaBold, .back = kGreen},
        {.tab = 1, .name = "cmdLaunchGame2", .kind = Kind::Button, .place = {10080, 1740, 2175, 330},
         .text = "Launch Game", .flags = Hand, .font = Font::MsSansSerifBold},
        {.tab = 1, .name = "cmdSaveChanges", .kind = Kind::Button, .place = {10080, 2280, 2175, 330},
         .text = "Save Changes", .flags = Hand, .font = Font::MsSansSerifBold},
        {.tab = 1, .name = "pg2", .kind = Kind::ProgressBar, .place = {10080, 2595, 2175, 135}},
        {.tab = 1, .name = "WebBrowser2", .kind = Kind::BrowserPane, .place = {240, 2880, 12000, 5895},
         .text = start(StartPage::Ut99Lobby)},
        {.tab = 1, .name = "txtText4(3)", .kind = Kind::TextField, .place = {7800, 3180, 3375, 300},
         .flags = NoTabStop, .back = kDarkBlue, .fore = kGreen, .accessibleName = "Ping result"},
        {.tab = 1, .name = "txtText4(2)", .kind = Kind::TextField, .place = {11280, 3180, 660, 300},
         .flags = NoTabStop, .back = kDarkBlue, .fore = kGreen, .accessibleName = "Ping time"},
        {.tab = 1, .name = "pg3", .kind = Kind::ProgressBar, .place = {240, 8880, 12015, 135}},

        // Tab 2, About / Help / TeamSpeak / Admin. The frames and their contents
        // are white on dark blue.
        {.tab = 2, .name = "Image3", .kind = Kind::Picture, .place = {0, 930, 19200, 10800}},
        {.tab = 2, .name = "Frame1", .kind = Kind::Frame, .place = {240, 1200, 5895, 975},
         .text = "{Qev}Teamspeak Server", .back = kDarkBlue, .fore = kWhite},
        {.tab = 2, .name = "lblLabelTS", .kind = Kind::Label, .place = {240, 360, 5505, 210},
         .text = "You can contact us through are TS3 server - " UTQ_VOICE_CHAT_HOST, .font = Font::Tahoma9,
         .back = kDarkBlue, .fore = kWhite, .container = "Frame1"},
        {.tab = 2, .name = "Frame2", .kind = Kind::Frame, .place = {6360, 1200, 5895, 975}, .text = "About / Help",
         .back = kDarkBlue, .fore = kWhite},
        {.tab = 2, .name = "lblLabelAbout", .kind = Kind::Label, .place = {480, 360, 4980, 210},
         .text = "Unreal Tournament 99 Server Query v{Qev}2.8 by: Kestrun", .font = Font::Tahoma9, .back = kDarkBlue,
         .fore = kWhite, .container = "Frame2"},
        {.tab = 2, .name = "WebBrowser3", .kind = Kind::BrowserPane, .place = {240, 2280, 5895, 5415},
         .text = start(StartPage::VoiceChat)},
        {.tab = 2, .name = "txtTroubleshooting", .kind = Kind::HelpText, .place = {6360, 2280, 5895, 5415},
         .text = helptexts::ut99(), .accessibleName = "Help"},
        {.tab = 2, .name = "FraQev", .kind = Kind::Frame, .place = {240, 7800, 5895, 1095}, .text = "Visit {Qev}",
         .back = kDarkBlue, .fore = kWhite},
        {.tab = 2, .name = "PicQev(0)", .kind = Kind::Picture, .place = {1320, 160, 855, 840}, .back = kDarkBlue,
         .container = "FraQev"},
        {.tab = 2, .name = "lblQev", .kind = Kind::Label, .place = {2880, 480, 1560, 195}, .text = UTQ_MAKER_WEB_HOST,
         .flags = Hand, .back = kDarkBlue, .fore = kWhite, .container = "FraQev"},
        {.tab = 2, .name = "FraAdministration", .kind = Kind::Frame, .place = {6360, 7800, 5895, 1095},
         .text = "Administration", .back = kDarkBlue, .fore = kWhite},
        {.tab = 2, .name = "lblA1", .kind = Kind::Label, .place = {360, 240, 1620, 195},
         .text = "Server Stop/Start - US", .flags = Hidden | Hand, .back = kDarkBlue, .fore = kWhite,
         .container = "FraAdministration"},
        {.tab = 2, .name = "lblA3", .kind = Kind::Label, .place = {1560, 360, 3060, 195},
         .text = "This Area Is For {Qev} Administrators Only", .back = kDarkBlue, .fore = kWhite,
         .container = "FraAdministration"},
        {.tab = 2, .name = "lblA2", .kind = Kind::Label, .place = {360, 510, 1665, 195},
         .text = "UT Remote Server - US", .flags = Hidden | Hand, .back = kDarkBlue, .fore = kWhite,
         .container = "FraAdministration"},
        {.tab = 2, .name = "lblA4", .kind = Kind::Label, .place = {360, 780, 1665, 195},
         .text = "UT Remote Server - UK", .flags = Hidden | Hand, .back = kDarkBlue, .fore = kWhite,
         .container = "FraAdministration"},
        {.tab = 2, .name = "txtPooPooPeePee", .kind = Kind::TextField, .place = {9960, 8460, 1095, 315},
         .flags = Hidden, .accessibleName = "Administrator password"},
        {.tab = 2, .name = "cmdA1", .kind = Kind::Button, .place = {11040, 8460, 1095, 330}, .text = "Admin Login",
         .flags = Hand},
        {.tab = 2, .name = "cmdA2", .kind = Kind::Button, .place = {11040, 8460, 1095, 330}, .text = "Submit",
         .flags = Hidden | Hand},

        // Tab 3, UT 2004 Server Query.
        {.tab = 3, .name = "Image4", .kind = Kind::Picture, .place = {0, 930, 13500, 8400}},
        {.tab = 3, .name = "WebBrowser6", .kind = Kind::BrowserPane, .place = {4080, 1080, 8265, 7695},
         .text = start(StartPage::Ut2004Start)},
        {.tab = 3, .name = "Timer04", .kind = Kind::Timer, .place = {240, 3360}},
        {.tab = 3, .name = "Combo3", .kind = Kind::ComboBox, .place = {120, 7440, 1215, 315}, .text = "Name",
         .font = Font::MsSansSerifBold, .tooltip = "Select custom to enter in a server ip / port",
         .items = {"{Qev}", "Custom"}, .accessibleName = "Our servers"},
        {.tab = 3, .name = "txt04Server", .kind = Kind::TextField, .place = {1320, 7440, 1560, 310},
         .text = "Server IP", .font = Font::MsSansSerifBold, .back = kButtonFace, .accessibleName = "Server IP"},
        {.tab = 3, .name = "txt04port", .kind = Kind::TextField, .place = {2880, 7440, 1095, 310},
         .text = "Server Port", .font = Font::MsSansSerifBold, .back = kButtonFace, .accessibleName = "Server Port"},
        {.tab = 3, .name = "txt04ping(0)", .kind = Kind::TextField, .place = {120, 7800, 1215, 315},
         .flags = Disabled, .font = Font::MsSansSerifBold, .back = kButtonFace, .accessibleName = "Ping result"},
        {.tab = 3, .name = "txt04ping(1)", .kind = Kind::TextField, .place = {1320, 7800, 735, 315},
         .flags = Disabled, .font = Font::MsSansSerifBold, .back = kButtonFace, .accessibleName = "Ping time"},
        {.tab = 3, .name = "cmdping04", .kind = Kind::Button, .place = {2280, 7800, 1710, 315}, .text = "Ping it!",
         .flags = Hand, .font = Font::MicrosoftSansSerifBold},
        {.tab = 3, .name = "cmdBeginQuery04", .kind = Kind::Button, .place = {120, 8400, 3855, 330},
         .text = "Begin Query", .flags = Hand, .font = Font::MsSansSerifBold},
        {.tab = 3, .name = "pg04", .kind = Kind::ProgressBar, .place = {120, 8880, 12255, 135}},

        // Tab 4, UT 2004 Favorite Servers.
        {.tab = 4, .name = "Image6", .kind = Kind::Picture, .place = {0, 930, 13500, 8400}},
        {.tab = 4, .name = "lblServerName(1)", .kind = Kind::Label, .place = {240, 4560, 975, 255},
         .text = "Server Name", .fore = 0x009E5713u},
        {.tab = 4, .name = "lblServerIP(1)", .kind = Kind::Label, .place = {1560, 4560, 735, 255},
         .text = "Server IP", .fore = 0x009E5713u},
        {.tab = 4, .name = "lblServerPort(1)", .kind = Kind::Label, .place = {2640, 4560, 855, 255},
         .text = "Server Port", .fore = 0x009E5713u},
        {.tab = 4, .name = "WebBrowser7", .kind = Kind::BrowserPane, .place = {4080, 1080, 8265, 7695},
         .text = start(StartPage::Ut2004Start)},
        {.tab = 4, .name = "Timer041", .kind = Kind::Timer, .place = {240, 3360}},
        {.tab = 4, .name = "Timer042", .kind = Kind::Timer, .place = {240, 3840}},
        {.tab = 4, .name = "cmdSaveChanges04f", .kind = Kind::Button, .place = {120, 6720, 3855, 330},
         .text = "Save Changes", .flags = Hand, .font = Font::MsSansSerifBold},
        {.tab = 4, .name = "pg04f2", .kind = Kind::ProgressBar, .place = {120, 7050, 3840, 105}},
        {.tab = 4, .name = "txt04ping(2)", .kind = Kind::TextField, .place = {120, 7800, 1215, 330},
         .flags = Disabled, .font = Font::MsSansSerifBold, .accessibleName = "Ping result"},
        {.tab = 4, .name = "txt04ping(3)", .kind = Kind::TextField, .place = {1320, 7800, 735, 330},
         .flags = Disabled, .font = Font::MsSansSerifBold, .accessibleName = "Ping time"},
        {.tab = 4, .name = "cmdping042", .kind = Kind::Button, .place = {2280, 7800, 1710, 330}, .text = "Ping it!",
         .flags = Hand, .font = Font::MicrosoftSansSerifBold},
        {.tab = 4, .name = "cmdBeginQuery04f", .kind = Kind::Button, .place = {120, 8400, 3855, 330},
         .text = "Begin Query", .flags = Hand, .font = Font::MsSansSerifBold},
        {.tab = 4, .name = "pf04f", .kind = Kind::ProgressBar, .place = {120, 8880, 12255, 135}},

        // Tab 5, UT 2004 About / Help.
        {.tab = 5, .name = "Image5", .kind = Kind::Picture, .place = {0, 930, 13500, 8400}},
        {.tab = 5, .name = "txtTroubleshooting_04", .kind = Kind::HelpText, .place = {4080, 1080, 8260, 7935},
         .text = helptexts::ut2004(), .accessibleName = "Help"},

        // Tab 6, UT3 Server Query.
        {.tab = 6, .name = "Image1(1)", .kind = Kind::Picture, .place = {0, 930, 13500, 8400}},
        {.tab = 6, .name = "WebBrowser4", .kind = Kind::BrowserPane, .place = {4080, 1080, 8260, 7695},
         .text = start(StartPage::Ut3Start)},
        {.tab = 6, .name = "Timerut3", .kind = Kind::Timer, .place = {360, 4320}},
        {.tab = 6, .name = "Combo2", .kind = Kind::ComboBox, .place = {120, 6960, 1815, 315}, .text = "Server IP",
         .font = Font::MsSansSerifBold, .tooltip = "Select custom to enter in a server ip",
         .items = {"{Qev}", "Custom"}, .accessibleName = "Our servers"},
        {.tab = 6, .name = "ut3iptxt", .kind = Kind::TextField, .place = {2160, 6960, 1815, 310},
         .font = Font::MsSansSerifBold, .back = kButtonFace, .accessibleName = "Server IP"},
        {.tab = 6, .name = "txtQueryPort", .kind = Kind::TextField, .place = {120, 7440, 1815, 310},
         .text = "Query Port", .font = Font::MsSansSerifBold, .back = kButtonFace, .tooltip = kQueryPortTip, .accessibleName = "Query Port"},
        {.tab = 6, .name = "txtServerWeb", .kind = Kind::TextField, .place = {2160, 7440, 1815, 310},
         .text = "Server Web Port", .font = Font::MsSansSerifBold, .back = kButtonFace, .tooltip = kWebPortTip, .accessibleName = "Server Web Port"},
        {.tab = 6, .name = "txtpUT3(0)", .kind = Kind::TextField, .place = {120, 7920, 1095, 310}, .text = "Result",
         .flags = Disabled, .font = Font::MsSansSerifBold, .back = kButtonFace, .accessibleName = "Ping result"},
        {.tab = 6, .name = "txtpUT3(1)", .kind = Kind::TextField, .place = {1200, 7920, 735, 310}, .text = "Ping",
         .flags = Disabled, .font = Font::MsSansSerifBold, .back = kButtonFace, .accessibleName = "Ping time"},
        {.tab = 6, .name = "cmdpUT3", .kind = Kind::Button, .place = {2160, 7920, 1815, 330}, .text = "Ping It!",
         .flags = Hand, .font = Font::MsSansSerifBold},
        {.tab = 6, .name = "cmdAdminUT3", .kind = Kind::Button, .place = {120, 8440, 1815, 330}, .text = "UT3 Admin",
         .flags = Hand, .font = Font::MsSansSerifBold},
        {.tab = 6, .name = "cmdBeginQueryut3", .kind = Kind::Button, .place = {2160, 8440, 1815, 330},
         .text = "Begin Query", .flags = Hand, .font = Font::MsSansSerifBold},
        {.tab = 6, .name = "pgut3", .kind = Kind::ProgressBar, .place = {120, 8880, 12225, 135}},

        // Tab 7, UT3 Favorite Servers.
        {.tab = 7, .name = "Image1(2)", .kind = Kind::Picture, .place = {0, 930, 13500, 8400}},
        {.tab = 7, .name = "lblServerName(0)", .kind = Kind::Label, .place = {240, 4560, 975, 255},
         .text = "Server Name", .fore = kRed},
        {.tab = 7, .name = "lblServerIPut3", .kind = Kind::Label, .place = {1600, 4560, 735, 255},
         .text = "Server IP", .fore = kRed},
        {.tab = 7, .name = "lblServerQ", .kind = Kind::Label, .place = {2560, 4560, 510, 195}, .text = "Q  Port",
         .fore = kRed, .tooltip = kQueryPortTip},
        {.tab = 7, .name = "lblServerW", .kind = Kind::Label, .place = {3200, 4560, 495, 195}, .text = "W Port",
         .back = 0x000000C0u, .fore = kRed, .tooltip = kWebPortTip},
        {.tab = 7, .name = "WebBrowser5", .kind = Kind::BrowserPane, .place = {4080, 1080, 8260, 7695},
         .text = start(StartPage::Ut3Start)},
        {.tab = 7, .name = "Timerut3f", .kind = Kind::Timer, .place = {240, 3480}},
        {.tab = 7, .name = "Timerut3s", .kind = Kind::Timer, .place = {240, 3960}},
        {.tab = 7, .name = "cmdSaveChangesut3", .kind = Kind::Button, .place = {120, 6720, 3855, 330},
         .text = "Save Changes", .flags = Hand, .font = Font::MsSansSerifBold},
        {.tab = 7, .name = "pg3ut3s", .kind = Kind::ProgressBar, .place = {120, 7050, 3840, 105}},
        {.tab = 7, .name = "txtpUT3(2)", .kind = Kind::TextField, .place = {120, 7800, 1095, 310}, .text = "Result",
         .flags = Disabled, .font = Font::MsSansSerifBold, .accessibleName = "Ping result"},
        {.tab = 7, .name = "txtpUT3(3)", .kind = Kind::TextField, .place = {1200, 7800, 735, 310}, .text = "Ping",
         .flags = Disabled, .font = Font::MsSansSerifBold, .accessibleName = "Ping time"},
        {.tab = 7, .name = "cmdpUT32", .kind = Kind::Button, .place = {2160, 7800, 1815, 330}, .text = "Ping it!",
         .flags = Hand, .font = Font::MsSansSerifBold},
        {.tab = 7, .name = "cmdBeginQueryut3f", .kind = Kind::Button, .place = {120, 8400, 3855, 330},
         .text = "Begin Query", .flags = Hand, .font = Font::MsSansSerifBold},
        {.tab = 7, .name = "pg2ut3", .kind = Kind::ProgressBar, .place = {120, 8880, 12225, 135}},

        // Tab 8, UT3 About / Help.
        {.tab = 8, .name = "Image1(3)", .kind = Kind::Picture, .place = {0, 930, 13500, 8400}},
        {.tab = 8, .name = "txtTroubleshooting_If", .kind = Kind::HelpText, .place = {4080, 1080, 8260, 7935},
         .text = helptexts::ut3(), .accessibleName = "Help"},
    };
    // clang-format on
    for (const Grid& grid : kGrids)
        addGrid(c, grid);
    return c;
}

} // namespace

const std::vector<Control>& mainWindowControls()
{
    static const std::vector<Control> controls = buildControls();
    return controls;
}

} // namespace layout
