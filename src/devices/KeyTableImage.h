#pragma once

#include "profiles/ProfileRecords.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The key table a device receives, built from the table it reported at
// connect and the profile's key list. Logical key k (key-list entry k) sits at
// table position positions[k]; keys marked absent are neither written nor
// counted. Macro keys get compact indices in first-use order, so that index i
// of UsedMacros() is entry i of the macro image; a macro index not below the
// number of macros gives the key its default function.
class KeyTableImage {
public:
    KeyTableImage(std::span<const uint8_t> positions, uint8_t absent) : m_positions(positions), m_absent(absent) {}

    // The macro indices the table refers to, in first-use order.
    std::vector<int> UsedMacros(const std::vector<KeyEntry>& keys, size_t macroCount) const;

    // A copy of the baseline with every present key's function; `keys` gets
    // the compact macro indices and restored defaults. Positions past the
    // baseline are skipped.
    std::vector<uint8_t> Build(std::span<const uint8_t> baseline, std::vector<KeyEntry>& keys,
                               size_t macroCount) const;

    // Every macro key of the list whose macro index is not below macroCount
    // gets its default function back; true when any did.
    static bool RestoreMissingMacros(std::vector<KeyEntry>& keys, size_t macroCount);

private:
    std::vector<int> Walk(std::vector<KeyEntry>& keys, size_t macroCount, std::vector<uint8_t>* table) const;

    std::span<const uint8_t> m_positions;
    uint8_t m_absent;
};
