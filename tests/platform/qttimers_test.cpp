#include "platform/qttimers.h"
#include "support/eventloop.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace {

// The timer of a progress run: it ticks once enabled, a second enable keeps
// its rhythm, and once disabled it never ticks again.
TEST(QtTickTimer, TicksInItsRhythmUntilStopped)
{
    QtTickTimers timers;
    TickTimer* timer = timers.create(nullptr, 400);
    std::vector<qint64> ticks;
    QElapsedTimer clock;
    QObject::connect(timer, &TickTimer::tick, [&] { ticks.push_back(clock.elapsed()); });
    EXPECT_FALSE(timer->isEnabled());
    clock.start();
    timer->setEnabled(true);
    EXPECT_TRUE(timer->isEnabled());
    runEventLoopFor(300);
    timer->setEnabled(true); // late in the interval: no new start
    runEventLoopFor(500);
    ASSERT_FALSE(ticks.empty());
    EXPECT_LT(ticks[0], 550); // 400 ms after the first enable, not 700 after the second
    EXPECT_GE(ticks[0], 300); // nor long before it (a coarse timer may come 5% early)
    timer->setEnabled(false);
    EXPECT_FALSE(timer->isEnabled());
    const std::size_t stoppedAt = ticks.size();
    runEventLoopFor(400);
    EXPECT_EQ(ticks.size(), stoppedAt);
    delete timer;
}

} // namespace
