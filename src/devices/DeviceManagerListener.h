#pragma once

#include "hid/DeviceSlot.h"

#include <array>
#include <cstddef>
#include <cstdint>

// What the device manager tells its owner, always on the owner's thread.
class DeviceManagerListener {
public:
    virtual ~DeviceManagerListener() = default;

    // The first discovery scan completed (once per run).
    virtual void InstanceNotification() {}
    virtual void DeviceArrived(size_t /*slotIndex*/, const DeviceSlot& /*slot*/) {}
    virtual void DeviceRemoved(size_t /*slotIndex*/, const DeviceSlot& /*slot*/) {}
    virtual void Reachability(int /*deviceIndex*/, bool /*reachable*/) {}
    virtual void ItemChanged(int /*deviceIndex*/, bool /*shown*/, bool /*selected*/) {}
    // "No_device_Link" shown or hidden; when shown both switches are on their first page.
    virtual void NoDeviceLink(bool /*shown*/) {}
    virtual void DeviceCode(int /*deviceIndex*/, uint16_t /*code*/) {}
    virtual void PowerRecord(int /*deviceIndex*/, const std::array<uint8_t, 6>& /*record*/, int /*batteryLevel*/) {}
};
