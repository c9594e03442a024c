#include "sim/SimKeyboardFirmware.h"

#include <utility>

namespace {

constexpr size_t kBlockStride = 25;
constexpr size_t kBlockSize = 26;
constexpr size_t kProfileCount = 8;

struct KeyUsage {
    uint8_t key;
    uint8_t usage;
};

constexpr KeyUsage kUsages[] = {
    {0, 0x29},   {1, 0x3A},   {2, 0x3B},   {3, 0x3C},   {4, 0x3D},   {5, 0x3E},   {6, 0x3F},   {7, 0x40},
    {8, 0x41},   {9, 0x42},   {10, 0x43},  {11, 0x44},  {12, 0x45},  {13, 0x46},  {14, 0x47},  {15, 0x48},
    {21, 0x35},  {22, 0x1E},  {23, 0x1F},  {24, 0x20},  {25, 0x21},  {26, 0x22},  {27, 0x23},  {28, 0x24},
    {29, 0x25},  {30, 0x26},  {31, 0x27},  {32, 0x2D},  {33, 0x2E},  {34, 0x2A},  {35, 0x49},  {36, 0x4A},
    {37, 0x4B},  {38, 0x53},  {39, 0x54},  {40, 0x55},  {41, 0x56},  {42, 0x2B},  {43, 0x14},  {44, 0x1A},
    {45, 0x08},  {46, 0x15},  {47, 0x17},  {48, 0x1C},  {49, 0x18},  {50, 0x0C},  {51, 0x12},  {52, 0x13},
    {53, 0x2F},  {54, 0x30},  {55, 0x31},  {56, 0x4C},  {57, 0x4D},  {58, 0x4E},  {59, 0x5F},  {60, 0x60},
    {61, 0x61},  {62, 0x32},  {63, 0x39},  {64, 0x04},  {65, 0x16},  {66, 0x07},  {67, 0x09},  {68, 0x0A},
    {69, 0x0B},  {70, 0x0D},  {71, 0x0E},  {72, 0x0F},  {73, 0x33},  {74, 0x34},  {75, 0x28},  {76, 0x5C},
    {77, 0x5D},  {78, 0x5E},  {79, 0x8A},  {80, 0x8B},  {81, 0x90},  {82, 0x91},  {83, 0x88},  {85, 0x1D},
    {86, 0x1B},  {87, 0x06},  {88, 0x19},  {89, 0x05},  {90, 0x11},  {91, 0x10},  {92, 0x36},  {93, 0x37},
    {94, 0x38},  {96, 0x52},  {97, 0x59},  {98, 0x5A},  {99, 0x5B},  {100, 0x87}, {101, 0x89}, {102, 0x64},
    {103, 0x85}, {108, 0x2C}, {111, 0x65}, {113, 0x50}, {114, 0x51}, {115, 0x4F}, {116, 0x62}, {117, 0x63},
    {118, 0x58}, {119, 0x57},
};

constexpr KeyUsage kModifiers[] = {
    {84, 0x02}, {95, 0x20}, {105, 0x01}, {106, 0x08}, {107, 0x04}, {109, 0x40}, {112, 0x10}, {125, 0x80},
};

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

bool IsNoKey(const std::array<uint8_t, 3>& triple) { return triple == std::array<uint8_t, 3>{0x20, 0, 0}; }

} // namespace

SimKeyboardFirmware::SimKeyboardFirmware(std::shared_ptr<SimMemory> memory, bool receiver)
    : SimFirmware(memory ? std::move(memory) : NewMemory(), receiver)
{
}

std::array<uint8_t, 3> SimKeyboardFirmware::FactoryKey(size_t j)
{
    for (const auto& u : kUsages) {
        if (u.key == j)
            return {0x20, 0x00, u.usage};
    }
    for (const auto& m : kModifiers) {
        if (m.key == j)
            return {0x20, m.usage, 0x00};
    }
    switch (j) {
    case 16: return {0xA0, 0x1B, 0x00};
    case 17: return {0xA0, 0x24, 0x00};
    case 110: return {0xA0, 0x01, 0x00};
    case 120: case 121: case 122: case 123: case 124:
        return {0xD0, 0xA2, static_cast<uint8_t>(j - 119)};
    default: return {0x20, 0x00, 0x00};  // no key
    }
}

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
        if (!IsNoKey(triple))
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
