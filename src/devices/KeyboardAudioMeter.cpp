#include "devices/KeyboardAudioMeter.h"

#include <algorithm>

bool KeyboardAudioMeter::Feed(std::span<const int32_t> bands, int level)
{
    if (bands.size() < kBands)
        return false;
    m_level = std::clamp(level, 0, kMaxLevel);
    int64_t sum = 0;
    for (size_t i = 0; i < kBands; ++i) {
        const int64_t x = std::max<int64_t>(bands[i], 0) * 600 / 2000;  // a negative value is silence
        sum += x > 600 ? 500 : 600 - x;
    }
    const int64_t a = sum / static_cast<int64_t>(kBands);
    m_total += static_cast<int>(25 - a * 25 / 600);
    if (m_total < kBeatTotal)
        return false;
    m_total = 0;
    return true;
}
