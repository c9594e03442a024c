#include "devices/LedRegionSteps.h"

#include "devices/PreviewTables.h"

using namespace PreviewTables;

void LedRegionSteps::Reset() { m_state.fill({}); }

bool LedRegionSteps::Step(std::span<const LightInfoRecord> records, LedColourList& leds)
{
    bool any = false;
    const uint64_t now = m_clock ? m_clock() : 0;
    for (size_t i = 0; i < records.size() && i < kMaxLeds && i < leds.Size(); ++i) {
        const LightInfoRecord& r = records[i];
        if (!r.present)
            continue;
        any = true;
        LedState& s = m_state[i];
        const auto colour = [&] { return r.multiColor ? ColourWheel()[s.colourIndex] : Rgb{r.red, r.green, r.blue}; };
        switch (r.selectItem) {
        case 0:
            s.phase = static_cast<uint8_t>(s.phase + r.speed + 4);
            if (s.phase >= kBreathingEntries) {
                s.phase = 0;
                ++s.colourIndex;
                if (s.colourIndex > kWheelColours)
                    s.colourIndex = kWheelColours - 1;
            }
            leds.Set(i, colour(), ScaledLevel(r.light, BreathingCurve()[s.phase]));
            break;
        case 1: leds.Set(i, {r.red, r.green, r.blue}, Level(r.light)); break;
        case 2:
            if (!s.toggled || now - s.lastToggle >= static_cast<uint64_t>(BlinkPeriod(r.speed)) * 200) {
                s.toggled = true;
                s.on = !s.on;
                s.lastToggle = now;
                s.colourIndex = static_cast<uint8_t>(s.colourIndex + 14);
                if (s.colourIndex > kWheelColours - 1)
                    s.colourIndex = 0;
            }
            if (s.on)
                leds.Set(i, colour(), Level(r.light));
            else
                leds.Set(i, {}, 0);
            break;
        case 3:
            if (++s.counter >= BlinkPeriod(r.speed)) {
                s.counter = 0;
                ++s.colourIndex;
                if (s.colourIndex > kWheelColours - 1)
                    s.colourIndex = 0;
            }
            leds.Set(i, ColourWheel()[s.colourIndex], Level(r.light));
            break;
        default: leds.Set(i, {}, 0); break;
        }
    }
    return any;
}
