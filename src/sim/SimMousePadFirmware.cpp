#include "sim/SimMousePadFirmware.h"

SimMousePadFirmware::SimMousePadFirmware(std::shared_ptr<SimMemory> memory, bool receiver)
    : SimFirmware(memory ? std::move(memory) : NewMemory(), receiver)
{
}

SimMemoryLayout SimMousePadFirmware::PadLayout()
{
    SimMemoryLayout layout{};
    layout[static_cast<size_t>(SimRegion::Info)] = 34;
    layout[static_cast<size_t>(SimRegion::Params)] = 512;  // 8 profiles of 64 bytes
    layout[static_cast<size_t>(SimRegion::Power)] = 6;
    return layout;
}

void SimMousePadFirmware::FillFactory(SimMemory& memory)
{
    std::vector<uint8_t> params(memory.Size(SimRegion::Params), 0);
    uint8_t* block = params.data();
    block[1] = 0;  // effect code
    block[2] = 4;  // brightness
    block[3] = 2;  // 4 - speed
    block[4] = 0x11;
    block[5] = 1;  // multi-colour
    block[6] = 0;
    block[7] = 0;
    block[8] = 255;
    for (uint8_t i = 9; i <= 20; ++i)
        block[i] = static_cast<uint8_t>(0x30 + i);  // the pad's own settings
    memory.SetBytes(SimRegion::Params, params);

    memory.SetBytes(SimRegion::Info, std::vector<uint8_t>(34, 0));
    std::vector<uint8_t> power(6, 0);
    power[4] = 100;
    memory.SetBytes(SimRegion::Power, power);
}

std::shared_ptr<SimMemory> SimMousePadFirmware::NewMemory()
{
    auto memory = std::make_shared<SimMemory>(PadLayout());
    FillFactory(*memory);
    return memory;
}

void SimMousePadFirmware::ResetToFactory() { Memory().Assign(*NewMemory()); }
