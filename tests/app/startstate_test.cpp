#include "app/controlfactory.h"
#include "app/windowlayout.h"
#include "favourites/savetabs.h"
#include "support/qstringprinter.h"
#include "support/windowdriver.h"

#include <QComboBox>
#include <QRadioButton>

#include <cmath>

namespace {

class StartState : public WindowTest {};

int px(int twips)
{
    return static_cast<int>(std::lround(twips * QGuiApplication::primaryScreen()->logicalDotsPerInch() / 1440.0));
}

TEST_F(StartState, TheWindowAsDesignedWithTheFocusInTheUt99HostField)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Unreal Tournament Server Query v{Qev}3.0 by: Kestrun"));
    EXPECT_EQ(window->size(), QSize(px(12435), px(9135)));
    EXPECT_EQ(window->minimumSize(), window->maximumSize()); // not resizable
    EXPECT_FALSE(window->windowIcon().isNull());
    TabStrip* tabs = window->tabStrip();
    ASSERT_EQ(tabs->count(), 9);
    EXPECT_EQ(tabs->currentIndex(), 0);
    // Three rows of three tabs: the first of each row starts at the left.
    EXPECT_EQ(tabs->tabRect(3).left(), 0);
    EXPECT_GT(tabs->tabRect(3).top(), tabs->tabRect(2).top());
    EXPECT_EQ(tabs->tabRect(4).top(), tabs->tabRect(3).top());
    EXPECT_GT(tabs->tabRect(6).top(), tabs->tabRect(5).top());
    QLineEdit* host = field("txtNameOrIP");
    EXPECT_EQ(window->focusWidget(), host);
    EXPECT_EQ(host->selectedText(), host->text());
    EXPECT_FALSE(host->text().isEmpty());
}

// Every control of the layout, as the layout describes it: kind, place, tab,
// text, list, tooltip, font, pointer, shown or hidden, enabled or not.
TEST_F(StartState, EveryControlAsTheLayoutDescribesIt)
{
    using layout::Kind;
    for (const layout::Control& c : layout::mainWindowControls()) {
        SCOPED_TRACE(c.name);
        QObject* object = window->control(QString::fromLatin1(c.name));
        ASSERT_TRUE(object);
        if (c.kind == Kind::Timer) {
            EXPECT_FALSE(timer(c.name)->isEnabled());
            EXPECT_EQ(timer(c.name)->intervalMs, 100);
            continue;
        }
        auto* widget = qobject_cast<QWidget*>(object);
        const QRect designed(px(c.place.left), px(c.place.top), px(c.place.width), px(c.place.height));
        if (c.kind == Kind::Label) { // a label may grow to show its whole caption
            EXPECT_EQ(widget->pos(), designed.topLeft());
            EXPECT_GE(widget->width(), designed.width());
        } else {
            EXPECT_EQ(widget->geometry(), designed);
        }
        EXPECT_EQ(tabOf(widget), c.tab);
        EXPECT_EQ(widget->toolTip(), c.tooltip);
        EXPECT_EQ(widget->isHidden(), (c.flags & layout::Hidden) != 0);
        EXPECT_EQ(widget->isEnabled(), (c.flags & layout::Disabled) == 0);
        EXPECT_EQ(widget->cursor().shape() == Qt::PointingHandCursor, (c.flags & layout::HandPointer) != 0);
        if (c.font != layout::Font::Window) {
            EXPECT_EQ(widget->font(), layout::font(c.font));
        }
        if (c.kind != Kind::Picture && c.kind != Kind::BrowserPane) { // inner blanks kept: "Server   IP"
            const QString text = QString(c.text).replace(QLatin1String("\r\n"), QLatin1String("\n"));
            EXPECT_EQ(shown(c.name), c.kind == Kind::ProgressBar ? QStringLiteral("0") : text); // a bar starts empty
        }
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            EXPECT_TRUE(combo->isEditable());
            QStringList items;
            for (int i = 0; i < combo->count(); ++i)
                items << combo->itemText(i);
            EXPECT_EQ(items, c.items);
        }
    }
    // Only the current tab's controls show.
    EXPECT_TRUE(get("cmdBeginQuery")->isVisible());
    EXPECT_FALSE(get("cmdBeginQuery04")->isVisible());
    // Stacking: background under logo, caption labels under their buttons.
    const auto above = [this](const char* upper, const char* lower) {
        const QObjectList& siblings = get(upper)->parentWidget()->children();
        return siblings.indexOf(get(upper)) > siblings.indexOf(get(lower));
    };
    EXPECT_TRUE(above("UTlogo", "Image1(0)"));
    EXPECT_TRUE(above("cmdServferIP", "lblServerIP(0)"));
    EXPECT_TRUE(above("ServerName", "Image2"));
}

TEST_F(StartState, FavouriteOptionsFormOneGroupAcrossTabs)
{
    const auto checked = [&] {
        QStringList names;
        for (const favourites::SaveTab& tab : favourites::kSaveTabs) {
            for (const favourites::Slot& slot : tab.table->rows) {
                if (get<QRadioButton>(slot.option)->isChecked())
                    names << QLatin1String(slot.option);
            }
        }
        return names;
    };
    EXPECT_EQ(checked(), QStringList{"serverFav(0)"});
    for (const char* option : {"Option1(2)", "serverOpt(3)", "serverFav(5)"}) {
        click(option);
        EXPECT_EQ(checked(), QStringList{option});
    }
    click("serverOpt(6)"); // disabled: the click does nothing
    EXPECT_EQ(checked(), QStringList{"serverFav(5)"});
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
    // Each tab shows its caption: dark strokes inside its frame.
    const QImage strip = window->tabStrip()->grab().toImage();
    for (int i = 0; i < window->tabStrip()->count(); ++i) {
        const QRect face = window->tabStrip()->tabRect(i).adjusted(4, 4, -4, -4);
        int dark = 0;
        for (int y = face.top(); y <= face.bottom(); ++y)
            for (int x = face.left(); x <= face.right(); ++x)
                dark += qGray(strip.pixel(x, y)) < 100;
        EXPECT_GT(dark, 20) << "tab " << i;
    }
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
