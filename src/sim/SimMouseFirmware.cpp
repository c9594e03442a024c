#include "sim/SimMouseFirmware.h"

#include <array>

namespace {

constexpr size_t kProfileCount = 8;
constexpr size_t kProfileSize = 128;

// Factory function triples in hardware order.
constexpr std::array<std::array<uint8_t, 3>, SimMouseFirmware::kKeyCount> kFactoryKeys = {{
    {0x10, 0x01, 0x00}, {0x10, 0x02, 0x00}, {0x10, 0x04, 0x00}, {0x10, 0x08, 0x00}, {0x10, 0x10, 0x00},
    {0x13, 0x01, 0x00}, {0x13, 0x02, 0x00}, {0xA0, 0x02, 0x00}, {0xA0, 0x1B, 0x00}, {0x16, 0x90, 0x01},
    {0x14, 0x78, 0x02},
}};

constexpr std::array<std::array<uint8_t, 3>, 6> kStageColors = {{
    {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}, {0, 255, 255}, {255, 0, 255},
}};

SimMemoryLayout MouseLayout()
{
    SimMemoryLayout layout{};
    layout[static_cast<size_t>(SimRegion::Info)] = 34;
    layout[static_cast<size_t>(SimRegion::Params)] = kProfileCount * kProfileSize;
    layout[static_cast<size_t>(SimRegion::Keymap)] = 512;
    layout[static_cast<size_t>(SimRegion::Macros)] = SimMouseFirmware::kMacroUnits * 128;
    layout[static_cast<size_t>(SimRegion::Shoot)] = 2048;
    layout[static_cast<size_t>(SimRegion::Power)] = 6;
    return layout;
}

} // namespace

SimMouseFirmware::SimMouseFirmware(std::shared_ptr<SimMemory> memory, bool receiver)
    : SimFirmware(memory ? std::move(memory) : NewMemory(), receiver)
{
}

std::shared_ptr<SimMemory> SimMouseFirmware::NewMemory()
{
    auto memory = std::make_shared<SimMemory>(MouseLayout());

    std::vector<uint8_t> info(34, 0);
    info[5] = kKeyCount;
    info[6] = kMacroUnits;
    ReportFrame::WriteLe16(&info[9], kSensorCode);
    info[11] = kDpiStep;
    ReportFrame::WriteLe16(&info[14], kMinimumDpi);
    memory->SetBytes(SimRegion::Info, info);

    std::vector<uint8_t> params(kProfileCount * kProfileSize, 0);
    for (size_t p = 0; p < kProfileCount; ++p) {
        uint8_t* block = &params[p * kProfileSize];
        block[0] = static_cast<uint8_t>(p);  // offset 0 doubles as the active profile: 0
        block[1] = 0;                        // effect code
        block[2] = 4;                        // brightness
        block[3] = 2;                        // 4 - speed
        block[4] = 1;                        // direction
        block[5] = 1;                        // multi-colour
        block[6] = 255;
        block[9] = 0;   // fixed colour number
        block[11] = 3;  // polling-rate stage
        block[12] = 1;  // active DPI stage
        for (size_t i = 0; i < kStageColors.size(); ++i) {
            uint8_t* stage = block + 14 + 9 * i;
            const auto step = static_cast<uint16_t>(8 * (i + 1));
            stage[0] = 1;
            ReportFrame::WriteLe16(stage + 2, step);
            ReportFrame::WriteLe16(stage + 4, step);
            stage[6] = kStageColors[i][0];
            stage[7] = kStageColors[i][1];
            stage[8] = kStageColors[i][2];
        }
    }
    memory->SetBytes(SimRegion::Params, params);

    std::vector<uint8_t> keys(512, 0);
    for (size_t k = 0; k < kFactoryKeys.size(); ++k) {
        for (size_t b = 0; b < 3; ++b)
            keys[3 * k + b] = kFactoryKeys[k][b];
    }
    memory->SetBytes(SimRegion::Keymap, keys);

    std::vector<uint8_t> power(6, 0);
    power[4] = kBatteryLevel;
    memory->SetBytes(SimRegion::Power, power);
    return memory;
}

void SimMouseFirmware::ResetToFactory() { Memory().Assign(*NewMemory()); }
