#include "sim/SimKeyboardFirmware.h"

#include "hid/KeyboardFactoryKeys.h"

#include <utility>

namespace {

constexpr size_t kBlockStride = 25;
constexpr size_t kBlockSize = 26;
constexpr size_t kProfileCount = 8;

SimMemoryLayout KeyboardLayout()
{
    SimMemoryLayout layout{};
    layout[static_cast<size_t>(SimRegion::Info)] = 34;
    layout[static_cast<size_t>(SimRegion::Params)] = 256;
    layout[static_cast<size_t>(SimRegion::Keymap)] = 512;
    layout[static_cast<size_t>(SimRegion::LedMap)] = 512;
    layout[static_cast<size_t>(SimRegion::Macros)] = SimKeyboardFirmware::kMacroUnits * 128;
    layout[static_cast<size_t>(SimRegion::Power)] = 6;
    layout[static_cast<size_t>(SimRegion::KeyColors)] = SimKeyboardFirmware::kColorGroups * 512;
    layout[static_cast<size_t>(SimRegion::LightFrame)] = 512;
    return layout;
}

} // namespace

SimKeyboardFirmware::SimKeyboardFirmware(std::shared_ptr<SimMemory> memory, bool receiver)
    : SimFirmware(memory ? std::move(memory) : NewMemory(), receiver)
{
}

std::array<uint8_t, 3> SimKeyboardFirmware::FactoryKey(size_t j) { return KeyboardFactoryKeys::Of(j); }

std::shared_ptr<SimMemory> SimKeyboardFirmware::NewMemory()
{
    auto memory = std::make_shared<SimMemory>(KeyboardLayout());

    std::vector<uint8_t> info(34, 0);
    info[5] = kKeyCount;
    info[6] = kMacroUnits;
    memory->SetBytes(SimRegion::Info, info);

    // Blocks overlap by one byte (stride 25, size 26): byte 0 of a block is
    // the last byte of the one before, so only bytes 1..24 are filled.
    std::vector<uint8_t> params(memory->Size(SimRegion::Params), 0);
    for (size_t p = 0; p < kProfileCount; ++p) {
        uint8_t* block = &params[p * kBlockStride];
        block[1] = 1;    // effect code
        block[2] = 4;    // brightness
        block[3] = 2;    // 4 - speed
        block[5] = 1;    // multi-colour
        block[7] = 255;  // green
        block[22] = 3;   // polling rate
    }
    static_assert((kProfileCount - 1) * kBlockStride + kBlockSize <= 256);
    memory->SetBytes(SimRegion::Params, params);

    std::vector<uint8_t> keys(512, 0);
    std::vector<uint8_t> leds(512, kNoLed);
    for (size_t j = 0; j < kKeyCount; ++j) {
        const auto triple = FactoryKey(j);
        for (size_t b = 0; b < 3; ++b)
            keys[3 * j + b] = triple[b];
        if (!KeyboardFactoryKeys::IsNoKey(triple))
            leds[j] = static_cast<uint8_t>(j);
    }
    memory->SetBytes(SimRegion::Keymap, keys);
    memory->SetBytes(SimRegion::LedMap, leds);

    std::vector<uint8_t> power(6, 0);
    power[4] = kBatteryLevel;
    memory->SetBytes(SimRegion::Power, power);
    return memory;
}

void SimKeyboardFirmware::ResetToFactory() { Memory().Assign(*NewMemory()); }
