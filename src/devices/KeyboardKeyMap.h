#pragma once

#include "devices/KeyboardLayout.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// Where each logical key of the keyboard sits in the key table the keyboard
// reported, and the LED number of that position. A logical key whose factory
// triple is not among the first `keys` table positions is absent (kAbsent for
// both). Logical keys without a factory key (20 00 00) are always absent, so
// that they never stand for an unused table position.
class KeyboardKeyMap {
public:
    static constexpr uint8_t kAbsent = 0xFF;

    KeyboardKeyMap() { Clear(); }

    void Clear();
    // keyTable: 3 bytes per position; ledTable: 1 byte per position.
    void Build(std::span<const uint8_t> keyTable, std::span<const uint8_t> ledTable, size_t keys);

    uint8_t Position(size_t logicalKey) const { return logicalKey < m_positions.size() ? m_positions[logicalKey] : kAbsent; }
    uint8_t Led(size_t logicalKey) const { return logicalKey < m_leds.size() ? m_leds[logicalKey] : kAbsent; }
    std::span<const uint8_t> Positions() const { return m_positions; }
    std::span<const uint8_t> Leds() const { return m_leds; }

private:
    std::array<uint8_t, KeyboardLayout::kLogicalKeys> m_positions{};
    std::array<uint8_t, KeyboardLayout::kLogicalKeys> m_leds{};
};
