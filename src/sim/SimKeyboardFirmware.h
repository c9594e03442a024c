#pragma once

#include "sim/SimFirmware.h"

#include <array>

// The gaming keyboard, by cable or through its receiver: 170 keys, an LED
// number per key-table position, 8 per-key colour groups of 512 bytes, a
// 512-byte light frame, 8 KiB macro memory.
class SimKeyboardFirmware : public SimFirmware {
public:
    static constexpr uint8_t kKeyCount = 170;
    static constexpr uint8_t kMacroUnits = 64;
    static constexpr size_t kColorGroups = 8;
    static constexpr uint8_t kNoLed = 0xFF;
    static constexpr uint8_t kBatteryLevel = 100;

    SimKeyboardFirmware(std::shared_ptr<SimMemory> memory, bool receiver);

    // The factory function triple of logical key j (also its key-table position).
    static std::array<uint8_t, 3> FactoryKey(size_t j);

    static std::shared_ptr<SimMemory> NewMemory();
    void ResetToFactory() override;
};
