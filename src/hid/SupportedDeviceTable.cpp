#include "hid/SupportedDeviceTable.h"

namespace {

SupportedDeviceEntry MakeRow(uint16_t vid, uint16_t pid, uint16_t mi, uint16_t col, DeviceKind kind, uint16_t role,
                             uint16_t page, uint16_t usage, uint16_t paired, uint16_t partner)
{
    SupportedDeviceEntry e;
    e.vendorId = vid;
    e.productId = pid;
    e.interfaceNumber = mi;
    e.collectionNumber = col;
    e.kind = kind;
    e.role = role;
    e.usagePage = page;
    e.usage = usage;
    e.paired = paired;
    e.partner = partner;
    return e;
}

constexpr uint16_t kVendor = 0x320F;
constexpr uint16_t kVendorPage = 0xFF1C;
constexpr uint16_t kVendorUsage = 0x92;
constexpr uint16_t kConsumerPage = 0x000C;
constexpr uint16_t kConsumerUsage = 0x01;

} // namespace

const std::array<SupportedDeviceEntry, SupportedDeviceTable::kRowCount>& SupportedDeviceTable::Rows()
{
    using K = DeviceKind;
    static const std::array<SupportedDeviceEntry, kRowCount> rows = {
        MakeRow(kVendor, 0x0000, 1, 4, K::Keyboard, kRoleCommand, kVendorPage, kVendorUsage, 1, 2),
        MakeRow(kVendor, 0x0000, 1, 3, K::Keyboard, kRoleEvent, kConsumerPage, kConsumerUsage, 1, 3),
        MakeRow(kVendor, 0x0000, 1, 4, K::KeyboardReceiver, kRoleCommand, kVendorPage, kVendorUsage, 1, 0),
        MakeRow(kVendor, 0x0000, 1, 3, K::KeyboardReceiver, kRoleEvent, kConsumerPage, kConsumerUsage, 1, 1),
        MakeRow(kVendor, 0x221C, 1, 4, K::Mouse, kRoleCommand, kVendorPage, kVendorUsage, 1, 6),
        MakeRow(kVendor, 0x221C, 1, 3, K::Mouse, kRoleEvent, kConsumerPage, kConsumerUsage, 1, 7),
        MakeRow(kVendor, 0x222F, 1, 4, K::MouseReceiver, kRoleCommand, kVendorPage, kVendorUsage, 1, 4),
        MakeRow(kVendor, 0x222F, 1, 3, K::MouseReceiver, kRoleEvent, kConsumerPage, kConsumerUsage, 1, 5),
        MakeRow(kVendor, 0x1004, 1, 4, K::MousePad, kRoleCommand, kVendorPage, kVendorUsage, 0, 0),
        MakeRow(kVendor, 0x1004, 1, 3, K::MousePad, kRoleEvent, kConsumerPage, kConsumerUsage, 0, 0),
        MakeRow(0x0C76, 0x1630, 3, 0, K::Headset, kRoleCommand, kConsumerPage, kConsumerUsage, 0, 0),
    };
    return rows;
}

DeviceSlotList SupportedDeviceTable::MakeSlots()
{
    DeviceSlotList slots;
    slots.reserve(kRowCount);
    for (const auto& row : Rows())
        slots.push_back(DeviceSlot{row});
    return slots;
}
