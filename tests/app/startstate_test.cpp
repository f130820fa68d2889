#include "app/weblinks.h"
#include "app/windowlayout.h"
#include "buildconfig.h"
#include "favourites/savetabs.h"
#include "ping/pingcommands.h"
#include "query/launch.h"
#include "query/presets.h"
#include "query/querytabs.h"
#include "support/windowdriver.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScreen>

#include <cmath>
#include <map>

namespace {

class StartState : public WindowTest {};

int px(int twips)
{
    return static_cast<int>(std::lround(twips * QGuiApplication::primaryScreen()->logicalDotsPerInch() / 1440.0));
}

TEST_F(StartState, WindowCaptionSizeAndTabs)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Unreal Tournament Server Query v{Qev}3.0 by: Kestrun"));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->size(), QSize(px(12435), px(9135)));
    EXPECT_EQ(window->minimumSize(), window->maximumSize()); // not resizable
    EXPECT_FALSE(window->windowIcon().isNull());

    TabStrip* tabs = window->tabStrip();
    EXPECT_EQ(tabs->objectName(), QStringLiteral("SSTTab0"));
    const QStringList captions{"UT99 Server Query",    "UT99 Favorite Servers",    "About / Help / TeamSpeak / Admin",
                               "UT 2004 Server Query", "UT 2004 Favorite Servers", "About / Help",
                               "UT3 Server Query",     "UT3 Favorite Servers",     "About / Help"};
    ASSERT_EQ(tabs->count(), 9);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(tabs->tabText(i), captions[i]);
    EXPECT_EQ(tabs->currentIndex(), 0);
    // Three rows of three tabs: the first of each row starts at the left.
    EXPECT_EQ(tabs->tabRect(3).left(), 0);
    EXPECT_GT(tabs->tabRect(3).top(), tabs->tabRect(2).top());
    EXPECT_EQ(tabs->tabRect(4).top(), tabs->tabRect(3).top());
    EXPECT_GT(tabs->tabRect(6).top(), tabs->tabRect(5).top());
}

TEST_F(StartState, FocusAndWholeTextInTheUt99HostField)
{
    QLineEdit* host = field("txtNameOrIP");
    EXPECT_EQ(window->focusWidget(), host);
    EXPECT_EQ(host->text(), QStringLiteral(UTQ_PRESET_HOST_A));
    EXPECT_EQ(host->selectionStart(), 0);
    EXPECT_EQ(host->selectedText(), host->text());
}

TEST_F(StartState, TextsOfTheQueryTabs)
{
    const std::pair<const char*, const char*> texts[] = {
        {"txtText2", "7778"},
        {"txtText3", "7777"},
        {"txt04Server", "Server IP"},
        {"txt04port", "Server Port"},
        {"ut3iptxt", ""},
        {"txtQueryPort", "Query Port"},
        {"txtServerWeb", "Server Web Port"},
        {"txtpUT3(0)", "Result"},
        {"txtpUT3(1)", "Ping"},
        {"txtpUT3(2)", "Result"},
        {"txtpUT3(3)", "Ping"},
        {"txtText4(0)", ""},
        {"txt04ping(0)", ""},
    };
    for (const auto& [name, text] : texts) {
        SCOPED_TRACE(name);
        EXPECT_EQ(field(name)->text(), QString::fromUtf8(text));
    }
    const std::pair<const char*, QStringList> combos[] = {
        {"Combo1", {"{Qev}", "{Qev} US", "{Qev} UK", "Custom"}},
        {"Combo2", {"Server IP", "{Qev}", "Custom"}},
        {"Combo3", {"Name", "{Qev}", "Custom"}},
    };
    for (const auto& [name, expected] : combos) {
        SCOPED_TRACE(name);
        auto* combo = get<QComboBox>(name);
        EXPECT_TRUE(combo->isEditable());
        EXPECT_EQ(combo->currentText(), expected.front());
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        EXPECT_EQ(items, expected.mid(1));
    }
    EXPECT_EQ(get<QLabel>("lblStatus")->text(), QStringLiteral("Label1"));
    // Captions keep their inner blanks.
    EXPECT_EQ(get<QAbstractButton>("cmdServferIP")->text(), QStringLiteral("Server   IP"));
    EXPECT_EQ(get<QLabel>("lblServerIP(0)")->text(), QStringLiteral("Server    IP"));
    EXPECT_EQ(get<QLabel>("lblServerQ")->text(), QStringLiteral("Q  Port"));
    EXPECT_EQ(get<QGroupBox>("Frame1")->title(), QStringLiteral("{Qev}Teamspeak Server"));
}

