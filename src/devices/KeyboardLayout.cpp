#include "devices/KeyboardLayout.h"

namespace {

constexpr uint8_t N = KeyboardLayout::kNoKey;

constexpr std::array<KeyboardLayout::Column, KeyboardLayout::kColumns> kColumnTable{{
    {N, 120, 121, 122, 123, 124}, {N, 21, 42, 63, 84, 105},   {0, 22, 43, 64, 102, 106},
    {1, 23, 44, 65, 85, 20},      {2, 24, 45, 66, 86, 107},   {3, 25, 46, 67, 87, 126},
    {4, 26, 47, 68, 88, 127},     {18, 27, 48, 69, 89, 108},  {5, 28, 49, 70, 90, 128},
    {6, 29, 50, 71, 91, 129},     {7, 30, 51, 72, 92, 109},   {8, 31, 52, 73, 93, 125},
    {9, 32, 53, 74, 94, 110},     {10, 33, 54, 62, 100, 111}, {11, 34, 55, 75, 19, 130},
    {12, 101, 103, 79, 95, 112},  {13, 35, 56, 82, 80, 113},  {14, 36, 57, 83, 96, 114},
    {15, 37, 58, 17, 81, 115},    {N, 38, 59, 76, 97, 116},   {N, 39, 60, 77, 98, 104},
    {N, 40, 61, 78, 99, 117},     {N, 41, 16, 119, 118, 131},
}};

constexpr std::array<KeyboardLayout::Ring, KeyboardLayout::kRings> kRingTable{{
    {51, N, N, N, N, N, N, N, N, N, N, N},
    {30, 50, 71, 72, 52, 31, N, N, N, N, N, N},
    {8, 29, 49, 70, 91, 92, 93, 73, 53, 32, N, N},
    {7, 28, 48, 69, 90, 109, 94, 74, 54, 33, 9, 62},
    {6, 27, 47, 68, 89, 110, 95, 75, 55, 34, 10, 11},
    {5, 26, 46, 67, 88, 108, 111, 112, 56, 35, 12, 125},
    {4, 25, 45, 66, 87, 113, 96, 57, 36, 13, N, N},
    {3, 24, 44, 65, 86, 114, 115, 58, 37, 15, 14, N},
    {2, 23, 43, 64, 85, 107, 97, 76, 59, 38, N, N},
    {1, 22, 42, 63, 84, 106, 116, 98, 77, 60, 39, 102},
    {0, 21, 105, 117, 99, 78, 61, 40, N, N, N, N},
    {118, 119, 41, N, N, N, N, N, N, N, N, N},
}};

} // namespace

const std::array<KeyboardLayout::Column, KeyboardLayout::kColumns>& KeyboardLayout::Columns() { return kColumnTable; }

const std::array<KeyboardLayout::Ring, KeyboardLayout::kRings>& KeyboardLayout::Rings() { return kRingTable; }
