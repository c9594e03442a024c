#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// How the page of one product model is set up; rows in the order of the
// device option table.
struct DevicePageRow {
    int32_t ledCount = 0;
    int32_t keyCount = 0;
    int32_t powerIndicator = 0;
    int32_t initialZone = -1;
    std::string pageLayout;
    std::string lightFilePrefix;
};

class DevicePageTable {
public:
    static constexpr size_t kRowCount = 4;

    static const std::array<DevicePageRow, kRowCount>& Rows();
    static const DevicePageRow& Row(size_t index) { return Rows()[index]; }
};
