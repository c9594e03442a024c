#include "devices/KeyboardLightingPreview.h"

#include <algorithm>

using namespace PreviewTables;

namespace {
using KL = KeyboardLayout;
constexpr unsigned kKeyPhaseModulus = 192;
} // namespace

size_t KeyboardLightingPreview::GroupCount(Group group)
{
    switch (group) {
    case Group::Column: return KL::kColumns;
    case Group::Row: return KL::kRows;
    case Group::Ring: return KL::kRings;
    }
    return 0;
}

void KeyboardLightingPreview::SetKey(uint8_t key, Rgb colour, uint8_t level)
{
    if (key != KL::kNoKey && key < m_leds.Size())
        m_leds.Set(key, colour, level);
}

void KeyboardLightingPreview::SetGroup(Group group, size_t index, Rgb colour, uint8_t level)
{
    switch (group) {
    case Group::Column:
        for (uint8_t key : KL::Columns()[index])
            SetKey(key, colour, level);
        break;
    case Group::Row:
        for (const auto& column : KL::Columns())
            SetKey(column[index], colour, level);
        break;
    case Group::Ring:
        for (uint8_t key : KL::Rings()[index])
            SetKey(key, colour, level);
        break;
    }
}

void KeyboardLightingPreview::SetAllKeys(Rgb colour, uint8_t level) { m_leds.SetAll(colour, level); }

void KeyboardLightingPreview::PrepareKeyState()
{
    if (m_keyStateEffect == m_light.selectItem)
        return;
    m_keyStateEffect = m_light.selectItem;
    m_ringFades.fill(0);
    m_groupFades.fill(0);
    std::uniform_int_distribution<unsigned> wheel(0, kWheelColours - 1);
    for (size_t k = 0; k < m_keyPhase.size(); ++k) {
        m_keyPhase[k] = static_cast<uint8_t>(wheel(Random()));
        m_keyColour[k] = static_cast<uint8_t>(wheel(Random()));
    }
}

void KeyboardLightingPreview::StepWave() { StepCurve(Group::Column, 7, 7); }

void KeyboardLightingPreview::StepMarquee() { StepEffect(m_light.selectItem); }

void KeyboardLightingPreview::StepEffect(unsigned effect)
{
    PrepareKeyState();
    switch (effect) {
    case 1: StepCurve(Group::Column, 7, 7); break;
    case 2: StepCurve(Group::Ring, 16, 8); break;
    case 3: StepDiagonal(); break;
    case 4: StepSpectrum(); break;
    case 5: StepBreathingKeys(); break;
    case 6: StepStaticRings(); break;
    case 7:
    case 25: StepRunner(Group::Column); break;
    case 8: StepRunner(Group::Row); break;
    case 9: StepRunner(Group::Ring); break;
    case 10: StepRandomKeys(6, true); break;
    case 11: StepRandomKeys(3, false); break;
    case 12: StepCurve(Group::Row, 24, 24); break;
    case 13: StepGroupBreathing(Group::Column, 4); break;
    case 14: StepRain(); break;
    case 15: StepCurve(Group::Row, 32, 16); break;
    case 16: StepBounce(); break;
    case 17: StepFill(); break;
    case 18: StepColumnFlash(); break;
    case 20: StepCustomColours(); break;
    case 21: StepGroupBreathing(Group::Ring, 10); break;
    case 22: StepKeyPhases(); break;
    case 23: StepFlash(); break;
    case 24: StepAlternate(); break;
    case 26: StepBreathingFixed(); break;
    case 27: StepFlashFixed(); break;
    case 28: StepOff(); break;
    case kAudioEffect: StepAudioRipple(); break;
    case kStreamEffect: StepStreamFlow(); break;
    default: break;
    }
}

// Group g gets wheel[phase + 1 + wheelStep·g] with multi-colour, else the
// state colour at the level of wave curve[phase + 1 + curveStep·g].
void KeyboardLightingPreview::StepCurve(Group group, unsigned wheelStep, unsigned curveStep)
{
    const bool multi = m_light.multiColor != 0;
    m_phase = StepPhase(m_light.fx, multi ? kWheelColours : kWaveEntries, m_phase);
    for (size_t g = 0; g < GroupCount(group); ++g) {
        if (multi)
            SetGroup(group, g, ColourWheel()[(m_phase + 1 + wheelStep * g) % kWheelColours], Level(m_light.light));
        else
            SetGroup(group, g, StateColour(),
                     ScaledLevel(m_light.light, WaveCurve()[(m_phase + 1 + curveStep * g) % kWaveEntries]));
    }
}

void KeyboardLightingPreview::StepDiagonal()
{
    const bool multi = m_light.multiColor != 0;
    m_phase = StepPhase(m_light.fx, multi ? kWheelColours : kWaveEntries, m_phase);
    for (size_t c = 0; c < KL::kColumns; ++c)
        for (size_t r = 0; r < KL::kRows; ++r) {
            const uint8_t key = KL::Columns()[c][r];
            if (multi)
                SetKey(key, ColourWheel()[(m_phase + 7 * c + 24 * r) % kWheelColours], Level(m_light.light));
            else
                SetKey(key, StateColour(),
                       ScaledLevel(m_light.light, WaveCurve()[(m_phase + 4 * c + 12 * r) % kWaveEntries]));
        }
}

