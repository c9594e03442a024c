#pragma once

#include "sim/SimMousePadFirmware.h"

#include <cstddef>
#include <cstdint>

// The USB headset: the mouse pad's profile memory (answered when a command
// frame arrives, although its descriptor has no command collection) and a
// light register file written by 17-byte output reports:
// FF, bank (0x22 or 0x44), register (0xAA..0xAF), 0, seven channel values, zeros.
class SimHeadsetFirmware : public SimMousePadFirmware {
public:
    static constexpr size_t kChannels = 7;
    static constexpr size_t kRegisters = 6;  // 0xAA..0xAF
    static constexpr size_t kBanks = 2;      // 0x22, 0x44

    SimHeadsetFirmware(std::shared_ptr<SimMemory> memory, bool receiver);

    static std::shared_ptr<SimMemory> NewMemory();
    void ResetToFactory() override;

    // Offset of one register's seven channels in SimRegion::Lights; SIZE_MAX
    // for an unknown bank or register.
    static size_t LightOffset(uint8_t bank, uint8_t reg);

    uint32_t LightReports() const { return m_lightReports.load(); }
    uint32_t IgnoredReports() const { return m_ignoredReports.load(); }

protected:
    void TakeOtherReport(const uint8_t* report, size_t length) override;

private:
    std::atomic<uint32_t> m_lightReports{0};
    std::atomic<uint32_t> m_ignoredReports{0};
};
