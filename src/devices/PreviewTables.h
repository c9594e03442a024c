#pragma once

#include <array>
#include <cstdint>

// Constant tables and the phase rule shared by every lighting preview.
struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

namespace PreviewTables {

constexpr unsigned kWheelColours = 192;     // distinct colours of the wheel
constexpr unsigned kWheelEntries = 256;     // the last 64 repeat the first 64
constexpr unsigned kBreathingEntries = 128;
constexpr unsigned kWaveEntries = 96;

const std::array<Rgb, kWheelEntries>& ColourWheel();
const std::array<uint8_t, kBreathingEntries>& BreathingCurve();
const std::array<uint8_t, kWaveEntries>& WaveCurve();

constexpr std::array<Rgb, 4> kFixedColours{{{0, 255, 180}, {0, 255, 0}, {255, 255, 255}, {255, 0, 0}}};

// Level by brightness (0..4); brightness past the table is full level.
uint8_t Level(unsigned brightness);
// Blink period by speed, in units of 200 ms; a speed past the table blinks fastest.
uint8_t BlinkPeriod(unsigned speed);
// Ticks between two steps by speed: 0 steps on every pass.
uint8_t FineThreshold(unsigned speed);
uint8_t CoarseThreshold(unsigned speed);

// Moves a phase one place forward (direction non-zero) or backward within [0, modulus).
uint8_t StepPhase(unsigned direction, unsigned modulus, uint8_t phase);

// level × x / 256: a level table entry scaled by a curve value.
inline uint8_t ScaledLevel(unsigned brightness, unsigned x) { return static_cast<uint8_t>(Level(brightness) * x / 256); }

} // namespace PreviewTables
