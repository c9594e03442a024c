#pragma once

#include "devices/LightValueList.h"
#include "profiles/LightRecords.h"
#include "profiles/ProfileRecords.h"

#include <array>
#include <cstddef>
#include <cstdint>

// The keyboard's 26-byte profile block: lighting and the keyboard system
// flags. Block p starts at p × 25, so its byte 0 is the last byte of block
// p − 1; block 0's byte 0 is the active profile number.
class KeyboardProfileBlock {
public:
    static constexpr size_t kSize = 26;
    static constexpr size_t kStride = 25;
    // Effect code of the host-streamed effects: the keyboard keeps its own.
    static constexpr uint8_t kHostEffect = 0xFE;
    using Bytes = std::array<uint8_t, kSize>;

    // The block written from the profile with the model's effect codes;
    // codes 29 and 30 (the host-streamed effects) are written as 0xFE.
    static Bytes Build(const LightInfoRecord& light, const KeyboardSystemRecord& system,
                       const LightValueList& effectCodes);

    // Takes a block read back from profile `profile`: byte 0 becomes the
    // profile, byte 1 the effect index (0xFE keeps light's current one, a code
    // not in the list stands for itself), byte 16 is cleared; the lighting and
    // the three flags are copied into light and system.
    static void ReadBack(Bytes& block, uint8_t profile, const LightValueList& effectCodes, LightInfoRecord& light,
                         KeyboardSystemRecord& system);

    // A polling-rate option index as the block carries it: 0..3, else 0.
    static uint8_t PollingRate(int index) { return index >= 0 && index <= 3 ? static_cast<uint8_t>(index) : 0; }
};
