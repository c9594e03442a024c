#pragma once

#include "hid/DeviceKind.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// One product model the device selector can show.
struct DeviceOption {
    std::string selectorLayout;
    std::string tabHeader;
    std::string powerSwitch;
    std::string modelFolder;
    int32_t modelIndex = 0;
    int32_t vendorId = 0;
    int32_t productId = 0;
    int32_t kind = 0;
    int32_t role = 0;
};

// The option table: one row per product model; a row's index is the device
// index of the model's page everywhere.
class DeviceOptionTable {
public:
    static constexpr size_t kRowCount = 4;

    static const std::array<DeviceOption, kRowCount>& Rows();
    static const DeviceOption& Row(size_t index) { return Rows()[index]; }
    // The row with these four values.
    static std::optional<size_t> Find(uint16_t vendorId, uint16_t productId, DeviceKind kind, uint16_t role);
};
