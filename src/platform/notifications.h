#pragma once

#include <QString>

#include <functional>
#include <vector>

// The desktop's notifications: a short message outside the window, with
// actions the user may pick.
class Notifications {
public:
    struct Action {
        QString key, label;
    };
    virtual ~Notifications() = default;
    // Shows a notification and returns at once; picked(key) runs when the user
    // picks one of its actions (where the desktop shows actions). False when
    // no notification service answers.
    virtual bool notify(const QString& summary, const QString& body, const std::vector<Action>& actions,
                        std::function<void(const QString& key)> picked) = 0;
};
