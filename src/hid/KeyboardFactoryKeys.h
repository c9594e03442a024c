#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The function triple the keyboard holds from the factory for each of its 170
// logical keys (logical key j sits at key-table position j): a key usage
// (20 00 uu), a modifier bit (20 mm 00) or a special function; 20 00 00
// stands for no key.
class KeyboardFactoryKeys {
public:
    static constexpr size_t kLogicalKeys = 170;

    using Triple = std::array<uint8_t, 3>;
    static constexpr Triple kNoKey{0x20, 0x00, 0x00};

    // kNoKey for unused rows and for j past the layout.
    static constexpr Triple Of(size_t j)
    {
        for (const auto& u : kUsages) {
            if (u.key == j)
                return {0x20, 0x00, u.code};
        }
        for (const auto& m : kModifiers) {
            if (m.key == j)
                return {0x20, m.code, 0x00};
        }
        switch (j) {
        case 16: return {0xA0, 0x1B, 0x00};
        case 17: return {0xA0, 0x24, 0x00};
        case 110: return {0xA0, 0x01, 0x00};
        case 120: case 121: case 122: case 123: case 124:
            return {0xD0, 0xA2, static_cast<uint8_t>(j - 119)};
        default: return kNoKey;
        }
    }
    static constexpr bool IsNoKey(const Triple& triple) { return triple == kNoKey; }

private:
    struct KeyCode {
        uint8_t key;
        uint8_t code;
    };

    static constexpr KeyCode kUsages[] = {
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

    static constexpr KeyCode kModifiers[] = {
        {84, 0x02}, {95, 0x20}, {105, 0x01}, {106, 0x08}, {107, 0x04}, {109, 0x40}, {112, 0x10}, {125, 0x80},
    };
};
