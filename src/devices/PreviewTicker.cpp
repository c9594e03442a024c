#include "devices/PreviewTicker.h"

#include <algorithm>

void PreviewTicker::Restart(uint64_t nowMs)
{
    m_last = nowMs;
    m_ticks = 0;
}

bool PreviewTicker::Pass(uint64_t nowMs, unsigned threshold)
{
    if (nowMs > m_last) {
        const uint64_t gathered = (nowMs - m_last) / kTickMs;
        m_last += gathered * kTickMs;
        m_ticks = static_cast<unsigned>(std::min<uint64_t>(m_ticks + gathered, threshold));
    }
    if (m_ticks < threshold)
        return false;
    m_ticks = 0;
    return true;
}

uint64_t PreviewTicker::WaitMs(uint64_t nowMs, unsigned threshold, bool busy) const
{
    if (busy || threshold == 0)
        return PassMs();
    const uint64_t due = m_last + static_cast<uint64_t>(threshold - m_ticks) * kTickMs;
    return due > nowMs ? due - nowMs : PassMs();
}
