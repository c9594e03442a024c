#pragma once

#include <cstdint>

// Decides on which pass of the preview loop a step runs. A tick is 2 ms; a
// step runs once `threshold` ticks have gathered since the last one, and on
// every pass when the threshold is 0 or the effect has none.
class PreviewTicker {
public:
    static constexpr uint64_t kTickMs = 2;

    explicit PreviewTicker(bool fineTicks) : m_fine(fineTicks) {}

    // Restarts the tick count from `nowMs` (after the preview stood still).
    void Restart(uint64_t nowMs);

    // One pass at `nowMs`: true when the step runs.
    bool Pass(uint64_t nowMs, unsigned threshold);

    // How long the loop may sleep before the next pass that matters. With
    // per-pass work (`busy`) every pass matters.
    uint64_t WaitMs(uint64_t nowMs, unsigned threshold, bool busy) const;

    unsigned Ticks() const { return m_ticks; }

private:
    uint64_t PassMs() const { return m_fine ? 1 : 2; }

    bool m_fine;
    uint64_t m_last = 0;
    unsigned m_ticks = 0;
};
