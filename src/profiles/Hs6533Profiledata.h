#pragma once

#include "profiles/BasicProfiledata.h"

#include <string>

// Headset sections: "SystemSetStages", "EQHzValueInfo", "CustomEQNameInfo",
// "CustomEQHzValueInfo".
class CHs6533Profiledata : public CBasicProfiledata {
public:
    static constexpr int kBandCount = 10;
    static constexpr int32_t kCustomEqType = 13;

    HeadsetSystemRecord ReadHeadsetSystem();
    void WriteHeadsetSystem(const HeadsetSystemRecord& record);

    // Ten bands of the preset slot of an equaliser type (0 and unknown types
    // use slot 1; type 13 has none). Missing bands are written as zeros.
    std::vector<int32_t> ReadEqBands(int32_t eqType);
    void WriteEqBands(int32_t eqType, const std::vector<int32_t>& bands);

    std::vector<std::wstring> ReadCustomEqNames();
    void WriteCustomEqNames(const std::vector<std::wstring>& names);
    std::vector<int32_t> ReadCustomEqBands(int32_t index);
    void WriteCustomEqBands(int32_t index, const std::vector<int32_t>& bands);

    // The slot of "EQHzValueInfo" a type uses, -1 for the custom type.
    static int32_t EqSlot(int32_t eqType);

private:
    std::vector<int32_t> ReadBands(const char* key, int32_t slot);
    void WriteBands(const char* key, int32_t slot, const std::vector<int32_t>& bands);

    HeadsetSystemRecord m_system;
};
