#pragma once

#include "devices/LightingPreview.h"

#include <array>
#include <cstdint>
#include <span>

// How one device kind paces its lighting preview.
struct PreviewSchedule {
    const char* exitLine;  // debug line written when the thread ends
    // Mouse and keyboard count a tick when 2 ms or more have passed and use the
    // fine thresholds; the pad and the headset count every pass (each pass
    // lasting about 2 ms) and use the coarse thresholds.
    bool fineTicks;
    std::span<const PreviewStep> dispatch;  // by effect index; later indices play the light list
    // Effects whose threshold does not follow the kind's row: by speed 0..4, then `beyond`.
    struct ThresholdRow {
        uint8_t effect;
        std::array<uint8_t, 5> bySpeed;
        uint8_t beyond;
    };
    std::span<const ThresholdRow> thresholdRows{};

    uint8_t Threshold(unsigned speed) const;
    uint8_t Threshold(unsigned effect, unsigned speed) const;
    // The step for an effect index, and whether it waits for its threshold.
    PreviewStep StepFor(unsigned effect, bool& thresholded) const;

    static const PreviewSchedule& Mouse();
    static const PreviewSchedule& MousePad();
    static const PreviewSchedule& Headset();
    static const PreviewSchedule& Keyboard();
};
