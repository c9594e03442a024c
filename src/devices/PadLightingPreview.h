#pragma once

#include "devices/LightingPreview.h"

// The mouse pad's layout: 15 LEDs whose running light moves over the seven
// pairs (1, 14) … (7, 8). The headset shares the running lights and has its
// own wave.
class PadLightingPreview : public LightingPreview {
public:
    using LightingPreview::LightingPreview;

    static constexpr size_t kMarqueePositions = 8;
    static constexpr size_t kChasePositions = 23;

    void StepWave() override;
    // Every second call the ring lights its fades and moves on.
    void StepMarquee() override;
    // The pad's reactive effect is a running light over single LEDs.
    void StepReactive() override;

protected:
    bool m_oddCall = false;
};

class HeadsetLightingPreview : public PadLightingPreview {
public:
    using PadLightingPreview::PadLightingPreview;
    void StepWave() override;
};
