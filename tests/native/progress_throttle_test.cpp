#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "autorun/BatchText.h"
#include "autorun/ProgressThrottle.h"

namespace {

struct Counts {
    int drains = 0;
    int positions = 0;
    int labels = 0;
    std::vector<int> labelPercents;
};

// Runs the steps 0 .. steps-1 of one phase, time advancing by stepMs.
Counts RunPhase(ProgressThrottle& throttle, int64_t steps, int64_t maximum, int64_t stepMs, int64_t& now)
{
    Counts counts;
    for (int64_t position = 0; position < steps; ++position, now += stepMs) {
        const ProgressActions actions = throttle.Step(position, maximum, now, position == steps - 1);
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
    ProgressThrottle throttle(600);
    int64_t now = 0;
    // The worked example's phase 1: 6 characters of D1 = 27.
    const Counts counts = RunPhase(throttle, 6, 27, 1, now);
    EXPECT_EQ(counts.labelPercents, (std::vector<int>{0, 3, 7, 11, 14, 18}));

    // A maximum-size phase 1 sets at most 34 labels, whatever its length.
    ProgressThrottle large(600);
    const int64_t length = 2076999;
    const Counts big = RunPhase(large, length, 3 * (length + 1), 0, now);
    EXPECT_EQ(big.labels, 34);
    EXPECT_EQ(big.labelPercents.back(), 33);
}

TEST(ProgressThrottle, TheBarMovesOnlyWhenItsDrawnWidthChanges)
{
    const int64_t length = 2076999;
    for (int pixels : {1, 100, 673}) {
        ProgressThrottle throttle(pixels);
        int64_t now = 0;
        const Counts counts = RunPhase(throttle, length, 3 * (length + 1), 0, now);
        // A third of the bar at most, one call per drawn pixel.
        EXPECT_LE(counts.positions, pixels / 3 + 1) << pixels << " pixels";
    }
    ProgressThrottle small(673);
    int64_t now = 0;
    EXPECT_EQ(RunPhase(small, 14, 14, 0, now).positions, 13);  // every step moves a wide bar over a short range
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
        ProgressThrottle throttle(400);
        int64_t now = 0;
        EXPECT_EQ(RunPhase(throttle, c.steps, c.steps, c.stepMs, now).drains, c.expectedDrains)
            << c.steps << " steps of " << c.stepMs << " ms";
    }
}

TEST(ProgressThrottle, TheFinalStepShowsOneHundredPercent)
{
    ProgressThrottle throttle(400);
    const int64_t length = 8, lines = 2, maximum = lines + length + 4;
    throttle.BarResetToZero();
    int last = -1;
    bool lastSet = false;
    for (int64_t position : {length + 1, length + 2, lines + length + 2, lines + length + 3, lines + length + 4}) {
        const ProgressActions actions = throttle.Step(position, maximum, 0, true);
        last = actions.percent;
        lastSet = actions.setLabel;
        EXPECT_TRUE(actions.drain);
    }
    EXPECT_EQ(last, 100);
    EXPECT_TRUE(lastSet);
}
