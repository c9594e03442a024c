#include "devices/MouseLightingPreview.h"

using namespace PreviewTables;

namespace {
constexpr uint8_t kNo = 0xFF;
constexpr std::array<std::array<uint8_t, 3>, 7> kColumns{
    {{0, 13, kNo}, {1, 12, kNo}, {2, 11, kNo}, {3, 10, kNo}, {4, 9, kNo}, {5, 8, kNo}, {6, 14, 7}}};
} // namespace

void MouseLightingPreview::StepWave()
{
    const bool multi = m_light.multiColor != 0;
    m_phase = StepPhase(m_light.fx, multi ? kWheelColours : kWaveEntries, m_phase);
    for (size_t c = 0; c < kColumns.size(); ++c) {
        if (multi)
            SetColumn(kColumns[c], ColourWheel()[(m_phase + 1 + 7 * c) % kWheelColours], Level(m_light.light));
        else
            SetColumn(kColumns[c], StateColour(),
                      ScaledLevel(m_light.light, WaveCurve()[(m_phase + 1 + 7 * c) % kWaveEntries]));
    }
}

void MouseLightingPreview::StepMarquee()
{
    m_phase = StepPhase(m_light.fx, kWheelColours, m_phase);
    LightRing(kRingPositions);
    RotateRing(kRingPositions);
    PaintRunningColumns(kColumns);
}
