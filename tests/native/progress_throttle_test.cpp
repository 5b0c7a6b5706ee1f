#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "ui/ProgressThrottle.h"

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

constexpr int64_t kSlow = ProgressThrottle::kIntervalMs;  // every step may show itself

}  // namespace

TEST(ProgressLabel, ProgressOfTheWorkedExample)
{
    // 12, CR, LF, 34, CR, LF: L = 8, D1 = 27, T = 6; N = 2, D2 = 14.
    std::vector<int> phase1;
    for (int i = 0; i < 6; ++i)
        phase1.push_back(ProgressPercent(i, 27));
    EXPECT_EQ(phase1, (std::vector<int>{0, 3, 7, 11, 14, 18}));
    std::vector<int> phase2;
    for (int position : {9, 10, 12, 13, 14})
        phase2.push_back(ProgressPercent(position, 14));
    EXPECT_EQ(phase2, (std::vector<int>{64, 71, 85, 92, 100}));
}

TEST(ProgressLabel, ProgressTruncatesInDoublePrecision)
{
    EXPECT_EQ(ProgressPercent(87, 300), 28);  // 28.999999999999996
    EXPECT_EQ(ProgressLabel(87, 300), L"進捗率\x3000" L"28 %");
    EXPECT_EQ(ProgressLabel(9, 14), L"進捗率\x3000" L"64 %");
    EXPECT_EQ(ProgressLabel(14, 14), L"進捗率\x3000" L"100 %");
    EXPECT_EQ(ProgressLabel(0, 3), L"進捗率\x3000" L"0 %");
    // Phase 1 never shows more than 33 %, whatever the length.
    for (int64_t length : {0, 1, 2, 99, 2076999}) {
        const int64_t maximum = 3 * (length + 1);
        EXPECT_LE(ProgressPercent(length - 1 < 0 ? 0 : length - 1, maximum), 33);
    }
}

TEST(ProgressThrottle, ASlowRunShowsEveryPercentReachedOnce)
{
    ProgressThrottle throttle(600, FakeClock);
    // The worked example's phase 1: 6 characters of D1 = 27.
    EXPECT_EQ(RunPhase(throttle, 6, 27, kSlow).labelPercents, (std::vector<int>{0, 3, 7, 11, 14, 18}));

    // A maximum-size phase 1 shows at most 34 labels, whatever its length.
    ProgressThrottle large(600, FakeClock);
    const int64_t length = 2076999;
    const Counts big = RunPhase(large, length, 3 * (length + 1), kSlow);
    EXPECT_EQ(big.labels, 34);
    EXPECT_EQ(big.labelPercents.back(), 33);
}

TEST(ProgressThrottle, AFastRunShowsItsFirstAndLastStateOfEachPhase)
{
    ProgressThrottle throttle(600, FakeClock);
    const int64_t length = 2076999;
    const Counts phase1 = RunPhase(throttle, length, 3 * (length + 1), 0);
    EXPECT_EQ(phase1.labelPercents, (std::vector<int>{0, 33}));
    EXPECT_EQ(phase1.positions, 1);  // the bar starts at 0 and ends at a third
    EXPECT_EQ(phase1.drains, 2);

    // The worked example's later steps, one phase end each: all of them show.
    throttle.BarResetToZero();
    std::vector<int> shown;
    for (int64_t position : {9, 10, 12, 13, 14}) {
        const ProgressActions actions = throttle.Step(position, 14, true);
        EXPECT_TRUE(actions.drain);
        if (actions.setLabel)
            shown.push_back(actions.percent);
    }
    EXPECT_EQ(shown, (std::vector<int>{64, 71, 85, 92, 100}));
}

TEST(ProgressThrottle, TheBarMovesOnlyWhenItsDrawnWidthChanges)
{
    const int64_t length = 2076999;
    for (int pixels : {1, 100, 673}) {
        ProgressThrottle throttle(pixels, FakeClock);
        const Counts counts = RunPhase(throttle, length, 3 * (length + 1), kSlow);
        // A third of the bar at most, one call per drawn pixel.
        EXPECT_LE(counts.positions, pixels / 3 + 1) << pixels << " pixels";
    }
    ProgressThrottle small(673, FakeClock);
    EXPECT_EQ(RunPhase(small, 14, 14, kSlow).positions, 13);  // every step moves a wide bar over a short range
}

// The throttle skips the arithmetic of steps that cannot change anything; on
// a slow enough run it must answer every step exactly as a step-by-step
// comparison of label and bar would.
TEST(ProgressThrottle, MatchesAStepByStepComparisonOfLabelAndBar)
{
    std::mt19937_64 random(31);
    for (int round = 0; round < 300; ++round) {
        const int barPixels = 1 + static_cast<int>(random() % 900);
        const int64_t maximum = 3 + static_cast<int64_t>(random() % (round < 250 ? 5000 : 7000000));
        const int64_t first = static_cast<int64_t>(random() % (maximum / 2 + 1));
        const int64_t last = std::min<int64_t>(maximum, first + 200000);
        ProgressThrottle throttle(barPixels, FakeClock);
        int shownPercent = -1;
        int64_t drawnPixels = 0;
        for (int64_t position = first; position <= last; ++position, g_now += kSlow) {
            const ProgressActions actions = throttle.Step(position, maximum, false);
            const int percent = ProgressPercent(position, maximum);
            const int64_t pixels = position * barPixels / maximum;
            ASSERT_EQ(actions.setLabel, percent != shownPercent) << maximum << " at " << position;
            ASSERT_EQ(actions.setPosition, pixels != drawnPixels) << maximum << " at " << position;
            if (actions.setLabel)
                ASSERT_EQ(actions.percent, percent);
            shownPercent = percent;
            drawnPixels = pixels;
        }
    }
}

TEST(ProgressThrottle, ShowsAndDrainsAtMostEvery15Ms)
{
    const struct {
        int64_t stepMs;
        int64_t steps;
        int expectedDrains;
        int expectedLabels;
    } cases[] = {
        {0, 1000, 2, 2},     // the first step and the phase end
        {1, 100, 8, 8},      // at 0, 15, 30, ..., 90 ms, and the last step
        {15, 10, 10, 10},    // every step
        {100, 5, 5, 5},
    };
    for (const auto& c : cases) {
        ProgressThrottle throttle(400, FakeClock);
        const Counts counts = RunPhase(throttle, c.steps, c.steps, c.stepMs);
        EXPECT_EQ(counts.drains, c.expectedDrains) << c.steps << " steps of " << c.stepMs << " ms";
        EXPECT_EQ(counts.labels, c.expectedLabels) << c.steps << " steps of " << c.stepMs << " ms";
    }
}

TEST(ProgressThrottle, QuietStretchesStillLookAtTheClock)
{
    // A long phase whose label and bar rarely change: a drain at most every
    // 15 ms of clock time, and one at least every few thousand steps.
    ProgressThrottle throttle(10, FakeClock);
    const int64_t steps = 100000;
    const Counts counts = RunPhase(throttle, steps, 3 * (steps + 1), 1);
    EXPECT_LE(counts.drains, steps / ProgressThrottle::kIntervalMs + 2);
    EXPECT_GE(counts.drains, steps / ProgressThrottle::kStepsPerClockRead);
}