TEST_F(StartState, TimersStoppedAndBarsEmpty)
{
    for (const char* name :
         {"Timer1", "Timer2", "Timer3", "Timer04", "Timer041", "Timer042", "Timerut3", "Timerut3f", "Timerut3s"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(timer(name));
        EXPECT_FALSE(timer(name)->isEnabled());
        EXPECT_EQ(timer(name)->intervalMs, 100);
    }
    for (const char* name : {"pg", "pg2", "pg3", "pg04", "pf04f", "pg04f2", "pgut3", "pg2ut3", "pg3ut3s"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(bar(name));
        EXPECT_EQ(bar(name)->value(), 0);
        EXPECT_EQ(bar(name)->minimum(), 0);
        EXPECT_EQ(bar(name)->maximum(), 100);
    }
}

TEST_F(StartState, HiddenAndDisabledControls)
{
    // The text holders right of the client area exist but lie outside the window.
    for (const char* name : {"lblStatus", "lblUt3", "lblUt32", "ut04", "ut042"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(get(name)->parentWidget(), window.get());
        EXPECT_FALSE(window->rect().intersects(get(name)->geometry()));
    }
    for (const char* name : {"txtPooPooPeePee", "cmdA2", "lblA1", "lblA2", "lblA4"})
        EXPECT_TRUE(get(name)->isHidden()) << name;
    for (const char* name : {"cmdA1", "lblA3"})
        EXPECT_FALSE(get(name)->isHidden()) << name;
    for (const char* name : {"ServerName04", "ServerIP04", "ServerPort04", "serverOpt(6)", "cmdServferIP",
                             "cmdQueryPort", "cmdServerPort", "txt04ping(0)", "txtpUT3(3)"})
        EXPECT_FALSE(get(name)->isEnabled()) << name;
    for (const char* name : {"ServerName042", "serverOpt(1)", "txtNameOrIP", "cmdPing"})
        EXPECT_TRUE(get(name)->isEnabled()) << name;
}

TEST_F(StartState, OnlyTheCurrentTabsControlsShow)
{
    EXPECT_TRUE(get("cmdBeginQuery")->isVisible());
    EXPECT_FALSE(get("cmdBeginQuery04")->isVisible());
    window->tabStrip()->setCurrentIndex(3);
    EXPECT_FALSE(get("cmdBeginQuery")->isVisible());
    EXPECT_TRUE(get("cmdBeginQuery04")->isVisible());
    EXPECT_EQ(tabOf(get("lblA1")), 2); // inside its frame on tab 2
}

TEST_F(StartState, FavouriteOptionsFormOneGroupAcrossTabs)
{
    std::vector<QRadioButton*> options;
    for (const char* name :
         {"Option1(0)", "Option1(1)", "Option1(2)", "Option1(3)", "Option1(4)", "Option1(5)", "serverOpt(1)",
          "serverOpt(2)", "serverOpt(3)", "serverOpt(4)", "serverOpt(5)", "serverOpt(6)", "serverFav(0)",
          "serverFav(1)", "serverFav(2)", "serverFav(3)", "serverFav(4)", "serverFav(5)"})
        options.push_back(get<QRadioButton>(name));
    const auto checked = [&] {
        QStringList names;
        for (QRadioButton* o : options) {
            if (o->isChecked())
                names << o->objectName();
        }
        return names;
    };
    EXPECT_EQ(checked(), QStringList{"serverFav(0)"});
    click("Option1(2)");
    EXPECT_EQ(checked(), QStringList{"Option1(2)"});
    click("serverOpt(3)");
    EXPECT_EQ(checked(), QStringList{"serverOpt(3)"});
    click("serverOpt(6)"); // disabled: the click does nothing
    EXPECT_EQ(checked(), QStringList{"serverOpt(3)"});
    click("serverFav(5)");
    EXPECT_EQ(checked(), QStringList{"serverFav(5)"});
}

TEST_F(StartState, PanesOpenTheirStartPages)
{
    const QString host = QStringLiteral("http://") + QStringLiteral(UTQ_MAIN_STATUS_HOST);
    const std::pair<const char*, const char*> panes[] = {
        {"WebBrowser1", "/php/UTstats/lobby2.html"}, {"WebBrowser2", "/php/UTstats/lobby2.html"},
        {"WebBrowser3", "/Qev/TS3/index.php"},       {"WebBrowser6", "/Qev/04query.html"},
        {"WebBrowser7", "/Qev/04query.html"},        {"WebBrowser4", "/Qev/ut3query.html"},
        {"WebBrowser5", "/Qev/ut3query.html"},
    };
    for (const auto& [name, path] : panes) {
        SCOPED_TRACE(name);
        EXPECT_EQ(pane(name)->startAddress, host + QString::fromLatin1(path));
        EXPECT_TRUE(pane(name)->navigations.isEmpty());
    }
}

TEST_F(StartState, PlacesLooksAndTooltipsFollowTheLayout)
{
    // Every control of the layout exists under its name, where the layout puts it.
    for (const layout::Control& c : layout::mainWindowControls()) {
        SCOPED_TRACE(c.name);
        QObject* object = window->control(QString::fromLatin1(c.name));
        ASSERT_TRUE(object);
        if (auto* widget = qobject_cast<QWidget*>(object)) {
            const QRect designed(px(c.place.left), px(c.place.top), px(c.place.width), px(c.place.height));
            if (c.kind == layout::Kind::Label) { // a label may grow to show its whole caption
                EXPECT_EQ(widget->pos(), designed.topLeft());
                EXPECT_EQ(widget->height(), designed.height());
                EXPECT_GE(widget->width(), designed.width());
            } else {
                EXPECT_EQ(widget->geometry(), designed);
            }
            EXPECT_EQ(tabOf(widget), c.tab);
        }
    }
    EXPECT_EQ(get("txtText4(0)")->focusPolicy(), Qt::ClickFocus);
    EXPECT_TRUE(get("cmdServferIP")->font().bold());
    EXPECT_DOUBLE_EQ(get("lblServerIP(0)")->font().pointSizeF(), 9.0);
    EXPECT_EQ(get("cmdBeginQuery")->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_TRUE(get<QPlainTextEdit>("txtTroubleshooting_If"));

    // Stacking: background under logo, caption labels under their buttons.
    const auto above = [this](const char* upper, const char* lower) {
        const QObjectList& siblings = get(upper)->parentWidget()->children();
        return siblings.indexOf(get(upper)) > siblings.indexOf(get(lower));
    };
    EXPECT_TRUE(above("UTlogo", "Image1(0)"));
    EXPECT_TRUE(above("cmdServferIP", "lblServerIP(0)"));
    EXPECT_TRUE(above("cmdQueryPort", "lblQueryPort"));
    EXPECT_TRUE(above("ServerName", "Image2"));

    const QString editTip = QStringLiteral("You can edit any of these feilds. Click \"Save Chenges\" to Save.");
    const QString selectTip = QStringLiteral("Selects the server to be Queried or Launched.");
    const std::pair<const char*, QString> tips[] = {
        {"ServerName", editTip},
        {"QueryPort5", editTip},
        {"QueryPort6", {}},
        {"Option1(5)", selectTip},
        {"ServerIP04", editTip},
        {"ServerPort046", {}},
        {"serverOpt(6)", selectTip},
        {"serverOpt(5)", {}},
        {"UT3ServerPort5", editTip},
        {"Serverwport", {}},
        {"serverFav(4)", selectTip},
        {"serverFav(5)", {}},
        {"txtQueryPort", "Default 6500"},
        {"Combo3", "Select custom to enter in a server ip / port"},
    };
    for (const auto& [name, tip] : tips)
        EXPECT_EQ(get(name)->toolTip(), tip) << name;
}

// Colours as they are painted, not as the palettes say: each sampled inside
// the control, away from its frame and text.
TEST_F(StartState, ControlsPaintTheirDesignedColours)
{
    window->show();
    const auto painted = [this](const char* name, QPoint at) {
        QWidget* widget = get(name);
        window->tabStrip()->setCurrentIndex(tabOf(widget));
        const QImage image = widget->grab().toImage();
        return QColor(image.pixel(at.x() < 0 ? image.width() + at.x() : at.x(), at.y()));
    };
    const QColor ping = painted("cmdPing", {4, 4}); // the style shades a button's face: green, not exact
    EXPECT_TRUE(ping.green() > 0x90 && ping.red() < 0x80 && ping.blue() < 0x80) << ping.name().toStdString();
    EXPECT_EQ(painted("txtText4(0)", {-4, 4}), QColor(0, 0x15, 0x37));
    EXPECT_EQ(painted("lblServerW", {1, 1}), QColor(0xC0, 0, 0));
    // The 18 favourites option buttons, at a corner their round indicator leaves free.
    const std::pair<const favourites::SlotTable*, QColor> grids[] = {
        {&favourites::kUt99Slots, QColor(0, 0, 0x40)},
        {&favourites::kUt2004Slots, QColor(0x19, 0x18, 0x17)},
        {&favourites::kUt3Slots, QColor(0x19, 0x18, 0x17)},
    };
    for (const auto& [table, colour] : grids) {
        for (const favourites::Slot& slot : table->rows) {
            SCOPED_TRACE(slot.option);
            EXPECT_EQ(painted(slot.option, {0, 0}), colour);
            EXPECT_EQ(painted(slot.option, {-1, 0}), colour);
        }
    }
}

} // namespace
namespace {

// WCAG's contrast ratio of two colours, from 1 to 21.
double contrast(QColor a, QColor b)
{
    const auto luminance = [](QColor c) {
        const auto linear = [](double s) { return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Every coloured caption that lies straight on a background picture of ours
// stands out from each pixel of the picture beneath it by at least 4.5:1.
TEST_F(StartState, CaptionsOnOurPicturesAreReadable)
{
    for (const layout::Control& c : layout::mainWindowControls()) {
        if (c.kind != layout::Kind::Label || c.container || c.back != layout::kSystemColour ||
            c.fore == layout::kSystemColour || (c.flags & layout::Hidden))
            continue;
        SCOPED_TRACE(c.name);
        QWidget* label = get(c.name);
        const QLabel* picture = nullptr;
        for (const QLabel* sibling : label->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (!sibling->pixmap().isNull() && sibling->geometry().contains(label->geometry()))
                picture = sibling;
        }
        ASSERT_TRUE(picture);
        const QImage beneath = picture->pixmap().toImage().copy(label->geometry().translated(-picture->pos()));
        const QColor fore = label->palette().color(QPalette::WindowText);
        double worst = 21;
        for (int y = 0; y < beneath.height(); ++y)
            for (int x = 0; x < beneath.width(); ++x)
                worst = std::min(worst, contrast(fore, QColor(beneath.pixel(x, y))));
        EXPECT_GE(worst, 4.5);
    }
}

// Every control name the handlers' tables use is a control of the layout, of
// the kind the handler takes it for: a misspelt name fails here, not in use.
TEST_F(StartState, EveryNameInTheTablesIsAControlOfItsKind)
{
    using layout::Kind;
    std::vector<std::pair<const char*, std::vector<Kind>>> names; // a name and the kinds it may be
    const auto add = [&](std::initializer_list<const char*> list, std::vector<Kind> kinds) {
        for (const char* name : list)
            if (name)
                names.emplace_back(name, kinds);
    };
    const std::vector<Kind> text{Kind::TextField, Kind::Label}; // set and cleared alike
    for (const query::QueryTab& t : query::kQueryTabs) {
        add({t.button}, {Kind::Button});
        add({t.timer}, {Kind::Timer});
        add({t.bar}, {Kind::ProgressBar});
        add({t.pane}, {Kind::BrowserPane});
        add({t.fields[0], t.fields[1], t.fields[2]}, {Kind::TextField});
        add({t.pingDisplay[0], t.pingDisplay[1], t.pingDisplay[2]}, text);
    }
    for (const ping::PingCommand& c : ping::kPingCommands) {
        add({c.button}, {Kind::Button});
        add({c.hostField, c.resultField, c.timeField}, {Kind::TextField});
        add({c.clearedLabel, c.resolveFailureLabel, c.statusLabel}, {Kind::Label});
    }
    for (const favourites::SaveTab& t : favourites::kSaveTabs) {
        add({t.button}, {Kind::Button});
        add({t.timer}, {Kind::Timer});
        add({t.bar}, {Kind::ProgressBar});
        for (const favourites::Slot& slot : t.table->rows) {
            add({slot.option}, {Kind::OptionButton});
            for (const char* field : slot.fields)
                add({field}, {Kind::TextField});
        }
    }
    for (const query::LaunchButton& b : query::kLaunchButtons) {
        add({b.button}, {Kind::Button});
        add({b.portField}, {Kind::TextField});
    }
    for (const query::PresetList& list : query::kPresetLists) {
        add({list.combo}, {Kind::ComboBox});
        add({list.fields[0], list.fields[1], list.fields[2]}, {Kind::TextField});
    }
    for (const weblinks::WebLink& link : weblinks::kLinks)
        add({link.control}, {Kind::Label, Kind::Button});

    std::map<QString, Kind> layoutKinds;
    for (const layout::Control& c : layout::mainWindowControls())
        layoutKinds[QString::fromLatin1(c.name)] = c.kind;
    for (const auto& [name, kinds] : names) {
        const auto found = layoutKinds.find(QString::fromLatin1(name));
        ASSERT_NE(found, layoutKinds.end()) << name << " is no control of the layout";
        EXPECT_NE(std::find(kinds.begin(), kinds.end(), found->second), kinds.end())
            << name << " is of kind " << static_cast<int>(found->second);
    }
}

} // namespace
