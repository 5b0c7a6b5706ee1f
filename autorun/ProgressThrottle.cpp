#include "autorun/ProgressThrottle.h"

#include "autorun/BatchText.h"

ProgressActions ProgressThrottle::Step(int64_t position, int64_t maximum, bool phaseEnd)
{
    ProgressActions actions{};
    actions.percent = ProgressPercent(position, maximum);

    const int64_t pixels = maximum > 0 ? position * m_barPixels / maximum : 0;
    actions.setPosition = pixels != m_drawnPixels;
    m_drawnPixels = pixels;
    actions.setLabel = actions.percent != m_shownPercent;
    m_shownPercent = actions.percent;

    const bool lookAtClock = phaseEnd || !m_drained || actions.setPosition || actions.setLabel ||
                             ++m_quietSteps >= kStepsPerClockRead;
    if (lookAtClock) {
        m_quietSteps = 0;
        const int64_t now = m_clock();
        actions.drain = phaseEnd || !m_drained || now - m_lastDrainMs >= kDrainIntervalMs;
        if (actions.drain) {
            m_drained = true;
            m_lastDrainMs = now;
        }
    }
    return actions;
}
