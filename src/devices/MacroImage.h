#pragma once

#include <json/value.h>

#include <cstddef>
#include <cstdint>
#include <vector>

// The device image of a list of macros (or of the four recoil sequences):
// 0xAA 0x55, total length, entry count, ten reserved bytes, one offset per
// entry, then each entry as its event count, two reserved bytes and four bytes
// per event.
class MacroImage {
public:
    static constexpr size_t kHeaderSize = 16;

    // One entry per "Events" array (a non-array counts as no events).
    void AddEntry(const Json::Value& events);

    size_t EntryCount() const { return m_entries.size(); }
    // 16 + 6 n + 4 (sum of event counts).
    size_t TotalSize() const;
    // How far the image is over a capacity, in the device's count: 0 when it
    // fits, else (total - capacity) / 4 + 1.
    int Overflow(size_t capacity) const;
    std::vector<uint8_t> Build() const;

private:
    std::vector<Json::Value> m_entries;
};
