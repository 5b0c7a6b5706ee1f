#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "autorun/BatchText.h"
#include "autorun/ProgressThrottle.h"

namespace {

// A clock the test moves by hand.
int64_t g_now = 0;
int64_t FakeClock() { return g_now; }

struct Counts {
    int drains = 0;
    int positions = 0;
    int labels = 0;
    std::vector<int> labelPercents;
};

// Runs the steps 0 .. steps-1 of one phase, time advancing by stepMs.
Counts RunPhase(ProgressThrottle& throttle, int64_t steps, int64_t maximum, int64_t stepMs)
{
    Counts counts;
    for (int64_t position = 0; position < steps; ++position, g_now += stepMs) {
        const ProgressActions actions = throttle.Step(position, maximum, position == steps - 1);
        counts.drains += actions.drain;
        counts.positions += actions.setPosition;
        if (actions.setLabel) {
            ++counts.labels;
            counts.labelPercents.push_back(actions.percent);
        }
    }
    return counts;
}

}  // namespace

TEST(ProgressThrottle, LabelsChangeOnlyWithThePercentAndShowEveryPercentReached)
{
    ProgressThrottle throttle(600, FakeClock);
    // The worked example's phase 1: 6 characters of D1 = 27.
    const Counts counts = RunPhase(throttle, 6, 27, 1);
    EXPECT_EQ(counts.labelPercents, (std::vector<int>{0, 3, 7, 11, 14, 18}));

    // A maximum-size phase 1 sets at most 34 labels, whatever its length.
    ProgressThrottle large(600, FakeClock);
    const int64_t length = 2076999;
    const Counts big = RunPhase(large, length, 3 * (length + 1), 0);
    EXPECT_EQ(big.labels, 34);
    EXPECT_EQ(big.labelPercents.back(), 33);
}

TEST(ProgressThrottle, TheBarMovesOnlyWhenItsDrawnWidthChanges)
{
    const int64_t length = 2076999;
    for (int pixels : {1, 100, 673}) {
        ProgressThrottle throttle(pixels, FakeClock);
        const Counts counts = RunPhase(throttle, length, 3 * (length + 1), 0);
        // A third of the bar at most, one call per drawn pixel.
        EXPECT_LE(counts.positions, pixels / 3 + 1) << pixels << " pixels";
    }
    ProgressThrottle small(673, FakeClock);
    EXPECT_EQ(RunPhase(small, 14, 14, 0).positions, 13);  // every step moves a wide bar over a short range
}

TEST(ProgressThrottle, DrainsEvery15MsAndAtThePhaseEnd)
{
    const struct {
        int64_t stepMs;
        int64_t steps;
        int expectedDrains;
    } cases[] = {
        {0, 1000, 2},      // the first step and the phase end
        {1, 100, 8},       // at 0, 15, 30, ..., 90 ms, and the last step
        {15, 10, 10},      // every step
        {100, 5, 5},
    };
    for (const auto& c : cases) {
        ProgressThrottle throttle(400, FakeClock);
        EXPECT_EQ(RunPhase(throttle, c.steps, c.steps, c.stepMs).drains, c.expectedDrains)
            << c.steps << " steps of " << c.stepMs << " ms";
    }
}

TEST(ProgressThrottle, QuietStretchesStillDrainAtLeastEvery256Steps)
{
    // A long phase whose label and bar rarely change: a drain at most every
    // 15 ms of clock time, and one at least every 256 steps once 15 ms passed.
    ProgressThrottle throttle(10, FakeClock);
    const int64_t steps = 100000;
    const Counts counts = RunPhase(throttle, steps, 3 * (steps + 1), 1);
    EXPECT_LE(counts.drains, steps / ProgressThrottle::kDrainIntervalMs + 2);
    EXPECT_GE(counts.drains, steps / ProgressThrottle::kStepsPerClockRead);
}

TEST(ProgressThrottle, TheFinalStepShowsOneHundredPercent)
{
    ProgressThrottle throttle(400, FakeClock);
    const int64_t length = 8, lines = 2, maximum = lines + length + 4;
    throttle.BarResetToZero();
    int last = -1;
    bool lastSet = false;
    for (int64_t position : {length + 1, length + 2, lines + length + 2, lines + length + 3, lines + length + 4}) {
        const ProgressActions actions = throttle.Step(position, maximum, true);
        last = actions.percent;
        lastSet = actions.setLabel;
        EXPECT_TRUE(actions.drain);
    }
    EXPECT_EQ(last, 100);
    EXPECT_TRUE(lastSet);
}
