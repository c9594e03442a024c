#pragma once

#include "sim/SimFirmware.h"

// The gaming mouse, by cable or through its receiver. Key table in the mouse's
// own order (the back and forward buttons sit before each other in hardware
// order), 8 on-board profiles of 128 bytes, 4 KiB macro memory.
class SimMouseFirmware : public SimFirmware {
public:
    static constexpr uint8_t kKeyCount = 11;
    static constexpr uint8_t kMacroUnits = 32;  // x 128 bytes
    static constexpr uint16_t kSensorCode = 0x3325;
    static constexpr uint8_t kDpiStep = 50;
    static constexpr uint16_t kMinimumDpi = 100;
    static constexpr uint8_t kBatteryLevel = 85;

    SimMouseFirmware(std::shared_ptr<SimMemory> memory, bool receiver);

    static std::shared_ptr<SimMemory> NewMemory();
    void ResetToFactory() override;
};
