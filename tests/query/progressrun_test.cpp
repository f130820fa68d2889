#include "query/progressrun.h"

#include <gtest/gtest.h>

namespace {

// Runs ticks from a bar at start until one finishes; returns the ticks taken
// and the values the bar showed on the way.
int ticksToFinish(float start, std::vector<float>* shown = nullptr)
{
    float value = start;
    for (int ticks = 1; ticks < 100; ++ticks) {
        const progressrun::Tick t = progressrun::tick(value);
        if (t.finish) {
            EXPECT_EQ(t.value, 0.0f);
            return ticks;
        }
        value = t.value;
        if (shown)
            shown->push_back(value);
    }
    return -1;
}

TEST(ProgressRun, FillsInTenStepsAndFinishesOnTheEleventh)
{
    std::vector<float> shown;
    EXPECT_EQ(ticksToFinish(0.0f, &shown), 11);
    EXPECT_EQ(shown, (std::vector<float>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100}));
}

TEST(ProgressRun, ThresholdIsExclusive)
{
    struct Case {
        float value;
        bool finish;
        float after;
    };
    const Case cases[] = {
        {90.0f, false, 100.0f}, // 90 is not above the threshold: one more step
        {90.5f, true, 0.0f},    {100.0f, true, 0.0f}, {0.0f, false, 10.0f}, {85.0f, false, 95.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        const progressrun::Tick t = progressrun::tick(c.value);
        EXPECT_EQ(t.finish, c.finish);
        EXPECT_EQ(t.value, c.after);
    }
}

TEST(ProgressRun, ARunResumedMidwayStillEndsOnce)
{
    EXPECT_EQ(ticksToFinish(50.0f), 6);
    EXPECT_EQ(ticksToFinish(90.0f), 2);
    EXPECT_EQ(ticksToFinish(95.0f), 1);
}

} // namespace
