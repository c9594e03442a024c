#include "sim/SimHeadsetFirmware.h"

#include "sim/SimDescriptors.h"

#include <cstdint>

SimHeadsetFirmware::SimHeadsetFirmware(std::shared_ptr<SimMemory> memory, bool receiver)
    : SimMousePadFirmware(memory ? std::move(memory) : NewMemory(), receiver)
{
}

std::shared_ptr<SimMemory> SimHeadsetFirmware::NewMemory()
{
    SimMemoryLayout layout = PadLayout();
    layout[static_cast<size_t>(SimRegion::Lights)] = kBanks * kRegisters * kChannels;
    auto memory = std::make_shared<SimMemory>(layout);
    FillFactory(*memory);
    return memory;
}

void SimHeadsetFirmware::ResetToFactory() { Memory().Assign(*NewMemory()); }

size_t SimHeadsetFirmware::LightOffset(uint8_t bank, uint8_t reg)
{
    if ((bank != 0x22 && bank != 0x44) || reg < 0xAA || reg > 0xAF)
        return SIZE_MAX;
    const size_t bankIndex = bank == 0x44 ? 1 : 0;
    return (bankIndex * kRegisters + (reg - 0xAA)) * kChannels;
}

void SimHeadsetFirmware::TakeOtherReport(const uint8_t* report, size_t length)
{
    if (length != SimDescriptors::kHeadsetLightReportSize || report[0] != SimDescriptors::kHeadsetLightReportId) {
        ++m_ignoredReports;
        return;
    }
    const size_t offset = LightOffset(report[1], report[2]);
    if (offset == SIZE_MAX) {
        ++m_ignoredReports;
        return;
    }
    Memory().Write(SimRegion::Lights, offset, report + 4, kChannels);
    ++m_lightReports;
}
