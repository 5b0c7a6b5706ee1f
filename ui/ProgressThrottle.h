// The progress display of a batch run: its label, and what one progress step
// has to do on screen. Every
// step keeps its arithmetic, but the platform is touched only when something
// would change on screen and time has passed: the label when its percent
// differs from the one shown, the bar when the drawn bar would differ, each
// at most every 15 ms of wall time and always at a phase end; the message
// drain likewise. Portable: no Windows header.
#pragma once

#include <cstdint>
#include <string>

// Position over maximum in double precision, times 100, truncated.
int ProgressPercent(int64_t position, int64_t maximum);

// "進捗率　" (ending in an ideographic space), the percent, " %".
std::wstring ProgressLabel(int64_t position, int64_t maximum);

struct ProgressActions {
    bool drain;
    bool setPosition;
    bool setLabel;
    int percent;
};

class ProgressThrottle {
public:
    static constexpr int64_t kIntervalMs = 15;
    // Quiet steps between two looks at the clock: a step costs nanoseconds,
    // reading the clock far more.
    static constexpr int kStepsPerClockRead = 4096;

    using Clock = int64_t (*)();  // monotonic milliseconds

    // barPixels: the width in which the bar draws its position.
    ProgressThrottle(int barPixels, Clock clock) : m_barPixels(barPixels > 0 ? barPixels : 1), m_clock(clock) {}

    // The bar was set to position 0 (or got a new range while at 0).
    void BarResetToZero()
    {
        m_drawnPixels = 0;
        m_maximum = -1;
    }

    // phaseEnd brings label, bar and queue up to date. Positions of one
    // maximum come in rising order; a step before the next change of label
    // or bar only counts down to the next look at the clock, which also
    // shows what an earlier step could not show yet.
    ProgressActions Step(int64_t position, int64_t maximum, bool phaseEnd)
    {
        if (!phaseEnd && maximum == m_maximum && position < m_nextChange && --m_quietSteps > 0)
            return ProgressActions{false, false, false, m_percent};
        return SlowStep(position, maximum, phaseEnd);
    }

private:
    ProgressActions SlowStep(int64_t position, int64_t maximum, bool phaseEnd);
    int64_t NextChange(int64_t position, int64_t maximum) const;

    int m_barPixels;
    Clock m_clock;
    // Where the arithmetic stands.
    int64_t m_maximum = -1;
    int64_t m_nextChange = 0;  // first position whose percent or drawn bar differs
    int m_percent = -1;
    int64_t m_pixels = 0;
    // What the screen shows.
    int m_shownPercent = -1;    // no label shown yet
    int64_t m_drawnPixels = 0;  // the bar starts at position 0
    bool m_started = false;
    int64_t m_lastShownMs = 0;
    int64_t m_lastDrainMs = 0;
    int m_quietSteps = 0;
};
