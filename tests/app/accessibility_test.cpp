// The window as a screen reader finds it.

#include "support/windowdriver.h"

#include <QAccessible>
#include <QApplication>

namespace {

class Accessibility : public WindowTest {
public:
    // The tab strip's list of page tabs, as a screen reader finds it.
    QAccessibleInterface* tabList() const
    {
        QAccessibleInterface* strip = QAccessible::queryAccessibleInterface(window->tabStrip());
        for (int i = 0; i < strip->childCount(); ++i) {
            if (strip->child(i)->role() == QAccessible::PageTabList)
                return strip->child(i);
        }
        ADD_FAILURE() << "no page tab list";
        return strip;
    }
};

// Every control a person can reach on each tab has a name that says what it
// is, each favourite's option button its own; the tab strip is a list of
// nine page tabs with the current one selected.
TEST_F(Accessibility, EveryControlIsNamedAndTheTabsAreAList)
{
    window->show();
    QStringList unnamed, options;
    for (int tab = 0; tab < window->tabStrip()->count(); ++tab) {
        window->tabStrip()->setCurrentIndex(tab);
        for (QWidget* w : window->tabStrip()->page(tab)->findChildren<QWidget*>()) {
            if (!(w->focusPolicy() & Qt::ClickFocus) || !w->isVisibleTo(window.get()))
                continue;
            const QString name = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
            if (name.trimmed().isEmpty())
                unnamed << w->objectName() + QLatin1Char(' ') + QLatin1String(w->metaObject()->className());
            if (qobject_cast<QRadioButton*>(w))
                options << name;
        }
    }
    EXPECT_EQ(unnamed, QStringList{}) << unnamed.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(options.removeDuplicates(), 0) << options.join(QLatin1Char('|')).toStdString();
    field("ServerName3")->setText(QStringLiteral("Clan Base"));
    EXPECT_EQ(get("Option1(2)")->accessibleName(), QStringLiteral("UT99 favourite 3: Clan Base"));
    EXPECT_EQ(get<QLabel>("lblQueryPort")->buddy(), get("txtText2")); // the field is tied to its label

    QAccessibleInterface* tabs = tabList();
    ASSERT_EQ(tabs->childCount(), 9);
    tabs->child(4)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(window->tabStrip()->currentIndex(), 4);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(tabs->child(i)->role(), QAccessible::PageTab);
        EXPECT_EQ(tabs->child(i)->text(QAccessible::Name), window->tabStrip()->tabText(i));
        EXPECT_EQ(tabs->child(i)->state().selected, i == 4);
    }
}

// A player who never takes the mouse.
TEST_F(Accessibility, TheKeyboardAlone)
{
    window->show();
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(window.get(), Qt::Key_Tab, Qt::ControlModifier); // from UT99 Server Query to its favourites
    EXPECT_EQ(window->tabStrip()->currentIndex(), 1);
    EXPECT_EQ(QApplication::focusWidget(), get("ServerName")); // typing goes somewhere
    QTest::keyClick(window.get(), Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_TRUE(get("Combo1")->isAncestorOf(QApplication::focusWidget()));

    QTest::keyClick(field("txtText2"), Qt::Key_Return); // Enter in a field begins the query
    EXPECT_TRUE(timer("Timer1")->isEnabled());
    const auto dashes = [this] { // of the focus frame, dark on the green Ping button
        const QImage face = get("cmdPing")->grab().toImage();
        int dark = 0;
        for (int x = 0; x < face.width(); ++x)
            dark += qGray(face.pixel(x, 3)) < 60 ? 1 : 0;
        return dark;
    };
    EXPECT_EQ(dashes(), 0);
    get("cmdPing")->setFocus();
    EXPECT_GT(dashes(), 10);

    window->tabStrip()->setCurrentIndex(2);
    get("cmdA1")->setFocus();
    QTest::keyClick(get("cmdA1"), Qt::Key_Return); // on a button, Enter presses it
    EXPECT_EQ(QApplication::focusWidget(), get("txtPooPooPeePee"));
    QTest::keyClicks(field("txtPooPooPeePee"), QStringLiteral("wrong"));
    QTest::keyClick(field("txtPooPooPeePee"), Qt::Key_Enter);
    EXPECT_EQ(platform.sounds.played.size(), 1); // refused

    auto* tabs = qobject_cast<QWidget*>(tabList()->object()); // the arrows, Home and End choose a tab
    tabs->setFocus();
    QTest::keyClick(tabs, Qt::Key_End);
    QTest::keyClick(tabs, Qt::Key_Left);
    EXPECT_EQ(window->tabStrip()->currentIndex(), 7);
    EXPECT_TRUE(tabList()->child(7)->state().focused);
}

} // namespace
