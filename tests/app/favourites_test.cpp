#include "app/alertdialog.h"
#include "favourites/savetabs.h"
#include "support/windowdriver.h"

#include <QLabel>
#include <QPushButton>

namespace {

using namespace favourites;

class Favourites : public WindowTest {
protected:
    QString file(const char* name) const { return platform.directory + QLatin1Char('/') + QLatin1String(name); }

    // Every favourite field of a game, in file order.
    static std::vector<const char*> fieldsOf(const SlotTable& table)
    {
        std::vector<const char*> names;
        for (const Slot& slot : table.rows)
            for (const char* f : slot.fields)
                if (f)
                    names.push_back(f);
        return names;
    }

    // A new window on the same platform, as the next start of the program.
    void restart()
    {
        window.reset();
        platform.files.reads.clear();
        SetUp();
    }
};

TEST_F(Favourites, StartUpReadsUt99ThenUt3ThenUt2004FromTheProgramFolder)
{
    QStringList expected;
    for (int i = 0; i < 24; ++i)
        expected << file("utservers.ini");
    for (int i = 0; i < 24; ++i)
        expected << file("ut3servers.ini");
    for (int i = 0; i < 18; ++i)
        expected << file("ut04servers.ini");
    EXPECT_EQ(platform.files.reads, expected);
    EXPECT_EQ(window->IniFile, file("ut04servers.ini"));
}

TEST_F(Favourites, WithNoFilesAll66FieldsAreEmpty)
{
    int count = 0;
    for (const SlotTable* table : {&kUt99Slots, &kUt2004Slots, &kUt3Slots}) {
        for (const char* name : fieldsOf(*table)) {
            EXPECT_TRUE(field(name)->text().isEmpty()) << name;
            ++count;
        }
    }
    EXPECT_EQ(count, 66);
}

TEST_F(Favourites, FilesFillTheirTabsFieldByKey)
{
    platform.files.contents[file("utservers.ini")] = "[SERVER]\r\nServerIP3=1.2.3.4\r\n";
    platform.files.contents[file("ut04servers.ini")] = "[SERVER]\r\nServerName=Top\r\nServerIP5=5.5.5.5\r\n";
    platform.files.contents[file("ut3servers.ini")] = "[SERVER]\r\nServerwport6=80\r\n";
    restart();
    EXPECT_EQ(field("ServerIP3")->text(), QStringLiteral("1.2.3.4"));
    EXPECT_EQ(field("ServerIP")->text(), QString());
    EXPECT_EQ(field("ServerName04")->text(), QStringLiteral("Top")); // the disabled slot 1 shows it
    EXPECT_EQ(field("ServerIp045")->text(), QStringLiteral("5.5.5.5"));
    EXPECT_EQ(field("Serverwport6")->text(), QStringLiteral("80"));
}

TEST_F(Favourites, SaveWritesOnceOnTheEleventhTickAndConfirms)
{
    field("ServerName2")->setText(QStringLiteral("Clan  Server "));
    click("cmdSaveChanges");
    click("cmdSaveChanges"); // a second click changes nothing
    fire("Timer2", 5);
    click("cmdSaveChanges");
    field("QueryPort2")->setText(QStringLiteral("7778")); // an edit during the run is saved
    fire("Timer2", 5);
    EXPECT_EQ(bar("pg2")->value(), 100);
    EXPECT_TRUE(platform.files.writes.isEmpty());
    EXPECT_TRUE(platform.sounds.played.isEmpty());
    EXPECT_FALSE(window->openAlert("Alert"));

    timer("Timer2")->fire();
    EXPECT_EQ(platform.files.writes, QStringList{file("utservers.ini")});
    const QByteArray written = platform.files.contents.value(file("utservers.ini"));
    EXPECT_TRUE(written.startsWith("[SERVER]\r\nServerName=\r\nServerIP=\r\n"));
    EXPECT_TRUE(written.contains("\r\nServerName2=Clan  Server \r\n"));
    EXPECT_TRUE(written.contains("\r\nQueryPort2=7778\r\n"));
    EXPECT_EQ(bar("pg2")->value(), 0);
    EXPECT_FALSE(timer("Timer2")->isEnabled());
    EXPECT_EQ(platform.sounds.played, QStringList{file("wickedsick.wav")});
    AlertDialog* alert = window->openAlert("Alert");
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->lblAlert->text(), QStringLiteral("Changes Successfully Saved!"));
    EXPECT_TRUE(alert->cmdOK->isHidden());
    EXPECT_FALSE(alert->cmdOK2->isHidden());

    fire("Timer2", 30); // the run is over
    EXPECT_EQ(platform.files.writes.size(), 1);
}

