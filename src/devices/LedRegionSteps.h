#pragma once

#include "devices/LedColourList.h"
#include "profiles/LightRecords.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

// The per-LED region steps: every per-LED light record marked present drives
// the LED of the same position by its own mode (0 breathing, 1 static,
// 2 flash, 3 spectrum, 4 off), brightness, speed and colour; with its
// multi-colour flag the LED shows the wheel colour of its own colour index.
class LedRegionSteps {
public:
    using Clock = std::function<uint64_t()>;  // milliseconds
    static constexpr size_t kMaxLeds = 170;

    explicit LedRegionSteps(Clock clock) : m_clock(std::move(clock)) {}

    // Every LED's phase, colour index, counter and timer start again; the
    // first pass toggles every flashing LED.
    void Reset();
    // One pass; true when any record was present.
    bool Step(std::span<const LightInfoRecord> records, LedColourList& leds);

    uint8_t Phase(size_t led) const { return led < kMaxLeds ? m_state[led].phase : 0; }
    uint8_t ColourIndex(size_t led) const { return led < kMaxLeds ? m_state[led].colourIndex : 0; }

private:
    struct LedState {
        uint8_t phase = 0;
        uint8_t colourIndex = 0;
        uint8_t counter = 0;
        bool on = false;
        bool toggled = false;  // false until the first toggle
        uint64_t lastToggle = 0;
    };

    Clock m_clock;
    std::array<LedState, kMaxLeds> m_state{};
};
