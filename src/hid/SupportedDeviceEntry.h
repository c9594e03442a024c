#pragma once

#include "hid/DeviceKind.h"

#include <cstdint>
#include <string>

// The role of an interface within its product.
constexpr uint16_t kRoleCommand = 0x00;
constexpr uint16_t kRoleEvent = 0xFF;

// One supported HID interface: its identity and, in live copies, whether it
// is present and under which path.
struct SupportedDeviceEntry {
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    uint16_t interfaceNumber = 0;
    uint16_t collectionNumber = 0;
    DeviceKind kind = DeviceKind::None;
    uint16_t role = kRoleCommand;
    uint16_t connected = 0;
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    uint16_t paired = 0;
    uint16_t partner = 0;  // row of the partner on the other link, when paired
    std::string path;
};

// Equal identity: everything but the live path and connected state.
inline bool SameIdentity(const SupportedDeviceEntry& a, const SupportedDeviceEntry& b)
{
    return a.vendorId == b.vendorId && a.productId == b.productId && a.interfaceNumber == b.interfaceNumber
        && a.collectionNumber == b.collectionNumber && a.kind == b.kind && a.role == b.role
        && a.usagePage == b.usagePage && a.usage == b.usage;
}
