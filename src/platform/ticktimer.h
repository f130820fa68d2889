#pragma once

#include <QObject>

// A timer that ticks on the user-interface thread while enabled. Enabling an
// enabled timer changes nothing: its next tick comes when it was due.
class TickTimer : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual void setEnabled(bool enabled) = 0;
    virtual bool isEnabled() const = 0;

signals:
    void tick();
};
