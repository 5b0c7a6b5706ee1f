#include "autorun/ProgressThrottle.h"

#include "autorun/BatchText.h"

ProgressActions ProgressThrottle::Step(int64_t position, int64_t maximum, int64_t nowMs, bool phaseEnd)
{
    ProgressActions actions{};
    actions.percent = ProgressPercent(position, maximum);

    actions.drain = phaseEnd || !m_drained || nowMs - m_lastDrainMs >= kDrainIntervalMs;
    if (actions.drain) {
        m_drained = true;
        m_lastDrainMs = nowMs;
    }

    const int64_t pixels = maximum > 0 ? position * m_barPixels / maximum : 0;
    actions.setPosition = pixels != m_drawnPixels;
    m_drawnPixels = pixels;

    actions.setLabel = actions.percent != m_shownPercent;
    m_shownPercent = actions.percent;
    return actions;
}
