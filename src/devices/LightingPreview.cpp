#include "devices/LightingPreview.h"

#include <algorithm>

using namespace PreviewTables;

LightingPreview::LightingPreview(LedColourList& leds, Clock clock, uint32_t seed)
    : m_leds(leds), m_clock(std::move(clock)), m_random(seed)
{
    ResetFades();
}

void LightingPreview::SetLightState(const PreviewLightState& state)
{
    std::lock_guard lock(m_mutex);
    const bool effectChanged = state.selectItem != m_light.selectItem;
    m_light = state;
    if (effectChanged)
        ResetFades();
}

void LightingPreview::ResetFades()
{
    m_fades.fill(0);
    m_ring.fill(0);
    m_ring[0] = 1;
}

Rgb LightingPreview::EffectColour(unsigned wheelIndex) const
{
    return m_light.multiColor ? ColourWheel()[wheelIndex % kWheelEntries] : StateColour();
}

bool LightingPreview::BlinkDue()
{
    const uint64_t now = m_clock();
    if (now - m_lastBlink < static_cast<uint64_t>(BlinkPeriod(m_light.speed)) * 200)
        return false;
    m_blinkOn = !m_blinkOn;
    m_lastBlink = now;
    return true;
}

void LightingPreview::StepBreathing()
{
    m_phase = StepPhase(m_light.fx, kBreathingEntries, m_phase);
    if (m_phase == 0) {
        m_colourIndex = static_cast<uint8_t>(m_colourIndex + 16);
        if (m_colourIndex > kWheelColours)
            m_colourIndex = 0;
    }
    m_leds.SetAll(EffectColour(m_colourIndex), ScaledLevel(m_light.light, BreathingCurve()[m_phase]));
}

void LightingPreview::StepBreathingFixed()
{
    m_phase = StepPhase(m_light.fx, kBreathingEntries, m_phase);
    if (m_phase == 0)
        m_fixedIndex = static_cast<uint8_t>(m_fixedIndex >= 3 ? 0 : m_fixedIndex + 1);
    m_leds.SetAll(kFixedColours[m_fixedIndex % kFixedColours.size()],
                  ScaledLevel(m_light.light, BreathingCurve()[m_phase]));
}

void LightingPreview::StepStatic() { m_leds.SetAll(StateColour(), Level(m_light.light)); }

void LightingPreview::StepSpectrum()
{
    m_phase = StepPhase(m_light.fx, kWheelColours, m_phase);
    m_leds.SetAll(ColourWheel()[m_phase], Level(m_light.light));
}

void LightingPreview::StepFlash()
{
    if (BlinkDue()) {
        m_phase = static_cast<uint8_t>(m_phase + 16);
        if (m_phase >= kWheelColours)
            m_phase = 0;
    }
    if (m_blinkOn)
        m_leds.SetAll(EffectColour(m_phase), Level(m_light.light));
    else
        StepOff();
}

void LightingPreview::StepFlashFixed()
{
    if (BlinkDue())
        m_phase = static_cast<uint8_t>(m_phase >= 3 ? 0 : m_phase + 1);
    if (m_blinkOn)
        m_leds.SetAll(kFixedColours[m_phase % kFixedColours.size()], Level(m_light.light));
    else
        StepOff();
}

void LightingPreview::StepOff() { m_leds.SetAll({}, 0); }

void LightingPreview::TriggerReactive()
{
    std::lock_guard lock(m_mutex);
    if (m_light.selectItem != kReactiveEffect)
        return;
    std::uniform_int_distribution<unsigned> colour(0, kWheelColours - 1);
    for (size_t i = 0; i < m_leds.Size() && i < kMaxLeds; ++i) {
        m_reactiveState[i] = 1;
        m_reactiveLevel[i] = 255;
        m_reactiveColour[i] = static_cast<uint8_t>(colour(m_random));
    }
}

void LightingPreview::StepReactive()
{
    for (size_t i = 0; i < m_leds.Size() && i < kMaxLeds; ++i) {
        uint8_t& level = m_reactiveLevel[i];
        if (m_reactiveState[i] == 1) {
            if (level < 255)
                level = static_cast<uint8_t>(level >= 240 ? 255 : level + 15);
            else
                m_reactiveState[i] = 2;
        } else if (m_reactiveState[i] == 2) {
            level = static_cast<uint8_t>(level <= 15 ? 0 : level - 15);
        }
        m_leds.Set(i, EffectColour(m_reactiveColour[i]), level);
    }
}

uint8_t LightingPreview::DecayFade(uint8_t level, bool effectZero)
{
    int drop = 0;
    if (level >= 128)
        drop = 40;
    else if (level >= 64)
        drop = 30;
    else if (level >= 32)
        drop = effectZero ? 15 : 10;
    else if (level >= 17)
        drop = 8;
    else if (level >= 1)
        drop = 1;
    return static_cast<uint8_t>(level - drop);
}

void LightingPreview::StepLightList()
{
    if (m_lightList)
        m_lightList->Step(m_leds, m_light.speed, m_clock());
    else
        StepOff();
}

void LightingPreview::RunStep(PreviewStep step)
{
    switch (step) {
    case PreviewStep::Breathing: StepBreathing(); break;
    case PreviewStep::BreathingFixed: StepBreathingFixed(); break;
    case PreviewStep::Static: StepStatic(); break;
    case PreviewStep::Spectrum: StepSpectrum(); break;
    case PreviewStep::Flash: StepFlash(); break;
    case PreviewStep::FlashFixed: StepFlashFixed(); break;
    case PreviewStep::Off: StepOff(); break;
    case PreviewStep::Wave: StepWave(); break;
    case PreviewStep::Marquee: StepMarquee(); break;
    case PreviewStep::Reactive: StepReactive(); break;
    case PreviewStep::LightList: StepLightList(); break;
    }
}

void LightingPreview::LightRing(size_t positions)
{
    for (size_t p = 0; p < positions && p < kRingSize && p + 1 < kMaxLeds; ++p)
        if (m_ring[p])
            m_fades[p + 1] = 255;
}

void LightingPreview::RotateRing(size_t positions)
{
    if (positions < 2 || positions > kRingSize)
        return;
    auto begin = m_ring.begin();
    auto end = m_ring.begin() + static_cast<std::ptrdiff_t>(positions);
    if (m_light.fx)
        std::rotate(begin, end - 1, end);
    else
        std::rotate(begin, begin + 1, end);
}

void LightingPreview::SetColumn(const Column& column, Rgb colour, uint8_t level)
{
    for (uint8_t led : column)
        if (led != kNoLed && led < m_leds.Size())
            m_leds.Set(led, colour, level);
}

void LightingPreview::PaintRunningColumns(std::span<const Column> columns)
{
    const bool effectZero = m_light.selectItem == 0;
    const size_t firstLit = m_light.fx ? 1 : 7;
    for (const Column& column : columns) {
        uint8_t& fade = m_fades[column[0]];
        fade = DecayFade(fade, effectZero);
        Rgb colour = StateColour();
        if (m_light.multiColor) {
            m_phase = static_cast<uint8_t>((m_phase + 12u) % kWheelColours);
            colour = ColourWheel()[m_phase];
            if (m_fades[firstLit] != 0) {
                const LedColour current = m_leds.Get(column[0]);
                colour = {current.r, current.g, current.b};
            }
        }
        SetColumn(column, colour, fade);
    }
}
