#pragma once

#include "favourites/savetabs.h"
#include "favourites/watchlist.h"
#include "ping/pingcommands.h"
#include "ping/pingipv4.h"
#include "platform/platform.h"
#include "querytabs/launch.h"
#include "querytabs/presetlists.h"
#include "querytabs/querytabs.h"
#include "watch/watchrules.h"
#include "weblinks.h"

#include <QHash>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class AlertDialog;
class QButtonGroup;
class TabStrip;

// The main window: nine tabs of named controls. Its handlers carry the names of
// the controls and events they answer; they read fields, call plain code and
// write fields. Everything runs on the user-interface thread, one handler at a time.
class QevQuery : public QWidget {
    Q_OBJECT
public:
    explicit QevQuery(Platform platform, QWidget* parent = nullptr);
    ~QevQuery() override;

    // Start-up: shows the window with the focus in the UT99 host field.
    void Form_Load();
    // Tells the desktop that a watched server or a friend is news: a
    // notification with "Join" and "Show".
    void announce(const watch::News& news);
    // Focus to the UT99 host field with its whole text selected.
    void SelectHostText();

    // A control of the window by its name, as a test or handler finds it.
    QObject* control(const QString& name) const { return m_controls.value(name); }
    TabStrip* tabStrip() const { return m_tabs; }

    // The window's one ping object, made at start-up.
    PingIPv4* pinger() const { return m_ping.get(); }
    // The favourites file to be read next: the favourites folder and a file name.
    QString IniFile;
    // Shows the named alert dialog ("Alert" or "Alert2") without blocking:
    // made anew when closed, brought to the front as it stands when open.
    AlertDialog* showAlert(const char* name);
    // The alert dialog of that name while it is open, else nullptr.
    AlertDialog* openAlert(const char* name) const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // The handlers answer their controls and timers only: the tables that
    // connect them are their one way in.
    friend struct QevQueryHandlers;

    // "Begin Query": starts the tab's progress run.
    void cmdBeginQuery_Click();
    void cmdBeginQuery2_Click();
    void cmdBeginQuery04_Click();
    void cmdBeginQuery04f_Click();
    void cmdBeginQueryut3_Click();
    void cmdBeginQueryut3f_Click();

    // Ticks of the query runs; the last one loads the tab's status page.
    void Timer1_Timer();
    void Timer3_Timer();
    void Timer04_Timer();
    void Timer041_Timer();
    void Timerut3_Timer();
    void Timerut3f_Timer();

    // Preset lists: a choice from the list writes its texts into the tab's fields.
    void Combo1_Click();
    void Combo2_Click();
    void Combo3_Click();

    // "Launch Game": hands the unreal:// address of the server to the tab's pane.
    void cmdLaunchGame_Click();
    void cmdLaunchGame2_Click();

    // The administration panel: "Admin Login" opens the password field,
    // "Submit" checks the password.
    void cmdA1_Click();
    void cmdA2_Click();

    // Web links, opened in the user's browser. The labels react only while shown.
    void lblA1_Click();
    void lblA2_Click();
    void lblA4_Click();
    void lblQev_Click();
    void cmdAdminUT3_Click();

    // Ping buttons: resolve the tab's host, send one echo, show the outcome.
    void cmdPing_Click();
    void cmdPing2_Click();
    void cmdping04_Click();
    void cmdping042_Click();
    void cmdpUT3_Click();
    void cmdpUT32_Click();

    // The value of Key in Section of the file IniFile names; empty when none.
    QString GetIni(const QString& Section, const QString& Key);
    // Fill the favourites tab of UT99, UT2004 or UT3 from the file IniFile names.
    void ReadIni();
    void ReadIni04();
    void ReadIniut3();

    // "Save Changes": starts the tab's save run.
    void cmdSaveChanges_Click();
    void cmdSaveChanges04f_Click();
    void cmdSaveChangesut3_Click();
    // Ticks of the save runs; the last one writes the file and confirms.
    void Timer2_Timer();
    void Timer042_Timer();
    void Timerut3s_Timer();
    // Write the game's favourites file from its tab's fields. Return why the
    // file could not be written, or nothing when it was.
    std::optional<QString> lookup2();
    std::optional<QString> lookup042();
    std::optional<QString> lookuput3s();

    // Load the status page of the tab's server (or chosen favourite) into its pane.
    void lookup();
    void lookup1();
    void lookup04();
    void lookup04f();
    void lookuput3();
    void lookuput3f();

    void Form_Unload();
    void buildControls();
    void connectHandlers();

    void beginQuery(query::QueryTabId tab);
    void queryTick(query::QueryTabId tab);
    // One tick of a progress run on the named timer and bar. The last tick does
    // the work, stops the timer, empties the bar and then runs after.
    void progressTick(const char* timer, const char* bar, const std::function<void()>& work,
                      const std::function<void()>& after = {});
    void pingCommand(ping::PingCommandId id);
    void choosePreset(const query::PresetList& list);
    void launchGame(const query::LaunchButton& launch);
    void openLink(weblinks::LinkId id);
    void blankPingDisplay(const query::QueryTab& tab);
    void readFavourites(const favourites::SlotTable& table);
    std::optional<QString> writeFavourites(const favourites::SlotTable& table);
    void saveTick(favourites::SaveTabId id);
    void confirmSave(favourites::SaveTabId id, const std::optional<QString>& error);
    void guardFavouriteFields();
    QString programFile(const char* name) const;
    QString favouritesFile(const favourites::SlotTable& table) const;
    void loadStatusPage(query::QueryTabId tab);
    // The watch: its list from watch.ini, changed by the panes' program links.
    void startWatching();
    QString followProgramLink(const QUrl& link);
    void joinFromNews(const watch::News& news);
    void showNews(const watch::News& news);
    ServerFields queryServer(const query::QueryTab& tab) const;

    template <typename T> T* widget(const char* name) const;
    QString text(const char* name) const;
    void setText(const char* name, const QString& text);
    bool isOptionSet(const char* name) const;

    Platform m_platform;
    double m_pixelsPerTwip = 1.0 / 15;
    TabStrip* m_tabs = nullptr;
    std::unique_ptr<PingIPv4> m_ping;
    QPointer<AlertDialog> m_alert;
    QPointer<AlertDialog> m_alert2;
    QButtonGroup* m_favouriteOptions = nullptr;
    QHash<QString, QObject*> m_controls;
    favourites::WatchList m_watch;
    bool m_toldNoNotifications = false;
};

template <typename T> T* QevQuery::widget(const char* name) const
{
    return qobject_cast<T*>(m_controls.value(QString::fromLatin1(name)));
}
