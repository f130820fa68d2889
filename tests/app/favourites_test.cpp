#include "favourites/savetabs.h"
#include "support/windowdriver.h"

#include <QPushButton>

namespace {

using namespace favourites;

class Favourites : public WindowTest {
protected:
    QString file(const char* name) const
    {
        const bool sound = QByteArray(name).endsWith(".wav");
        return (sound ? platform.directory : platform.favouritesDirectory) + QLatin1Char('/') + QLatin1String(name);
    }

    // The texts of every favourite field of a game, in file order.
    QStringList texts(const SlotTable& table) const
    {
        QStringList all;
        for (const Slot& slot : table.rows)
            for (const char* f : slot.fields)
                if (f)
                    all << field(f)->text();
        return all;
    }

    void save(const SaveTab& tab)
    {
        click(tab.button);
        fire(tab.timer, 11);
    }

    // A new window on the same platform, as the next start of the program.
    void restart()
    {
        window.reset();
        SetUp();
    }
};

TEST_F(Favourites, StartUpFillsEachFieldByKeyFromTheFavouritesFolder)
{
    EXPECT_EQ(texts(kUt99Slots) + texts(kUt2004Slots) + texts(kUt3Slots), QStringList(66, QString()));
    platform.files.contents[file("utservers.ini")] = "[SERVER]\r\nServerIP3=1.2.3.4\r\n";
    platform.files.contents[file("ut04servers.ini")] = "[SERVER]\r\nServerName=Top\r\nServerIP5=5.5.5.5\r\n";
    platform.files.contents[file("ut3servers.ini")] = "[SERVER]\r\nServerwport6=80\r\n";
    restart();
    EXPECT_EQ(field("ServerIP3")->text(), QStringLiteral("1.2.3.4"));
    EXPECT_EQ(field("ServerIP")->text(), QString());
    EXPECT_EQ(field("ServerName04")->text(), QStringLiteral("Top")); // the disabled slot 1 shows it
    EXPECT_EQ(field("ServerIp045")->text(), QStringLiteral("5.5.5.5"));
    EXPECT_EQ(field("Serverwport6")->text(), QStringLiteral("80"));
    EXPECT_EQ(window->IniFile, file("ut04servers.ini"));
}

TEST_F(Favourites, SaveWritesOnceOnTheEleventhTickAndConfirms)
{
    field("ServerName2")->setText(QStringLiteral("Clan  Server "));
    click("cmdSaveChanges");
    click("cmdSaveChanges"); // a second click changes nothing
    fire("Timer2", 5);
    field("QueryPort2")->setText(QStringLiteral("7778")); // an edit during the run is saved
    fire("Timer2", 5);
    EXPECT_TRUE(platform.files.writes.isEmpty());
    EXPECT_FALSE(window->openAlert("Alert"));

    timer("Timer2")->fire();
    EXPECT_EQ(platform.files.writes, QStringList{file("utservers.ini")});
    const QByteArray written = platform.files.contents.value(file("utservers.ini"));
    EXPECT_TRUE(written.startsWith("[SERVER]\r\nServerName=\r\nServerIP=\r\n"));
    EXPECT_TRUE(written.contains("\r\nServerName2=Clan  Server \r\n"));
    EXPECT_TRUE(written.contains("\r\nQueryPort2=7778\r\n"));
    EXPECT_EQ(platform.sounds.played.size(), 1);
    AlertDialog* alert = expectAlert("Alert", QStringLiteral("Changes Successfully Saved!"), "wickedsick.wav");
    ASSERT_TRUE(alert);
    EXPECT_TRUE(alert->cmdOK->isHidden());
    EXPECT_FALSE(alert->cmdOK2->isHidden());
    // The UT99 start pages on show load again, listing the slots as saved.
    EXPECT_EQ(pane("WebBrowser1")->navigations, QStringList{"reload"});
    EXPECT_EQ(pane("WebBrowser6")->navigations, QStringList{}); // UT2004's
    fire("Timer2", 30);                                         // the run is over
    EXPECT_EQ(platform.files.writes.size(), 1);
}

// Every text comes back after a save and a new start, each game in its own
// file; the UT2004 and UT3 confirmations share one Alert2 window.
TEST_F(Favourites, SavedFavouritesComeBackAtTheNextStart)
{
    for (const SaveTab& tab : kSaveTabs) {
        int i = 0;
        for (const Slot& slot : tab.table->rows)
            for (const char* f : slot.fields)
                if (f)
                    field(f)->setText(QStringLiteral(" %1 = Ünreal Сервер ").arg(i++));
    }
    field("ServerName04")->setText(QStringLiteral("from the file")); // slot 1 of UT2004 is written back as read
    const QStringList before = texts(kUt99Slots) + texts(kUt2004Slots) + texts(kUt3Slots);
    for (const SaveTab& tab : kSaveTabs)
        save(tab);
    EXPECT_EQ(platform.files.writes,
              (QStringList{file("utservers.ini"), file("ut04servers.ini"), file("ut3servers.ini")}));
    EXPECT_TRUE(window->openAlert("Alert"));
    int alert2Windows = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        alert2Windows += (w->objectName() == QLatin1String("Alert2") && w->isVisible()) ? 1 : 0;
    EXPECT_EQ(alert2Windows, 1);
    restart();
    EXPECT_EQ(texts(kUt99Slots) + texts(kUt2004Slots) + texts(kUt3Slots), before);
}

TEST_F(Favourites, AFailedSaveSaysWhyOnScreenAndChangesNothingElse)
{
    platform.files.contents[file("ut3servers.ini")] = "[SERVER]\r\nUT3ServerIP=old\r\n";
    platform.files.failures[QStringLiteral("ut3servers.ini")] = QStringLiteral("No space left on device");
    field("UT3ServerIP")->setText(QStringLiteral("typed"));
    save(kSaveTabs[Ut3Save]);
    EXPECT_EQ(platform.files.contents.value(file("ut3servers.ini")), "[SERVER]\r\nUT3ServerIP=old\r\n");
    EXPECT_EQ(field("UT3ServerIP")->text(), QStringLiteral("typed"));
    EXPECT_EQ(bar("pg3ut3s")->value(), 0);
    EXPECT_FALSE(timer("Timerut3s")->isEnabled());
    const QString failure = QStringLiteral("Changes NOT Saved!\nut3servers.ini: No space left on device");
    AlertDialog* alert = expectAlert("Alert2", failure, "HellNo.wav");
    ASSERT_TRUE(alert && platform.sounds.played.size() == 1);
    // Every line is inside the label, above the OK button.
    const QFontMetrics metrics(alert->lblAlert->font());
    EXPECT_GE(alert->lblAlert->height(), 2 * metrics.lineSpacing());
    EXPECT_LE(alert->lblAlert->geometry().bottom(), alert->cmdOK2->y());
    EXPECT_LE(metrics.horizontalAdvance(failure.section(QLatin1Char('\n'), 1)), alert->lblAlert->width());
    EXPECT_EQ(pane("WebBrowser4")->navigations, QStringList{}); // nothing new to show
    // The UT2004 tab's success, while the dialog they share is open, keeps the failure in view.
    save(kSaveTabs[Ut2004Save]);
    EXPECT_EQ(alert->lblAlert->text(), failure + QStringLiteral("\nChanges Successfully Saved!"));
    // A later success of the same game replaces its failure.
    platform.files.failures.clear();
    save(kSaveTabs[Ut3Save]);
    EXPECT_EQ(alert->lblAlert->text(), QStringLiteral("Changes Successfully Saved!"));
}

TEST_F(Favourites, FieldsTakeNoLineBreakAndAtMost254Characters)
{
    field("ServerName")->insert(QStringLiteral("x\nServerIP=evil")); // as a paste does
    EXPECT_EQ(field("ServerName")->text(), QStringLiteral("x ServerIP=evil"));
    field("UT3ServerName6")->setText(QStringLiteral("a\r\nb"));
    EXPECT_EQ(field("UT3ServerName6")->text(), QStringLiteral("a b"));
    field("ServerPort046")->setText(QString(300, QLatin1Char('p')));
    EXPECT_EQ(field("ServerPort046")->text().size(), 254);
    field("ServerPort046")->setText(QString(253, QLatin1Char('p')) + QStringLiteral("\U0001F600"));
    EXPECT_EQ(field("ServerPort046")->text(), QString(253, QLatin1Char('p'))); // no half of the emoji
    EXPECT_EQ(field("txtNameOrIP")->maxLength(), 32767);                       // only the favourites are bounded
}

} // namespace
