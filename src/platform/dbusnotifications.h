#pragma once

#include "notifications.h"

#include <QDBusConnection>
#include <QMap>
#include <QObject>

// Notifications through the freedesktop notification service,
// org.freedesktop.Notifications on the session bus.
class DBusNotifications : public QObject, public Notifications {
    Q_OBJECT
public:
    explicit DBusNotifications(const QDBusConnection& bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);

    bool notify(const QString& summary, const QString& body, const std::vector<Action>& actions,
                std::function<void(const QString& key)> picked) override;

private slots:
    void actionInvoked(uint id, const QString& key);
    void notificationClosed(uint id, uint reason);

private:
    QDBusConnection m_bus;
    bool m_listening = false;
    // By notification, until it closes; ids grow, so the first is the oldest.
    QMap<uint, std::function<void(const QString&)>> m_picked;
};
