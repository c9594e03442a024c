#pragma once

#include "hid/SupportedDeviceEntry.h"

#include <vector>

// A live copy of one supported-table row: connected and path are set while
// the interface is present.
struct DeviceSlot : SupportedDeviceEntry {
    bool IsFree() const { return connected == 0 && path.empty(); }

    void Take(const std::string& interfacePath)
    {
        connected = 1;
        path = interfacePath;
    }

    void Clear()
    {
        connected = 0;
        path.clear();
    }
};

using DeviceSlotList = std::vector<DeviceSlot>;
