#include "devices/KeyboardKeyMap.h"

#include <algorithm>

void KeyboardKeyMap::Clear()
{
    m_positions.fill(kAbsent);
    m_leds.fill(kAbsent);
}

void KeyboardKeyMap::Build(std::span<const uint8_t> keyTable, std::span<const uint8_t> ledTable, size_t keys)
{
    Clear();
    const size_t positions = std::min({keys, keyTable.size() / 3, static_cast<size_t>(kAbsent)});
    for (size_t j = 0; j < KeyboardLayout::kLogicalKeys; ++j) {
        const KeyboardLayout::Triple triple = KeyboardLayout::FactoryKey(j);
        if (KeyboardLayout::IsNoKey(triple))
            continue;
        for (size_t p = 0; p < positions; ++p) {
            if (keyTable[3 * p] == triple[0] && keyTable[3 * p + 1] == triple[1] && keyTable[3 * p + 2] == triple[2]) {
                m_positions[j] = static_cast<uint8_t>(p);
                m_leds[j] = p < ledTable.size() ? ledTable[p] : kAbsent;
                break;
            }
        }
    }
}
