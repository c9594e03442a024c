#pragma once

#include "devices/LightingPreview.h"

#include <array>
#include <cstdint>

// How one device kind paces its lighting preview.
struct PreviewSchedule {
    const char* exitLine;  // debug line written when the thread ends
    // Mouse and keyboard count a tick when 2 ms or more have passed and use the
    // fine thresholds; the pad and the headset count every pass (each pass
    // lasting about 2 ms) and use the coarse thresholds.
    bool fineTicks;
    std::array<PreviewStep, 10> dispatch;  // by effect index; later indices play the light list

    uint8_t Threshold(unsigned speed) const;
    // The step for an effect index, and whether it waits for its threshold.
    PreviewStep StepFor(unsigned effect, bool& thresholded) const;

    static const PreviewSchedule& Mouse();
    static const PreviewSchedule& MousePad();
    static const PreviewSchedule& Headset();
};
