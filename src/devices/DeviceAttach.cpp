#include "devices/DeviceAttach.h"

#include "hid/CommandChannel.h"
#include "hid/DeviceRecognizer.h"
#include "hid/HidEnumerator.h"
#include "hid/HidPath.h"
#include "hid/SupportedDeviceTable.h"

#include <mutex>

DeviceSlotList DeviceAttach::Scan(HidBackend& backend)
{
    DeviceSlotList slots = SupportedDeviceTable::MakeSlots();
    HidEnumerator list(backend);
    list.Enumerate();
    while (auto path = list.NextPath())
        DeviceRecognizer::Recognize(*path, slots, backend);
    list.ReleaseList();
    return slots;
}

int DeviceAttach::ModeFor(DeviceKind slotKind)
{
    switch (slotKind) {
    case DeviceKind::MouseReceiver:
    case DeviceKind::KeyboardReceiver: return kChannelWireless;
    case DeviceKind::Mouse:
    case DeviceKind::Keyboard: return kChannelCable;
    default: return 0;
    }
}

bool DeviceAttach::Attach(CommandChannel& channel, const DeviceSlot& slot)
{
    const int mode = ModeFor(slot.kind);
    std::lock_guard lock(channel.ExchangeLock());
    HidInterface& link = mode == kChannelWireless ? channel.Receiver() : channel.Cable();
    if (!link.Open(slot.path, true, true, true, false))
        return false;
    if (mode != 0)
        channel.SetMode(mode);
    channel.SetOpen(true);
    return true;
}

void DeviceAttach::Detach(CommandChannel& channel)
{
    std::lock_guard lock(channel.ExchangeLock());
    channel.SetOpen(false);
    channel.Cable().Close();
    channel.Receiver().Close();
}

std::optional<DeviceSlot> DeviceAttach::FindCommandSlot(const DeviceSlotList& slots, size_t tableRow,
                                                        const std::string& simName)
{
    if (tableRow >= SupportedDeviceTable::kRowCount || tableRow >= slots.size())
        return std::nullopt;
    const SupportedDeviceEntry& row = SupportedDeviceTable::Row(tableRow);
    for (const DeviceSlot& slot : slots) {
        if (!slot.connected || slot.vendorId != row.vendorId || slot.productId != row.productId
            || slot.interfaceNumber != row.interfaceNumber || slot.collectionNumber != row.collectionNumber)
            continue;
        const std::string node(HidPath::NodePart(slot.path));
        DeviceSlot found = slot;
        found.kind = row.kind;
        found.partner = row.partner;
        if (node.starts_with("sim:")) {
            if (node == "sim:" + simName)
                return found;
        } else if (&slot == &slots[tableRow]) {
            return found;
        }
    }
    return std::nullopt;
}
