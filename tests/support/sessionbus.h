#pragma once

#include "realpart.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QMutex>
#include <QProcess>
#include <QStringList>
#include <QThread>
#include <QVariantMap>

#include <utility>

// A session bus of the test's own, from dbus-daemon, and connections to it.
class PrivateSessionBus {
public:
    PrivateSessionBus()
    {
        m_daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
        if (m_daemon.waitForReadyRead(5000))
            address = QString::fromUtf8(m_daemon.readLine().trimmed());
    }
    ~PrivateSessionBus()
    {
        for (const QString& name : m_names)
            QDBusConnection::disconnectFromBus(name);
        m_daemon.kill();
        m_daemon.waitForFinished();
    }
    QDBusConnection connect()
    {
        m_names << QStringLiteral("test bus %1").arg(m_names.size());
        return QDBusConnection::connectToBus(address, m_names.back());
    }

    QString address; // empty when no bus started

private:
    QProcess m_daemon;
    QStringList m_names;
};

// A notification service as the desktop's is to a program: it records each
// notification and can say that the user picked one of its actions. It
// answers on a thread of its own, as another process would.
class NotificationService : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    NotificationService(QDBusConnection bus, QStringList capabilities)
        : m_bus(bus), m_capabilities(std::move(capabilities))
    {
        m_thread.start();
        moveToThread(&m_thread);
        m_bus.registerObject(kPath, this, QDBusConnection::ExportAllSlots);
        m_bus.registerService(kInterface);
    }
    ~NotificationService() override
    {
        m_bus.unregisterService(kInterface);
        m_bus.unregisterObject(kPath);
        m_thread.quit();
        m_thread.wait();
    }
    void pick(uint id, const QString& key)
    {
        QDBusMessage picked = QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("ActionInvoked"));
        picked << id << key;
        m_bus.send(picked);
    }
    // The next notification's action is picked as it shows, before the program hears its id.
    void pickAsShown(const QString& key)
    {
        const QMutexLocker lock(&m_mutex);
        m_pickAsShown = key;
    }
    QStringList shown() const
    {
        const QMutexLocker lock(&m_mutex);
        return m_shown;
    }

public slots:
    QStringList GetCapabilities() { return m_capabilities; }
    uint Notify(const QString& app, uint replaces, const QString&, const QString& summary, const QString& body,
                const QStringList& actions, const QVariantMap&, int expires)
    {
        const QMutexLocker lock(&m_mutex);
        // What is not as usual: replacing an earlier one, or for a time other than the desktop's own.
        const QString unusual = (replaces ? QStringLiteral(" replacing %1").arg(replaces) : QString()) +
                                (expires != -1 ? QStringLiteral(" for %1 ms").arg(expires) : QString());
        m_shown << QStringList{app + unusual, summary, body, actions.join(QLatin1Char('|'))}.join(QLatin1Char('\n'));
        if (!m_pickAsShown.isEmpty())
            pick(static_cast<uint>(m_shown.size()), std::exchange(m_pickAsShown, QString()));
        return static_cast<uint>(m_shown.size());
    }

private:
    inline static const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
    inline static const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
    QDBusConnection m_bus;
    QStringList m_capabilities;
    QThread m_thread;
    mutable QMutex m_mutex;
    QStringList m_shown; // app, summary, body and actions of each, a line each
    QString m_pickAsShown;
};
