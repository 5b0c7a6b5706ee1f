// Decides what one progress step of a batch run has to do on screen. Every
// step keeps its arithmetic, but the platform is touched only when something
// would change: the label when its percent differs from the one shown, the
// bar when the drawn bar would change, and the message drain when 15 ms of
// wall time have passed or a phase ends. Portable: no Windows header.
#pragma once

#include <cstdint>

struct ProgressActions {
    bool drain;
    bool setPosition;
    bool setLabel;
    int percent;
};

class ProgressThrottle {
public:
    static constexpr int64_t kDrainIntervalMs = 15;
    // Quiet steps between two looks at the clock: a step costs nanoseconds,
    // reading the clock far more.
    static constexpr int kStepsPerClockRead = 256;

    using Clock = int64_t (*)();  // monotonic milliseconds

    // barPixels: the width in which the bar draws its position.
    ProgressThrottle(int barPixels, Clock clock) : m_barPixels(barPixels > 0 ? barPixels : 1), m_clock(clock) {}

    // The bar was set to position 0 (or got a new range while at 0).
    void BarResetToZero() { m_drawnPixels = 0; }

    // phaseEnd forces the drain.
    ProgressActions Step(int64_t position, int64_t maximum, bool phaseEnd);

private:
    int m_barPixels;
    Clock m_clock;
    int64_t m_drawnPixels = 0;  // the bar starts at position 0
    int m_shownPercent = -1;    // no label shown yet
    bool m_drained = false;
    int64_t m_lastDrainMs = 0;
    int m_quietSteps = 0;
};
