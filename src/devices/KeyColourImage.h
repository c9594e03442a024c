#pragma once

#include "devices/LedColourList.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// The keyboard's 512-byte colour tables (the custom colour groups and the
// light frames): entry n, 3 bytes, is the colour of the key whose LED number
// is n. Keys without an LED number, or one past the table, are left out.
class KeyColourImage {
public:
    static constexpr size_t kSize = 512;
    using Bytes = std::array<uint8_t, kSize>;

    // leds is indexed by logical key; ledNumbers gives each logical key's LED
    // number. With `scaled` every channel is multiplied by the level / 256.
    static Bytes Build(const LedColourList& leds, std::span<const uint8_t> ledNumbers, bool scaled);
};
