#pragma once

#include <array>
#include <cstdint>
#include <string>

// Key entry: bytes 0-1 key index (little-endian), 2-4 the assigned function
// triple (type, parameter 1, parameter 2), 5 spare; bytes 6-11 the same for
// the key's factory function.
using KeyEntry = std::array<uint8_t, 12>;

inline constexpr uint8_t kMacroFunction = 0x70;
inline constexpr uint8_t kMacroCycleFunction = 0x71;

// type x 65536 + parameter 1 x 256 + parameter 2, as profiles store it.
inline uint32_t PackedAssignment(const KeyEntry& key) { return key[2] * 65536u + key[3] * 256u + key[4]; }
inline uint32_t PackedDefaultAssignment(const KeyEntry& key) { return key[8] * 65536u + key[9] * 256u + key[10]; }
inline bool IsMacroKey(const KeyEntry& key) { return key[2] == kMacroFunction || key[2] == kMacroCycleFunction; }

struct DpiStage {
    uint8_t active = 0; // stage enabled
    uint8_t xy = 0;     // separate X and Y values
    uint16_t dpiX = 0;  // DPI step index
    uint16_t dpiY = 0;
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const DpiStage&) const = default;
};

struct MouseSystemRecord {
    uint16_t doubleClickTime = 0;
    uint16_t mouseSpeed = 0;
    uint16_t pointerPrecision = 0;
    uint16_t scrollPage = 0;
    uint16_t wheelScrollLines = 0;
    uint16_t reportStage = 0; // "ReportStages"."StageActive"
    bool operator==(const MouseSystemRecord&) const = default;
};

struct KeyboardSystemRecord {
    uint16_t repeat = 0;
    uint16_t repeatDelay = 0;
    uint16_t key6Flag = 0;
    uint16_t pollingRate = 0;
    uint16_t wFlag = 0;
    uint16_t winFlag = 0;
    bool operator==(const KeyboardSystemRecord&) const = default;
};

struct HeadsetSystemRecord {
    int32_t magicEnable = 0;
    int32_t magicType = 0;
    int32_t eqType = 0;
    int32_t customEqSelectIndex = 0;
    int32_t micInSelect = 0;
    int32_t micInValue = 0;
    int32_t micMonitorSelect = 0;
    int32_t micMonitorValue = 0;
    bool operator==(const HeadsetSystemRecord&) const = default;
};

struct CorrectEntry {
    uint8_t pixThresh = 0;
    uint8_t minSquare = 0;
    uint8_t selected = 0;
    std::wstring name;
    bool operator==(const CorrectEntry&) const = default;
};
