#include "qttimers.h"

#include <QTimer>

QtTickTimer::QtTickTimer(QObject* parent, int intervalMs) : TickTimer(parent), m_timer(new QTimer(this))
{
    m_timer->setInterval(intervalMs);
    connect(m_timer, &QTimer::timeout, this, &TickTimer::tick);
}

void QtTickTimer::setEnabled(bool enabled)
{
    if (!enabled)
        m_timer->stop();
    else if (!m_timer->isActive()) // start() on a running QTimer would restart its interval
        m_timer->start();
}

bool QtTickTimer::isEnabled() const { return m_timer->isActive(); }

TickTimer* QtTickTimers::create(QObject* parent, int intervalMs) { return new QtTickTimer(parent, intervalMs); }
