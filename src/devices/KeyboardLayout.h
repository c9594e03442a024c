#pragma once

#include "hid/KeyboardFactoryKeys.h"

#include <array>
#include <cstddef>
#include <cstdint>

// The keyboard's 170 logical keys: the factory function triple that finds
// each one in a key table, and the picture's geometry the preview walks.
class KeyboardLayout {
public:
    static constexpr size_t kLogicalKeys = KeyboardFactoryKeys::kLogicalKeys;
    static constexpr uint8_t kNoKey = 170;  // an empty place of the geometry
    static constexpr size_t kColumns = 23;
    static constexpr size_t kRows = 6;
    static constexpr size_t kRings = 12;
    static constexpr size_t kRingPlaces = 12;
    static constexpr uint8_t kCentreKey = 51;

    using Triple = KeyboardFactoryKeys::Triple;
    using Column = std::array<uint8_t, kRows>;
    using Ring = std::array<uint8_t, kRingPlaces>;

    // The factory triple of logical key j; 20 00 00 (no key) for unused rows and j past the layout.
    static constexpr Triple FactoryKey(size_t j) { return KeyboardFactoryKeys::Of(j); }
    static constexpr bool IsNoKey(const Triple& triple) { return KeyboardFactoryKeys::IsNoKey(triple); }

    // Columns left to right, each top to bottom; kNoKey where the column has no key.
    static const std::array<Column, kColumns>& Columns();
    // Rings around the centre key, innermost first; kNoKey past a ring's keys.
    static const std::array<Ring, kRings>& Rings();
};