void KeyboardLightingPreview::StepBreathingKeys()
{
    m_phase = StepPhase(m_light.fx, kBreathingEntries, m_phase);
    const uint8_t level = ScaledLevel(m_light.light, BreathingCurve()[m_phase]);
    if (!m_light.multiColor) {
        SetAllKeys(StateColour(), level);
        return;
    }
    for (size_t c = 0; c < KL::kColumns; ++c)
        SetGroup(Group::Column, c, ColourWheel()[(7 * c) % kWheelColours], level);
}

void KeyboardLightingPreview::StepStaticRings()
{
    const uint8_t level = Level(m_light.light);
    if (!m_light.multiColor) {
        SetAllKeys(StateColour(), level);
        return;
    }
    // Keys outside the rings take the outermost ring's colour.
    SetAllKeys(ColourWheel()[150 - 12 * (KL::kRings - 1)], level);
    for (size_t r = 0; r < KL::kRings; ++r)
        SetGroup(Group::Ring, r, ColourWheel()[150 - 12 * r], level);
}

// A lit group runs across the keyboard leaving a fading trail.
void KeyboardLightingPreview::StepRunner(Group group)
{
    const size_t count = GroupCount(group);
    m_phase = StepPhase(m_light.fx, static_cast<unsigned>(count), static_cast<uint8_t>(m_phase % count));
    m_colourIndex = static_cast<uint8_t>((m_colourIndex + 1u) % kWheelColours);
    for (size_t g = 0; g < count; ++g)
        m_groupFades[g] = DecayFade(m_groupFades[g], false);
    m_groupFades[m_phase] = 255;
    for (size_t g = 0; g < count; ++g)
        SetGroup(group, g, EffectColour(static_cast<unsigned>(m_colourIndex + 8 * g)), ScaledLevel(m_light.light, m_groupFades[g]));
}

void KeyboardLightingPreview::PaintKeyFades(bool ownColours)
{
    for (size_t k = 0; k < KL::kLogicalKeys; ++k) {
        m_fades[k] = DecayFade(m_fades[k], false);
        const Rgb colour = ownColours ? ColourWheel()[m_keyColour[k]] : EffectColour(m_colourIndex);
        SetKey(static_cast<uint8_t>(k), colour, ScaledLevel(m_light.light, m_fades[k]));
    }
}

void KeyboardLightingPreview::StepRandomKeys(unsigned keys, bool ownColours)
{
    std::uniform_int_distribution<unsigned> key(0, KL::kLogicalKeys - 1);
    std::uniform_int_distribution<unsigned> wheel(0, kWheelColours - 1);
    for (size_t k = 0; k < KL::kLogicalKeys; ++k)
        m_fades[k] = DecayFade(m_fades[k], false);
    for (unsigned i = 0; i < keys; ++i) {
        const unsigned k = key(Random());
        m_fades[k] = 255;
        m_keyColour[k] = static_cast<uint8_t>(wheel(Random()));
    }
    for (size_t k = 0; k < KL::kLogicalKeys; ++k) {
        const Rgb colour = ownColours ? ColourWheel()[m_keyColour[k]] : EffectColour(m_keyColour[k]);
        SetKey(static_cast<uint8_t>(k), colour, ScaledLevel(m_light.light, m_fades[k]));
    }
}

void KeyboardLightingPreview::StepGroupBreathing(Group group, unsigned offset)
{
    m_phase = StepPhase(m_light.fx, kBreathingEntries, m_phase);
    for (size_t g = 0; g < GroupCount(group); ++g)
        SetGroup(group, g, EffectColour(static_cast<unsigned>(12 * g)),
                 ScaledLevel(m_light.light, BreathingCurve()[(m_phase + offset * g) % kBreathingEntries]));
}

// Each column drops one lit key down its rows.
void KeyboardLightingPreview::StepRain()
{
    m_phase = StepPhase(m_light.fx, KL::kRows, static_cast<uint8_t>(m_phase % KL::kRows));
    for (size_t c = 0; c < KL::kColumns; ++c) {
        const uint8_t key = KL::Columns()[c][(m_phase + 2 * c) % KL::kRows];
        if (key != KL::kNoKey)
            m_fades[key] = 255;
    }
    PaintKeyFades(false);
}

