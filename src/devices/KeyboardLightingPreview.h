#pragma once

#include "devices/KeyboardLayout.h"
#include "devices/LightingPreview.h"

#include <array>
#include <cstddef>
#include <cstdint>

// The keyboard's preview: one LED per logical key, animated over the columns,
// rows and rings of the keyboard picture. The keyboard's own steps (one per
// effect index) come through the layout slot StepMarquee, which picks the
// step of the current effect; StepWave is its effect 1.
class KeyboardLightingPreview : public LightingPreview {
public:
    using LightingPreview::LightingPreview;

    static constexpr uint8_t kAudioEffect = 29;
    static constexpr uint8_t kStreamEffect = 30;

    void StepWave() override;
    void StepMarquee() override;

    // The keyboard step of effect `effect` (1..30; others leave the LEDs alone).
    void StepEffect(unsigned effect);

    // The audio-driven ripple starts again at the centre key.
    void FireCentre();

    // Fade of one effect-29 ring.
    uint8_t RingFade(size_t ring) const { return ring < m_ringFades.size() ? m_ringFades[ring] : 0; }
    uint8_t KeyPhase(size_t key) const { return key < m_keyPhase.size() ? m_keyPhase[key] : 0; }
    uint8_t KeyColourIndex(size_t key) const { return key < m_keyColour.size() ? m_keyColour[key] : 0; }

    // One decay step of an effect-29 ring.
    static uint8_t DecayAudioFade(uint8_t level);

private:
    enum class Group { Column, Row, Ring };
    static size_t GroupCount(Group group);

    void SetKey(uint8_t key, Rgb colour, uint8_t level);
    void SetGroup(Group group, size_t index, Rgb colour, uint8_t level);
    void SetAllKeys(Rgb colour, uint8_t level);
    void PrepareKeyState();

    void StepBreathingKeys();
    void StepStaticRings();
    void StepCurve(Group group, unsigned wheelStep, unsigned curveStep);
    void StepRunner(Group group);
    void StepDiagonal();
    void StepRandomKeys(unsigned keys, bool ownColours);
    void StepGroupBreathing(Group group, unsigned offset);
    void StepRain();
    void StepBounce();
    void StepFill();
    void StepColumnFlash();
    void StepCustomColours();
    void StepKeyPhases();
    void StepAlternate();
    void StepAudioRipple();
    void StepStreamFlow();
    // Fades of single keys decay; every key shows its fade level.
    void PaintKeyFades(bool ownColours);

    std::array<uint8_t, KeyboardLayout::kLogicalKeys> m_keyPhase{};
    std::array<uint8_t, KeyboardLayout::kLogicalKeys> m_keyColour{};
    std::array<uint8_t, KeyboardLayout::kRings> m_ringFades{};
    std::array<uint8_t, KeyboardLayout::kColumns> m_groupFades{};
    int m_keyStateEffect = -1;
};
