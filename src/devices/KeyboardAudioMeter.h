#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// Turns deliveries of 25 audio band values into the beats of the keyboard's
// audio-driven effect: each delivery adds 25 − a × 25 / 600 to a running
// total, a being the mean of 600 − v × 600 / 2000 over the bands (500 for a
// band past 600); the total reaching 71 is a beat and starts again at 0.
class KeyboardAudioMeter {
public:
    static constexpr size_t kBands = 25;
    static constexpr int kBeatTotal = 71;
    static constexpr int kMaxLevel = 500;

    // True when this delivery completes a beat. Fewer than 25 values count as no delivery.
    bool Feed(std::span<const int32_t> bands, int level);

    int Total() const { return m_total; }
    int Level() const { return m_level; }
    void Reset() { m_total = 0; }

private:
    int m_total = 0;
    int m_level = 0;
};