// A bar of one column sweeps to the far side and back.
void KeyboardLightingPreview::StepBounce()
{
    constexpr unsigned kPath = 2 * (KL::kColumns - 1);
    m_phase = StepPhase(m_light.fx, kPath, static_cast<uint8_t>(m_phase % kPath));
    if (m_phase == 0)
        m_colourIndex = static_cast<uint8_t>((m_colourIndex + 16u) % kWheelColours);
    const size_t lit = m_phase < KL::kColumns ? m_phase : kPath - m_phase;
    for (size_t c = 0; c < KL::kColumns; ++c)
        SetGroup(Group::Column, c, EffectColour(m_colourIndex), c == lit ? Level(m_light.light) : 0);
}

// Columns light one by one, then go dark one by one.
void KeyboardLightingPreview::StepFill()
{
    constexpr unsigned kPath = 2 * KL::kColumns;
    m_phase = StepPhase(m_light.fx, kPath, static_cast<uint8_t>(m_phase % kPath));
    for (size_t c = 0; c < KL::kColumns; ++c) {
        const bool lit = m_phase < KL::kColumns ? c <= m_phase : c > m_phase - KL::kColumns;
        SetGroup(Group::Column, c, EffectColour(static_cast<unsigned>(7 * c)), lit ? Level(m_light.light) : 0);
    }
}

void KeyboardLightingPreview::StepColumnFlash()
{
    std::uniform_int_distribution<unsigned> column(0, KL::kColumns - 1);
    for (uint8_t key : KL::Columns()[column(Random())])
        if (key != KL::kNoKey)
            m_fades[key] = 255;
    m_colourIndex = static_cast<uint8_t>((m_colourIndex + 3u) % kWheelColours);
    PaintKeyFades(false);
}

// The custom colours stay as set; only the level follows the brightness.
void KeyboardLightingPreview::StepCustomColours()
{
    const uint8_t level = Level(m_light.light);
    for (size_t k = 0; k < m_leds.Size(); ++k) {
        const LedColour c = m_leds.Get(k);
        m_leds.Set(k, {c.r, c.g, c.b}, level);
    }
}

void KeyboardLightingPreview::StepKeyPhases()
{
    std::uniform_int_distribution<unsigned> wheel(0, kWheelColours - 1);
    for (size_t k = 0; k < KL::kLogicalKeys; ++k) {
        m_keyPhase[k] = StepPhase(1, kKeyPhaseModulus, m_keyPhase[k]);
        if (m_keyPhase[k] == 0)
            m_keyColour[k] = static_cast<uint8_t>(wheel(Random()));
        const uint8_t curve = BreathingCurve()[m_keyPhase[k] * kBreathingEntries / kKeyPhaseModulus];
        SetKey(static_cast<uint8_t>(k), EffectColour(m_keyColour[k]), ScaledLevel(m_light.light, curve));
    }
}

// A checkerboard swaps its two colours at the blink period.
void KeyboardLightingPreview::StepAlternate()
{
    if (BlinkDue())
        m_colourIndex = static_cast<uint8_t>((m_colourIndex + 16u) % kWheelColours);
    const Rgb first = EffectColour(m_colourIndex);
    const Rgb second = m_light.multiColor ? ColourWheel()[(m_colourIndex + 96u) % kWheelColours] : Rgb{};
    const uint8_t level = Level(m_light.light);
    for (size_t c = 0; c < KL::kColumns; ++c)
        for (size_t r = 0; r < KL::kRows; ++r)
            SetKey(KL::Columns()[c][r], ((c + r) % 2 == 0) == m_blinkOn ? first : second, level);
}

uint8_t KeyboardLightingPreview::DecayAudioFade(uint8_t level)
{
    if (level >= 128)
        return static_cast<uint8_t>(level - 24);
    if (level >= 64)
        return static_cast<uint8_t>(level - 16);
    return static_cast<uint8_t>(level >= 8 ? level - 8 : 0);
}

void KeyboardLightingPreview::FireCentre()
{
    std::lock_guard lock(Mutex());
    m_ringFades[0] = 255;
    m_colourIndex = static_cast<uint8_t>((m_colourIndex + 16u) % kWheelColours);
}

// Each step the ripple moves one ring outwards and fades; between audio
// deliveries the keyboard goes dark.
void KeyboardLightingPreview::StepAudioRipple()
{
    for (size_t r = m_ringFades.size() - 1; r > 0; --r)
        m_ringFades[r] = std::max(DecayAudioFade(m_ringFades[r]), m_ringFades[r - 1]);
    m_ringFades[0] = DecayAudioFade(m_ringFades[0]);
    SetAllKeys({}, 0);
    for (size_t r = 0; r < KL::kRings; ++r)
        SetGroup(Group::Ring, r, EffectColour(static_cast<unsigned>(m_colourIndex + 16 * r)), ScaledLevel(m_light.light, m_ringFades[r]));
}

// The colours of the wheel flow across the columns.
void KeyboardLightingPreview::StepStreamFlow()
{
    m_phase = StepPhase(m_light.fx, kWheelColours, m_phase);
    for (size_t c = 0; c < KL::kColumns; ++c)
        SetGroup(Group::Column, c, ColourWheel()[(m_phase + 8 * c) % kWheelColours], Level(m_light.light));
}
