#pragma once

#include "platform/platform.h"
#include "query/querytabs.h"

#include <QHash>
#include <QWidget>

class QButtonGroup;
class TabStrip;

// The main window: nine tabs of named controls. Its handlers carry the names of
// the controls and events they answer; they read fields, call plain code and
// write fields. Everything runs on the user-interface thread, one handler at a time.
class QevQuery : public QWidget {
    Q_OBJECT
public:
    explicit QevQuery(Platform platform, QWidget* parent = nullptr);

    // Start-up: shows the window with the focus in the UT99 host field.
    void Form_Load();
    // Focus to the UT99 host field with its whole text selected.
    void SelectHostText();

    // A control of the window by its name, as a test or handler finds it.
    QObject* control(const QString& name) const { return m_controls.value(name); }
    TabStrip* tabStrip() const { return m_tabs; }

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

    // Load the status page of the tab's server (or chosen favourite) into its pane.
    void lookup();
    void lookup1();
    void lookup04();
    void lookup04f();
    void lookuput3();
    void lookuput3f();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    using Handler = void (QevQuery::*)();

    void Form_Unload();
    void buildControls();
    void connectHandlers();

    void beginQuery(query::QueryTabId tab);
    void queryTick(query::QueryTabId tab);
    // One tick of a progress run on the named timer and bar; work runs on the last.
    void progressTick(const char* timer, const char* bar, Handler work);
    void loadStatusPage(query::QueryTabId tab);
    ServerFields queryServer(const query::QueryTab& tab) const;

    template <typename T> T* widget(const char* name) const;
    QString text(const char* name) const;
    void setText(const char* name, const QString& text);
    bool isOptionSet(const char* name) const;

    Platform m_platform;
    TabStrip* m_tabs = nullptr;
    QButtonGroup* m_favouriteOptions = nullptr;
    QHash<QString, QObject*> m_controls;
};
