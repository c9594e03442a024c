#include "devices/KeyTableImage.h"

#include <algorithm>

std::vector<int> KeyTableImage::UsedMacros(const std::vector<KeyEntry>& keys, size_t macroCount) const
{
    std::vector<KeyEntry> copy = keys;
    return Walk(copy, macroCount, nullptr);
}

std::vector<uint8_t> KeyTableImage::Build(std::span<const uint8_t> baseline, std::vector<KeyEntry>& keys,
                                          size_t macroCount) const
{
    std::vector<uint8_t> table(baseline.begin(), baseline.end());
    Walk(keys, macroCount, &table);
    return table;
}

std::vector<int> KeyTableImage::Walk(std::vector<KeyEntry>& keys, size_t macroCount, std::vector<uint8_t>* table) const
{
    std::vector<int> used;
    const size_t count = std::min(m_positions.size(), keys.size());
    for (size_t k = 0; k < count; ++k) {
        const uint8_t position = m_positions[k];
        if (position == m_absent)
            continue;
        KeyEntry& e = keys[k];
        if (IsMacroKey(e)) {
            const int macro = e[3];
            if (static_cast<size_t>(macro) < macroCount) {
                auto it = std::find(used.begin(), used.end(), macro);
                if (it == used.end())
                    it = used.insert(used.end(), macro);
                e[3] = static_cast<uint8_t>(it - used.begin());
            } else {
                std::copy(e.begin() + 6, e.end(), e.begin());
            }
        }
        const size_t at = static_cast<size_t>(position) * 3;
        if (table && at + 3 <= table->size())
            std::copy(e.begin() + 2, e.begin() + 5, table->begin() + static_cast<std::ptrdiff_t>(at));
    }
    return used;
}

bool KeyTableImage::RestoreMissingMacros(std::vector<KeyEntry>& keys, size_t macroCount)
{
    bool changed = false;
    for (KeyEntry& e : keys) {
        if (IsMacroKey(e) && e[3] >= macroCount) {
            std::copy(e.begin() + 6, e.end(), e.begin());
            changed = true;
        }
    }
    return changed;
}
