#pragma once

#include "platform/browserpane.h"
#include "platform/platform.h"
#include "platform/ticktimer.h"

#include <QStringList>

// Platform parts for window tests: they record what they were asked and do
// nothing else. Timers tick only when a test calls fire().

class FakeBrowserPane : public BrowserPane {
    Q_OBJECT
public:
    FakeBrowserPane(QWidget* parent, QString start) : BrowserPane(parent), startAddress(std::move(start)) {}

    void Navigate(const QString& address) override { navigations << address; }

    QString startAddress;
    QStringList navigations;
};

class FakeTickTimer : public TickTimer {
    Q_OBJECT
public:
    FakeTickTimer(QObject* parent, int interval) : TickTimer(parent), intervalMs(interval) {}

    void setEnabled(bool enabled) override { m_enabled = enabled; }
    bool isEnabled() const override { return m_enabled; }

    // One tick, as the real timer gives it: only while enabled.
    void fire()
    {
        if (m_enabled)
            emit tick();
    }

    const int intervalMs;

private:
    bool m_enabled = false;
};

class FakePlatform : public BrowserPanes, public TickTimers, public ProgramDirectory {
public:
    BrowserPane* create(QWidget* parent, const QString& startAddress) override
    {
        return new FakeBrowserPane(parent, startAddress);
    }
    TickTimer* create(QObject* parent, int intervalMs) override { return new FakeTickTimer(parent, intervalMs); }
    QString path() const override { return directory; }

    Platform parts() { return {*this, *this, *this}; }

    QString directory = QStringLiteral("/opt/utquery-test");
};
