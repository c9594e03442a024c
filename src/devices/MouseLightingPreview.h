#pragma once

#include "devices/LightingPreview.h"

// The mouse's layout: seven columns of LED positions (column c holds c and
// 13 - c, column 6 holds 6, 14 and 7); positions past the LED count are skipped.
class MouseLightingPreview : public LightingPreview {
public:
    using LightingPreview::LightingPreview;

    static constexpr size_t kRingPositions = 9;  // the running light walks positions 0..8

    void StepWave() override;
    void StepMarquee() override;
};
