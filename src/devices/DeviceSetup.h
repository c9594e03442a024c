#pragma once

#include "devices/VarnokUSBDevice.h"

#include <cstddef>
#include <optional>

// The set-up of a device model from the option and page tables, as the
// discovery code gives it to a page it creates.
class DeviceSetup {
public:
    // The option row of a live command slot (a receiver uses its cable product's row).
    static std::optional<size_t> OptionFor(const DeviceSlot& slot);
    // Set-up values of an option row for a device attached to this slot.
    static CVarnokUSBDevice::Setup ForOption(size_t option, const DeviceSlot& slot);
    // Sets the device up (set-up values, model index, page binding); false
    // when the slot has no option row.
    static bool Apply(CVarnokUSBDevice& device, const DeviceSlot& slot);
};
