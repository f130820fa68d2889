#pragma once

#include "fakenetwork.h"
#include "platform/browserpane.h"
#include "platform/notifications.h"
#include "platform/platform.h"
#include "platform/ticktimer.h"
#include "platform/urlopener.h"

#include "favourites/favouritesfile.h"

#include <QHash>
#include <QStringList>
#include <QUrl>

// Platform parts for window tests: they record what they were asked and do
// nothing else. Timers tick only when a test calls fire().

class FakeBrowserPane : public BrowserPane {
    Q_OBJECT
public:
    FakeBrowserPane(QWidget* parent, QString start) : BrowserPane(parent), startAddress(std::move(start)) {}

    void Navigate(const QString& address) override { navigations << address; }
    void ReloadIfShowing(const QString& path) override
    {
        if (QUrl(navigations.isEmpty() ? startAddress : navigations.last()).path() == path)
            navigations << QStringLiteral("reload");
    }

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

// Files in memory, shared by the settings reader and the file replacer, so a
// save followed by a new window reads back what was written.
class FakeFiles : public ProfileReader, public FileReplacer {
public:
    QString read(const QString& file, const QString& section, const QString& key) override
    {
        return contents.contains(file) ? favourites::profileValue(contents.value(file), section, key) : QString();
    }
    std::optional<QString> replace(const QString& file, const QByteArray& content) override
    {
        writes << file;
        const QString name = file.section(QLatin1Char('/'), -1);
        if (failures.contains(name))
            return name + QStringLiteral(": ") + failures.value(name); // as the real one says it
        contents[file] = content;
        return std::nullopt;
    }

    QHash<QString, QByteArray> contents;
    QStringList writes;               // file of each replacement asked for, in order
    QHash<QString, QString> failures; // file name -> why its replacements fail
};

class FakeSounds : public SoundPlayer {
public:
    void play(const QString& file) override { played << file; }
    QStringList played;
};

class FakeBrowser : public UrlOpener {
public:
    void open(const QString& url) override { opened << url; }
    QStringList opened;
};

// Records each notification; one with actions can be picked as a user would.
class FakeNotifications : public Notifications {
public:
    bool notify(const QString& summary, const QString& body, const std::vector<Action>& actions,
                std::function<void(const QString& key)> picked) override
    {
        if (!serviceOnBus)
            return false;
        shown << summary + QLatin1Char('\n') + body;
        for (const Action& action : actions)
            shown.back() += QStringLiteral(" [%1]").arg(action.label);
        pick = std::move(picked);
        return true;
    }
    bool serviceOnBus = true;
    QStringList shown;
    std::function<void(const QString& key)> pick; // the last one's
};

class FakePlatform : public BrowserPanes, public TickTimers, public ProgramDirectory {
public:
    BrowserPane* create(QWidget* parent, const QString& startAddress) override
    {
        return new FakeBrowserPane(parent, startAddress);
    }
    void followProgramLinks(std::function<QString(const QUrl& link)> handler) override
    {
        programLinks = std::move(handler);
    }
    TickTimer* create(QObject* parent, int intervalMs) override { return new FakeTickTimer(parent, intervalMs); }
    QString path() const override { return directory; }
    QString favouritesPath() const override { return favouritesDirectory; }

    Platform parts() { return {*this, *this, *this, files, files, sounds, network, browser, notifications}; }

    QString directory = QStringLiteral("/opt/utquery-test");
    QString favouritesDirectory = QStringLiteral("/home/player/.config/utquery");
    FakeFiles files;
    FakeSounds sounds;
    FakeNetwork network;
    FakeBrowser browser;
    FakeNotifications notifications;
    std::function<QString(const QUrl& link)> programLinks; // as a pane's page would follow them
};
