#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// The window described as data: every control with its kind, place, text and
// look, in twips as the layout was designed (15 twips to a pixel at 96 dpi).
namespace layout {

enum class Kind {
    Button,
    Label,
    TextField,
    HelpText, // multi-line text field with a vertical scroll bar
    ComboBox,
    OptionButton,
    Frame,
    Picture,
    ProgressBar,
    BrowserPane,
    Timer,
};

enum Flag : unsigned {
    Disabled = 1u << 0,
    Hidden = 1u << 1,
    HandPointer = 1u << 2,
    NoTabStop = 1u << 3,
};

// Fonts the layout names; the window's default is Tahoma 8.25 pt.
enum class Font { Window, TahomaBold, Tahoma9, Tahoma9Bold, MsSansSerifBold, MicrosoftSansSerifBold };

// Colours as the layout gives them: 0x00BBGGRR.
using BgrColour = std::uint32_t;
inline constexpr BgrColour kSystemColour = 0xFFFFFFFFu;
inline constexpr BgrColour kWhite = 0x00FFFFFFu;
inline constexpr BgrColour kGreen = 0x0000C000u;
inline constexpr BgrColour kDarkBlue = 0x00371500u;
inline constexpr BgrColour kButtonFace = 0x8000000Fu; // the system's button-face colour

struct Twips {
    int left = 0, top = 0, width = 0, height = 0;
};

inline constexpr int kOnWindow = -1; // the tab of controls that lie on the window itself

struct Control {
    int tab = kOnWindow;
    const char* name = "";
    Kind kind = Kind::Label;
    Twips place;
    QString text; // caption or text; a pane's start page path
    unsigned flags = 0;
    Font font = Font::Window;
    BgrColour back = kSystemColour;
    BgrColour fore = kSystemColour;
    QString tooltip;
    const char* container = nullptr; // the frame holding it, else its tab
    QStringList items;               // a combo box's list
    // What assistive technology calls it, where its caption does not say:
    // the text of the label beside it (whose buddy it becomes), or a name.
    const char* labelledBy = nullptr;
    QString accessibleName;
};

// Every control of the main window, containers before their contents, each
// tab's background picture first so that it lies under the rest.
const std::vector<Control>& mainWindowControls();

// Window client area and tab strip, in twips.
inline constexpr Twips kClientArea{0, 0, 12435, 9135};
inline constexpr Twips kTabStrip{0, 0, 12735, 9615};
inline constexpr int kTabRows = 3;
inline constexpr int kTabHeight = 300;

struct TabPage {
    const char* caption;
};
extern const TabPage kTabs[9];

} // namespace layout
