#pragma once

#include "devices/LedColourList.h"
#include "devices/LightListPlayer.h"
#include "devices/PreviewTables.h"

#include <array>
#include <cstdint>
#include <functional>
#include <mutex>
#include <random>
#include <span>

// The lighting state the preview animates (the device's copy of its effect).
struct PreviewLightState {
    uint8_t selectItem = 0;  // effect index
    uint8_t light = 0;       // brightness 0..4
    uint8_t speed = 0;       // 0..4
    uint8_t fx = 0;          // direction
    uint8_t multiColor = 0;
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};

enum class PreviewStep {
    Breathing, BreathingFixed, Static, Spectrum, Flash, FlashFixed, Off, Wave, Marquee, Reactive, LightList,
};

// Preview state and the steps every device kind shares. A step computes one
// frame into the LED colour list; it allocates nothing.
class LightingPreview {
public:
    using Clock = std::function<uint64_t()>;  // milliseconds

    static constexpr size_t kMaxLeds = 170;
    static constexpr size_t kRingSize = 23;

    LightingPreview(LedColourList& leds, Clock clock, uint32_t seed = std::random_device{}());
    virtual ~LightingPreview() = default;

    // Takes a new lighting state; a different effect starts from cleared fades
    // and a ring with only its first position lit.
    void SetLightState(const PreviewLightState& state);
    const PreviewLightState& LightState() const { return m_light; }

    void StepBreathing();
    void StepBreathingFixed();
    void StepStatic();
    void StepSpectrum();
    void StepFlash();
    void StepFlashFixed();
    void StepOff();
    // Layout steps: each device kind lays them over its own LEDs.
    virtual void StepWave() = 0;
    virtual void StepMarquee() = 0;
    // Plays the light list; with no list every LED is off.
    void StepLightList();
    // The light list this preview plays (owned by the device); none: LEDs off.
    void SetLightList(LightListPlayer* player) { m_lightList = player; }

    void RunStep(PreviewStep step);

    // Guards the lighting state against the preview thread.
    std::mutex& Mutex() { return m_mutex; }

    void ResetFades();

    uint8_t Phase() const { return m_phase; }
    uint8_t ColourIndex() const { return m_colourIndex; }
    uint8_t FixedIndex() const { return m_fixedIndex; }
    bool BlinkOn() const { return m_blinkOn; }
    uint8_t Fade(size_t position) const { return position < kMaxLeds ? m_fades[position] : 0; }
    bool RingLit(size_t position) const { return position < kRingSize && m_ring[position] != 0; }
    uint8_t ReactiveState(size_t led) const { return led < kMaxLeds ? m_reactiveState[led] : 0; }
    uint8_t ReactiveLevel(size_t led) const { return led < kMaxLeds ? m_reactiveLevel[led] : 0; }

    static constexpr uint8_t kReactiveEffect = 6;

    // A key press while the reactive effect runs: every LED lights at full level in a random colour.
    void TriggerReactive();
    virtual void StepReactive();

    // One decay step of a running-light fade level (effect 0 decays faster in the 32..63 band).
    static uint8_t DecayFade(uint8_t level, bool effectZero);

protected:
    // A running-light column: up to three LED positions, unused ones 0xFF.
    using Column = std::array<uint8_t, 3>;
    static constexpr uint8_t kNoLed = 0xFF;

    // Each lit ring position p below `positions` sets the fade of LED p + 1 to full.
    void LightRing(size_t positions);
    // Rotates the first `positions` ring places by one, towards higher places when Fx is set.
    void RotateRing(size_t positions);
    // Decays each column's fade (kept at its first LED) and colours its LEDs.
    void PaintRunningColumns(std::span<const Column> columns);
    void SetColumn(const Column& column, Rgb colour, uint8_t level);

    // The effect colour: a wheel colour with multi-colour, else the state's colour.
    Rgb EffectColour(unsigned wheelIndex) const;
    Rgb StateColour() const { return {m_light.red, m_light.green, m_light.blue}; }
    // Toggles the blink when its period has passed; true when it toggled.
    bool BlinkDue();
    std::mt19937& Random() { return m_random; }

    LedColourList& m_leds;
    Clock m_clock;
    PreviewLightState m_light;
    uint8_t m_phase = 0;
    uint8_t m_colourIndex = 0;
    uint8_t m_fixedIndex = 0;
    bool m_blinkOn = false;
    uint64_t m_lastBlink = 0;
    std::array<uint8_t, kMaxLeds> m_fades{};
    std::array<uint8_t, kRingSize> m_ring{};
    std::array<uint8_t, kMaxLeds> m_reactiveState{};   // 0 idle, 1 rising, 2 falling
    std::array<uint8_t, kMaxLeds> m_reactiveLevel{};
    std::array<uint8_t, kMaxLeds> m_reactiveColour{};

private:
    LightListPlayer* m_lightList = nullptr;
    std::mt19937 m_random;
    std::mutex m_mutex;
};
