#include "devices/LightListPlayer.h"

#include "devices/PreviewTables.h"

using namespace PreviewTables;

namespace {

Rgb EntryColour(const CustomEffectStep& entry) { return {entry.red, entry.green, entry.blue}; }

uint8_t Next(uint8_t value, unsigned modulus) { return static_cast<uint8_t>(value + 1u >= modulus ? 0 : value + 1u); }

} // namespace

void LightListPlayer::Load(std::vector<CustomEffectStep> list)
{
    std::lock_guard lock(m_mutex);
    m_list = std::move(list);
    m_index = 0;
    m_started = false;
    m_passes = 0;
    m_phase = 0;
    m_breaths = 0;
    m_steady = 0;
    m_blinkOn = false;
    m_lastBlink = 0;
}

std::vector<CustomEffectStep> LightListPlayer::List() const
{
    std::lock_guard lock(m_mutex);
    return m_list;
}

size_t LightListPlayer::Index() const
{
    std::lock_guard lock(m_mutex);
    return m_index;
}

uint8_t LightListPlayer::Phase() const
{
    std::lock_guard lock(m_mutex);
    return m_phase;
}

void LightListPlayer::Step(LedColourList& leds, uint8_t deviceSpeed, uint64_t nowMs)
{
    std::lock_guard lock(m_mutex);
    if (m_index >= m_list.size())
        m_index = 0;
    if (m_list.empty()) {
        leds.SetAll({}, 0);
        return;
    }
    if (!m_started) {
        m_started = true;
        m_entryStart = nowMs;
    }
    const CustomEffectStep entry = m_list[m_index];
    Show(entry, leds, deviceSpeed, nowMs);
    if (entry.time <= 0 || nowMs - m_entryStart >= static_cast<uint64_t>(entry.time)) {
        m_index = m_index + 1 >= m_list.size() ? 0 : m_index + 1;
        m_entryStart = nowMs;
    }
}

bool LightListPlayer::PassDue(const CustomEffectStep& entry)
{
    if (m_passes < CoarseThreshold(entry.speed))
        return false;
    m_passes = 0;
    return true;
}

void LightListPlayer::Show(const CustomEffectStep& entry, LedColourList& leds, uint8_t deviceSpeed, uint64_t nowMs)
{
    m_passes = static_cast<uint8_t>(m_passes + 1);
    switch (entry.mode) {
    case 0: Breathe(entry, leds); break;
    case 1:
        if (PassDue(entry))
            m_steady = Next(m_steady, 9);
        leds.SetAll(EntryColour(entry), Level(entry.brightness));
        break;
    case 2: Blink(entry, leds, deviceSpeed, nowMs); break;
    case 4: Wave(entry, leds); break;
    case 5:
        if (PassDue(entry))
            m_phase = Next(m_phase, kWheelColours);
        leds.SetAll(ColourWheel()[m_phase], Level(entry.brightness));
        break;
    default: leds.SetAll({}, 0); break;
    }
}

void LightListPlayer::Breathe(const CustomEffectStep& entry, LedColourList& leds)
{
    if (PassDue(entry)) {
        m_phase = Next(m_phase, kBreathingEntries);
        if (m_phase == 0)
            m_breaths = Next(m_breaths, 3);
    }
    // With the colour flag each breath takes the next of three wheel colours (red, green, blue).
    const Rgb colour = entry.multiColor ? ColourWheel()[64u * m_breaths] : EntryColour(entry);
    leds.SetAll(colour, ScaledLevel(entry.brightness, BreathingCurve()[m_phase]));
}

void LightListPlayer::Blink(const CustomEffectStep& entry, LedColourList& leds, uint8_t deviceSpeed, uint64_t nowMs)
{
    m_phase = Next(m_phase, kBreathingEntries);
    if (nowMs - m_lastBlink >= static_cast<uint64_t>(BlinkPeriod(deviceSpeed)) * 200) {
        m_blinkOn = !m_blinkOn;
        m_lastBlink = nowMs;
    }
    if (!m_blinkOn) {
        leds.SetAll({}, 0);
        return;
    }
    leds.SetAll(entry.multiColor ? ColourWheel()[m_phase + 14u] : EntryColour(entry), Level(entry.brightness));
}

void LightListPlayer::Wave(const CustomEffectStep& entry, LedColourList& leds)
{
    if (PassDue(entry))
        m_phase = Next(m_phase, kWheelColours);
    unsigned start = 0;
    if (entry.direction)
        start = m_phase == 0 ? kWheelColours - 1 : kWheelColours - m_phase;
    else
        start = Next(m_phase, kWheelColours);
    if (entry.multiColor) {
        uint8_t index = static_cast<uint8_t>(start);
        for (size_t led = 0; led < leds.Size(); ++led) {
            leds.Set(led, ColourWheel()[index], Level(entry.brightness));
            index = static_cast<uint8_t>(index + (index >= 180 && index <= 243 ? 76 : 12));
        }
        return;
    }
    for (size_t led = 0; led < leds.Size(); ++led) {
        const size_t w = (start + 12 + 12 * led) % kWaveEntries;
        leds.Set(led, EntryColour(entry), ScaledLevel(entry.brightness, WaveCurve()[w]));
    }
}
