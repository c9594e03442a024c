#include "devices/MouseLightingPreview.h"

#include <algorithm>

using namespace PreviewTables;

namespace {
constexpr uint8_t kColumnPositions[MouseLightingPreview::kColumns][3] = {
    {0, 13, 0xFF}, {1, 12, 0xFF}, {2, 11, 0xFF}, {3, 10, 0xFF}, {4, 9, 0xFF}, {5, 8, 0xFF}, {6, 14, 7}};
} // namespace

template <typename Fn>
void MouseLightingPreview::ForColumn(size_t column, Fn&& fn) const
{
    for (uint8_t position : kColumnPositions[column])
        if (position != 0xFF && position < m_leds.Size())
            fn(position);
}

void MouseLightingPreview::StepWave()
{
    const bool multi = m_light.multiColor != 0;
    m_phase = StepPhase(m_light.fx, multi ? kWheelColours : kWaveEntries, m_phase);
    for (size_t c = 0; c < kColumns; ++c) {
        Rgb colour;
        uint8_t level;
        if (multi) {
            colour = ColourWheel()[(m_phase + 1 + 7 * c) % kWheelColours];
            level = Level(m_light.light);
        } else {
            colour = StateColour();
            level = ScaledLevel(m_light.light, WaveCurve()[(m_phase + 1 + 7 * c) % kWaveEntries]);
        }
        ForColumn(c, [&](size_t led) { m_leds.Set(led, colour, level); });
    }
}

void MouseLightingPreview::RotateRing()
{
    auto begin = m_ring.begin();
    auto end = m_ring.begin() + kRingPositions;
    if (m_light.fx)
        std::rotate(begin, end - 1, end);
    else
        std::rotate(begin, begin + 1, end);
}

void MouseLightingPreview::StepMarquee()
{
    m_phase = StepPhase(m_light.fx, kWheelColours, m_phase);
    for (size_t p = 0; p < kRingPositions; ++p)
        if (m_ring[p])
            m_fades[p + 1] = 255;
    RotateRing();

    const bool effectZero = m_light.selectItem == 0;
    const size_t firstLit = m_light.fx ? 1 : 7;
    for (size_t c = 0; c < kColumns; ++c) {
        m_fades[c] = DecayFade(m_fades[c], effectZero);
        Rgb colour = StateColour();
        if (m_light.multiColor) {
            m_phase = static_cast<uint8_t>((m_phase + 12u) % kWheelColours);
            colour = ColourWheel()[m_phase];
            if (m_fades[firstLit] != 0) {
                const LedColour current = m_leds.Get(kColumnPositions[c][0]);
                colour = {current.r, current.g, current.b};
            }
        }
        const uint8_t level = m_fades[c];
        ForColumn(c, [&](size_t led) { m_leds.Set(led, colour, level); });
    }
}
