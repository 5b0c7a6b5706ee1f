#include "ui/ProgressThrottle.h"

#include <algorithm>

namespace {

int64_t DrawnPixels(int64_t position, int64_t maximum, int barPixels)
{
    return maximum > 0 ? position * barPixels / maximum : 0;
}

}  // namespace

int ProgressPercent(int64_t position, int64_t maximum)
{
    return static_cast<int>(static_cast<double>(position) / static_cast<double>(maximum) * 100.0);
}

std::wstring ProgressLabel(int64_t position, int64_t maximum)
{
    return L"進捗率\x3000" + std::to_wstring(ProgressPercent(position, maximum)) + L" %";
}

// The first position after this one at which the percent or the drawn bar
// changes. Both grow with the position, so the answer can be computed; the
// percent, a double-precision quotient, is checked around its estimate.
int64_t ProgressThrottle::NextChange(int64_t position, int64_t maximum) const
{
    if (maximum <= 0)
        return position + 1;
    const int64_t pixels = DrawnPixels(position, maximum, m_barPixels);
    const int64_t nextPixels = ((pixels + 1) * maximum + m_barPixels - 1) / m_barPixels;

    const int percent = ProgressPercent(position, maximum);
    int64_t nextPercent = static_cast<int64_t>(static_cast<double>(percent + 1) * static_cast<double>(maximum) / 100.0) - 2;
    nextPercent = std::max(nextPercent, position + 1);
    while (ProgressPercent(nextPercent, maximum) == percent)
        ++nextPercent;
    return std::max(std::min(nextPixels, nextPercent), position + 1);
}

ProgressActions ProgressThrottle::SlowStep(int64_t position, int64_t maximum, bool phaseEnd)
{
    m_percent = ProgressPercent(position, maximum);
    m_pixels = DrawnPixels(position, maximum, m_barPixels);
    m_maximum = maximum;
    m_nextChange = NextChange(position, maximum);
    m_quietSteps = kStepsPerClockRead;

    ProgressActions actions{};
    actions.percent = m_percent;
    const int64_t now = m_clock();
    const bool due = phaseEnd || !m_started || now - m_lastShownMs >= kIntervalMs;
    const bool changed = m_percent != m_shownPercent || m_pixels != m_drawnPixels;
    if (changed && due) {
        actions.setLabel = m_percent != m_shownPercent;
        actions.setPosition = m_pixels != m_drawnPixels;
        m_shownPercent = m_percent;
        m_drawnPixels = m_pixels;
        m_lastShownMs = now;
    }

    actions.drain = phaseEnd || !m_started || now - m_lastDrainMs >= kIntervalMs;
    if (actions.drain)
        m_lastDrainMs = now;
    m_started = true;
    return actions;
}
