#pragma once

#include "platform.h"
#include "ticktimer.h"

class QTimer;

// A tick timer on QTimer.
class QtTickTimer : public TickTimer {
    Q_OBJECT
public:
    QtTickTimer(QObject* parent, int intervalMs);

    void setEnabled(bool enabled) override;
    bool isEnabled() const override;

private:
    QTimer* m_timer;
};

class QtTickTimers : public TickTimers {
public:
    TickTimer* create(QObject* parent, int intervalMs) override;
};
