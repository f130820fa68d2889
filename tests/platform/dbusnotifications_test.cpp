// Notifications through the real D-Bus call, on a session bus of the test's own.

#include "platform/dbusnotifications.h"
#include "support/eventloop.h"
#include "support/sessionbus.h"

#include <gtest/gtest.h>

namespace {

TEST(DBusNotifications, ReachTheDesktopsServiceAndBringBackTheActionPicked)
{
    PrivateSessionBus bus;
    if (bus.address.isEmpty())
        SKIP_REAL_PART("dbus-daemon did not start (Debian package dbus-daemon)");
    DBusNotifications notifications(bus.connect());
    const auto notify = [&](QString* picked) {
        return notifications.notify(QStringLiteral("Alpha is playing on <b>Clan</b> CTF"),
                                    QStringLiteral("<b>A</b> & B"), {{"join", "Join"}, {"show", "Show"}},
                                    [picked](const QString& key) { *picked = key; });
    };
    QString picked;
    EXPECT_FALSE(notify(&picked)); // no service on the bus yet

    NotificationService service(bus.connect(), {"body", "actions", "body-markup"});
    service.pickAsShown(QStringLiteral("show"));
    ASSERT_TRUE(notify(&picked));
    ASSERT_EQ(service.shown(), // a new notification, replacing none, shown for the desktop's own time
              QStringList{"utquery\nAlpha is playing on <b>Clan</b> CTF\n&lt;b&gt;A&lt;/b&gt; &amp; B\n"
                          "join|Join|show|Show"});
    EXPECT_TRUE(waitUntil([&] { return !picked.isEmpty(); }, 5000));
    EXPECT_EQ(picked, QStringLiteral("show"));
    // A desktop that never says closed: 64 wait for a pick at most, the oldest forgotten.
    QString oldest, newer;
    for (int i = 0; i < 65; ++i)
        ASSERT_TRUE(notify(i == 0 ? &oldest : &newer));
    service.pick(2, QStringLiteral("join"));
    service.pick(66, QStringLiteral("join"));
    EXPECT_TRUE(waitUntil([&] { return !newer.isEmpty(); }, 5000));
    EXPECT_EQ(oldest, QString());
}

} // namespace
