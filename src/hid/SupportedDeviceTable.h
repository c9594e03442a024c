#pragma once

#include "hid/DeviceSlot.h"
#include "hid/SupportedDeviceEntry.h"

#include <array>
#include <cstddef>

// The fixed table of the interfaces the system supports. The order matters:
// slots are copied and searched in it.
class SupportedDeviceTable {
public:
    static constexpr size_t kRowCount = 11;

    static const std::array<SupportedDeviceEntry, kRowCount>& Rows();
    static const SupportedDeviceEntry& Row(size_t index) { return Rows()[index]; }

    // One free slot per row, in table order.
    static DeviceSlotList MakeSlots();
};
