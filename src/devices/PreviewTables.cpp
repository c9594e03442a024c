#include "devices/PreviewTables.h"

#include <cstddef>

namespace PreviewTables {

namespace {

constexpr std::array<uint8_t, 32> kRise{1,   3,   5,   7,   10,  14,  18,  22,  26,  32,  38,
                                        44,  50,  57,  65,  73,  81,  89,  99,  109, 119, 129,
                                        140, 152, 164, 176, 188, 200, 213, 227, 241, 255};
constexpr std::array<uint8_t, 32> kFall{248, 234, 220, 206, 194, 182, 170, 158, 146, 134, 124,
                                        114, 104, 94,  85,  77,  69,  61,  53,  47,  41,  35,
                                        29,  24,  20,  16,  12,  8,   6,   4,   2,   0};
constexpr std::array<uint8_t, 64> kBreathingRise{
    0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  12,  14,  16,  18,  20,
    22,  24,  27,  30,  33,  36,  39,  42,  45,  49,  53,  57,  61,  65,  69,  73,
    77,  81,  85,  89,  94,  99,  104, 109, 114, 119, 124, 129, 134, 140, 146, 152,
    158, 164, 170, 176, 182, 188, 194, 200, 206, 213, 220, 227, 234, 241, 248, 255};

constexpr std::array<uint8_t, 5> kLevels{0, 80, 135, 195, 255};
constexpr std::array<uint8_t, 5> kBlinkPeriods{28, 23, 18, 13, 7};
constexpr std::array<uint8_t, 15> kFine{10, 8, 5, 3, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr std::array<uint8_t, 15> kCoarse{28, 23, 18, 13, 7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

constexpr std::array<Rgb, kWheelEntries> MakeWheel()
{
    std::array<Rgb, kWheelEntries> wheel{};
    for (unsigned k = 0; k < 32; ++k) {
        const uint8_t u = kRise[k];
        const uint8_t d = kFall[k];
        wheel[k] = {255, u, 0};
        wheel[32 + k] = {d, 255, 0};
        wheel[64 + k] = {0, 255, u};
        wheel[96 + k] = {0, d, 255};
        wheel[128 + k] = {u, 0, 255};
        wheel[160 + k] = {255, 0, d};
    }
    for (unsigned i = kWheelColours; i < kWheelEntries; ++i)
        wheel[i] = wheel[i - kWheelColours];
    return wheel;
}

constexpr std::array<uint8_t, kBreathingEntries> MakeBreathing()
{
    std::array<uint8_t, kBreathingEntries> curve{};
    for (unsigned k = 0; k < 64; ++k) {
        curve[k] = kBreathingRise[k];
        curve[64 + k] = kBreathingRise[63 - k];
    }
    return curve;
}

constexpr std::array<uint8_t, kWaveEntries> MakeWave()
{
    std::array<uint8_t, kWaveEntries> curve{};
    for (unsigned k = 0; k < 48; ++k) {
        curve[k] = kBreathingRise[16 + k];
        curve[95 - k] = kBreathingRise[16 + k];
    }
    return curve;
}

constexpr auto kWheel = MakeWheel();
constexpr auto kBreathing = MakeBreathing();
constexpr auto kWave = MakeWave();

template <std::size_t N>
uint8_t Clamped(const std::array<uint8_t, N>& table, unsigned index)
{
    return table[index < N ? index : N - 1];
}

} // namespace

const std::array<Rgb, kWheelEntries>& ColourWheel() { return kWheel; }
const std::array<uint8_t, kBreathingEntries>& BreathingCurve() { return kBreathing; }
const std::array<uint8_t, kWaveEntries>& WaveCurve() { return kWave; }

uint8_t Level(unsigned brightness) { return Clamped(kLevels, brightness); }
uint8_t BlinkPeriod(unsigned speed) { return Clamped(kBlinkPeriods, speed); }
uint8_t FineThreshold(unsigned speed) { return speed < kFine.size() ? kFine[speed] : 0; }
uint8_t CoarseThreshold(unsigned speed) { return speed < kCoarse.size() ? kCoarse[speed] : 0; }

uint8_t StepPhase(unsigned direction, unsigned modulus, uint8_t phase)
{
    if (modulus == 0)
        return 0;
    if (direction != 0)
        return static_cast<uint8_t>(phase + 1u >= modulus ? 0 : phase + 1u);
    return static_cast<uint8_t>(phase == 0 || phase >= modulus ? modulus - 1 : phase - 1u);
}

} // namespace PreviewTables
