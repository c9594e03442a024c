#pragma once

#include "devices/LedColourList.h"
#include "profiles/LightRecords.h"

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

// Plays a light list: its entries one after another, each by its own mode
// (0 breathing, 1 steady, 2 blink, 4 wave, 5 colour cycle) for its duration.
// The list and the playback state are guarded by one lock, the light-list lock.
class LightListPlayer {
public:
    // Takes a new list and starts again at its first entry.
    void Load(std::vector<CustomEffectStep> list);
    std::vector<CustomEffectStep> List() const;

    // One pass of the preview loop at `nowMs`: the current entry's frame into
    // `leds`, then the next entry once the current one's time is up. An empty
    // list shows every LED off. `deviceSpeed` paces the blink of mode 2.
    void Step(LedColourList& leds, uint8_t deviceSpeed, uint64_t nowMs);

    size_t Index() const;
    uint8_t Phase() const;

private:
    void Show(const CustomEffectStep& entry, LedColourList& leds, uint8_t deviceSpeed, uint64_t nowMs);
    // Counts one pass; true once the entry's speed threshold is reached.
    bool PassDue(const CustomEffectStep& entry);
    void Breathe(const CustomEffectStep& entry, LedColourList& leds);
    void Blink(const CustomEffectStep& entry, LedColourList& leds, uint8_t deviceSpeed, uint64_t nowMs);
    void Wave(const CustomEffectStep& entry, LedColourList& leds);

    mutable std::mutex m_mutex;
    std::vector<CustomEffectStep> m_list;
    size_t m_index = 0;
    bool m_started = false;  // the current entry's start time is known
    uint64_t m_entryStart = 0;
    uint8_t m_passes = 0;
    uint8_t m_phase = 0;
    uint8_t m_breaths = 0;   // 0, 1, 2: breaths completed, picks the multi-colour breathing colour
    uint8_t m_steady = 0;    // 0..8
    bool m_blinkOn = false;
    uint64_t m_lastBlink = 0;
};
