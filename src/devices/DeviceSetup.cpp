#include "devices/DeviceSetup.h"

#include "devices/DeviceOptionTable.h"
#include "devices/DevicePageTable.h"
#include "hid/SupportedDeviceTable.h"

std::optional<size_t> DeviceSetup::OptionFor(const DeviceSlot& slot)
{
    uint16_t vendorId = slot.vendorId;
    uint16_t productId = slot.productId;
    DeviceKind kind = slot.kind;
    if (kind == DeviceKind::MouseReceiver && slot.partner < SupportedDeviceTable::kRowCount) {
        const SupportedDeviceEntry& cable = SupportedDeviceTable::Row(slot.partner);
        vendorId = cable.vendorId;
        productId = cable.productId;
        kind = DeviceKind::Mouse;
    }
    if (kind == DeviceKind::KeyboardReceiver)
        kind = DeviceKind::Keyboard;
    return DeviceOptionTable::Find(vendorId, productId, kind, kRoleCommand);
}

CVarnokUSBDevice::Setup DeviceSetup::ForOption(size_t option, const DeviceSlot& slot)
{
    const DeviceOption& optionRow = DeviceOptionTable::Row(option);
    const DevicePageRow& pageRow = DevicePageTable::Row(option);
    CVarnokUSBDevice::Setup setup;
    setup.pageLayoutPath = pageRow.pageLayout;
    setup.lightFilePrefix = pageRow.lightFilePrefix;
    setup.modelFolder = optionRow.modelFolder;
    setup.keyCount = pageRow.keyCount;
    setup.ledCount = pageRow.ledCount;
    setup.deviceIndex = static_cast<int>(option);
    setup.powerIndicator = pageRow.powerIndicator;
    setup.slot = slot;
    return setup;
}

bool DeviceSetup::Apply(CVarnokUSBDevice& device, const DeviceSlot& slot)
{
    const auto option = OptionFor(slot);
    if (!option)
        return false;
    device.SetUp(ForOption(*option, slot));
    device.SetModelIndex(DeviceOptionTable::Row(*option).modelIndex);
    device.InitPage();
    return true;
}
