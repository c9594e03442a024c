#include "devices/PadLightingPreview.h"

using namespace PreviewTables;

namespace {
constexpr uint8_t kNo = 0xFF;
constexpr std::array<std::array<uint8_t, 3>, 7> kPairs{
    {{1, 14, kNo}, {2, 13, kNo}, {3, 12, kNo}, {4, 11, kNo}, {5, 10, kNo}, {6, 9, kNo}, {7, 8, kNo}}};

constexpr std::array<std::array<uint8_t, 3>, 15> MakeSingles()
{
    std::array<std::array<uint8_t, 3>, 15> singles{};
    for (uint8_t i = 0; i < 15; ++i)
        singles[i] = {i, kNo, kNo};
    return singles;
}
constexpr auto kSingles = MakeSingles();
} // namespace

void PadLightingPreview::StepWave()
{
    const bool multi = m_light.multiColor != 0;
    m_phase = StepPhase(m_light.fx, multi ? kWheelColours : kWaveEntries, m_phase);
    for (size_t i = 0; i < m_leds.Size(); ++i) {
        if (multi)
            m_leds.Set(i, ColourWheel()[(m_phase + 1 + 7 * i) % kWheelColours], Level(m_light.light));
        else
            m_leds.Set(i, StateColour(), ScaledLevel(m_light.light, WaveCurve()[(m_phase + 1 + 7 * i) % kWaveEntries]));
    }
}

void PadLightingPreview::StepMarquee()
{
    m_oddCall = !m_oddCall;
    if (m_oddCall) {
        LightRing(kMarqueePositions);
        RotateRing(kMarqueePositions);
    }
    PaintRunningColumns(kPairs);
}

void PadLightingPreview::StepReactive()
{
    m_oddCall = !m_oddCall;
    if (m_oddCall) {
        LightRing(kChasePositions);
        RotateRing(kChasePositions);
    }
    PaintRunningColumns(std::span(kSingles).first(std::min(kSingles.size(), m_leds.Size())));
}

void HeadsetLightingPreview::StepWave()
{
    const bool multi = m_light.multiColor != 0;
    if (multi)
        m_phase = StepPhase(m_light.fx, kWheelColours, m_phase);
    else
        m_phase = static_cast<uint8_t>(m_light.fx ? (m_phase + 3u) % kWaveEntries : (m_phase + kWaveEntries - 3u) % kWaveEntries);
    for (size_t i = 0; i < m_leds.Size(); ++i) {
        if (multi)
            m_leds.Set(i, ColourWheel()[(m_phase + 1 + 16 * i) % kWheelColours], Level(m_light.light));
        else
            m_leds.Set(i, StateColour(), ScaledLevel(m_light.light, WaveCurve()[(m_phase + 10 * i) % kWaveEntries]));
    }
}