TEST_F(Favourites, EachTabSavesItsOwnFile)
{
    struct Case {
        SaveTabId tab;
        const char* fileName;
        const char* dialog;
        int lines;
    };
    const Case cases[] = {{Ut99Save, "utservers.ini", "Alert", 25},
                          {Ut2004Save, "ut04servers.ini", "Alert2", 19},
                          {Ut3Save, "ut3servers.ini", "Alert2", 25}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName);
        const SaveTab& tab = kSaveTabs[c.tab];
        click(tab.button);
        fire(tab.timer, 11);
        EXPECT_EQ(platform.files.writes.back(), file(c.fileName));
        EXPECT_EQ(platform.files.contents.value(file(c.fileName)).count("\r\n"), c.lines);
        EXPECT_TRUE(window->openAlert(c.dialog));
    }
    // The UT2004 and UT3 confirmations share one Alert2 window.
    int alert2Windows = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        alert2Windows += (w->objectName() == QLatin1String("Alert2") && w->isVisible()) ? 1 : 0;
    EXPECT_EQ(alert2Windows, 1);
}

TEST_F(Favourites, SavedFavouritesComeBackAtTheNextStart)
{
    const auto texts = [this](const SlotTable& table) {
        QStringList all;
        for (const char* name : fieldsOf(table))
            all << field(name)->text();
        return all;
    };
    for (const SaveTab& tab : kSaveTabs) {
        int i = 0;
        for (const char* name : fieldsOf(*tab.table))
            field(name)->setText(QStringLiteral(" %1 = Ünreal Сервер ").arg(i++));
    }
    // Slot 1 of UT2004 cannot be edited; what the file set is written back.
    field("ServerName04")->setText(QStringLiteral("from the file"));
    const QStringList before[] = {texts(kUt99Slots), texts(kUt2004Slots), texts(kUt3Slots)};
    for (const SaveTab& tab : kSaveTabs) {
        click(tab.button);
        fire(tab.timer, 11);
    }
    restart();
    EXPECT_EQ(texts(kUt99Slots), before[0]);
    EXPECT_EQ(texts(kUt2004Slots), before[1]);
    EXPECT_EQ(texts(kUt3Slots), before[2]);
    EXPECT_EQ(field("ServerName04")->text(), QStringLiteral("from the file"));
}

TEST_F(Favourites, AFailedSaveSaysWhyOnScreenAndChangesNothingElse)
{
    platform.files.contents[file("ut3servers.ini")] = "[SERVER]\r\nUT3ServerIP=old\r\n";
    platform.files.failures[QStringLiteral("ut3servers.ini")] = QStringLiteral("No space left on device");
    field("UT3ServerIP")->setText(QStringLiteral("typed"));
    click("cmdSaveChangesut3");
    fire("Timerut3s", 11);
    EXPECT_EQ(platform.files.contents.value(file("ut3servers.ini")), "[SERVER]\r\nUT3ServerIP=old\r\n");
    EXPECT_EQ(field("UT3ServerIP")->text(), QStringLiteral("typed"));
    EXPECT_EQ(bar("pg3ut3s")->value(), 0);
    EXPECT_FALSE(timer("Timerut3s")->isEnabled());
    EXPECT_EQ(platform.sounds.played, QStringList{file("HellNo.wav")});
    AlertDialog* alert = window->openAlert("Alert2");
    ASSERT_TRUE(alert);
    const QString failure = QStringLiteral("Changes NOT Saved!\nut3servers.ini: No space left on device");
    EXPECT_EQ(alert->lblAlert->text(), failure);
    // Every line is inside the label, above the OK button.
    const QFontMetrics metrics(alert->lblAlert->font());
    EXPECT_GE(alert->lblAlert->height(), 2 * metrics.lineSpacing());
    EXPECT_LE(alert->lblAlert->geometry().bottom(), alert->cmdOK2->y());
    EXPECT_LE(metrics.horizontalAdvance(failure.section(QLatin1Char('\n'), 1)), alert->lblAlert->width());

    // The UT2004 tab's success, while the dialog they share is open, keeps the failure in view.
    click("cmdSaveChanges04f");
    fire("Timer042", 11);
    EXPECT_EQ(alert->lblAlert->text(), failure + QStringLiteral("\nChanges Successfully Saved!"));
    // A later success of the same game replaces its failure.
    platform.files.failures.clear();
    click("cmdSaveChangesut3");
    fire("Timerut3s", 11);
    EXPECT_EQ(alert->lblAlert->text(), QStringLiteral("Changes Successfully Saved!"));
}

TEST_F(Favourites, FieldsTakeNoLineBreakAndAtMost254Characters)
{
    QLineEdit* name = field("ServerName");
    name->insert(QStringLiteral("x\nServerIP=evil")); // as a paste does
    EXPECT_EQ(name->text(), QStringLiteral("x ServerIP=evil"));
    field("UT3ServerName6")->setText(QStringLiteral("a\r\nb"));
    EXPECT_EQ(field("UT3ServerName6")->text(), QStringLiteral("a b"));
    field("ServerPort046")->setText(QString(300, QLatin1Char('p')));
    EXPECT_EQ(field("ServerPort046")->text().size(), 254);
    field("ServerPort046")->setText(QString(253, QLatin1Char('p')) + QStringLiteral("\U0001F600"));
    EXPECT_EQ(field("ServerPort046")->text(), QString(253, QLatin1Char('p'))); // no half of the emoji
    EXPECT_EQ(field("txtNameOrIP")->maxLength(), 32767);                       // only the favourites are bounded
}

} // namespace
