#include "dbusnotifications.h"

#include <QDBusMessage>
#include <QDBusReply>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
constexpr int kCallTimeoutMs = 2000; // a hung service never holds up the window longer
constexpr int kMaxWaitingActions = 64;

QDBusMessage call(const QString& method, const QVariantList& arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kService, method);
    message.setArguments(arguments);
    return message;
}

} // namespace

DBusNotifications::DBusNotifications(const QDBusConnection& bus, QObject* parent) : QObject(parent), m_bus(bus) {}

bool DBusNotifications::notify(const QString& summary, const QString& body, const std::vector<Action>& actions,
                               std::function<void(const QString& key)> picked)
{
    // Plain calls: an interface object would first ask the service to describe itself.
    const QDBusReply<QStringList> capabilities =
        m_bus.call(call(QStringLiteral("GetCapabilities")), QDBus::Block, kCallTimeoutMs);
    if (!capabilities.isValid())
        return false;
    QStringList actionList; // key, label, key, label...
    if (capabilities.value().contains(QLatin1String("actions"))) {
        for (const Action& action : actions)
            actionList << action.key << action.label;
    }
    // A server that reads markup in the body would take a player's "<b>" for it.
    const bool markup = capabilities.value().contains(QLatin1String("body-markup"));
    const bool awaitsPick = !actionList.isEmpty() && picked;
    if (awaitsPick && !m_listening) {
        // Before the notification exists: a pick made as it shows must find us listening.
        m_bus.connect(kService, kPath, kService, QStringLiteral("ActionInvoked"), this,
                      SLOT(actionInvoked(uint, QString)));
        m_bus.connect(kService, kPath, kService, QStringLiteral("NotificationClosed"), this,
                      SLOT(notificationClosed(uint, uint)));
        m_listening = true;
    }
    const QDBusReply<uint> id = m_bus.call(
        call(QStringLiteral("Notify"), {QStringLiteral("utquery"), 0u, QStringLiteral("utquery"), summary,
                                        markup ? body.toHtmlEscaped() : body, actionList, QVariantMap(), -1}),
        QDBus::Block, kCallTimeoutMs);
    if (!id.isValid())
        return false;
    if (awaitsPick) {
        if (m_picked.size() >= kMaxWaitingActions) // a server that never says closed: the oldest goes
            m_picked.erase(m_picked.begin());
        m_picked.insert(id.value(), std::move(picked));
    }
    return true;
}

void DBusNotifications::actionInvoked(uint id, const QString& key)
{
    if (const auto picked = m_picked.value(id))
        picked(key);
}

void DBusNotifications::notificationClosed(uint id, uint) { m_picked.remove(id); }
