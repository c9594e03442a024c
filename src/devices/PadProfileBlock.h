#pragma once

#include "devices/LightValueList.h"
#include "profiles/LightRecords.h"

#include <array>
#include <cstdint>
#include <mutex>

class CommandChannel;

// The stored profile block of the mouse pad and the headset: read from the
// product, partly refreshed from the profile's LightInfo and written back
// whole. Byte 1 is held as an effect index and byte 3 as the speed; the copy
// sent carries the effect code and 4 - speed. Bytes 4 and 9..20 are echoed.
class PadProfileBlock {
public:
    static constexpr size_t kSize = 21;
    static constexpr size_t kReadSize = 26;
    static constexpr uint16_t kReadStride = 25;
    static constexpr uint16_t kWriteStride = 64;
    using Bytes = std::array<uint8_t, kSize>;

    // Reads the active profile number and its block; -1 (block unchanged) when a read fails.
    int Read(CommandChannel& channel, const LightValueList& values);
    // Bytes 1, 2, 3, 5..8 from a LightInfo record.
    void Refresh(const LightInfoRecord& info);
    // The block as sent.
    Bytes Wire(const LightValueList& values) const;
    // Begin, the 21 bytes at profile x 64, end; 1. Nothing is sent while the channel is closed.
    int Write(CommandChannel& channel, const LightValueList& values, int profile) const;

    Bytes Stored() const;
    uint8_t EffectIndex() const;
    uint8_t Speed() const;

private:
    mutable std::mutex m_mutex;
    Bytes m_bytes{};
};
