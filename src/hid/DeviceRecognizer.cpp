#include "hid/DeviceRecognizer.h"

#include "hid/HidInterface.h"
#include "hid/HidPath.h"
#include "hid/SupportedDeviceTable.h"

namespace {

bool SameFour(const SupportedDeviceEntry& e, uint16_t vid, uint16_t pid, uint16_t mi, uint16_t col)
{
    return e.vendorId == vid && e.productId == pid && e.interfaceNumber == mi && e.collectionNumber == col;
}

bool SameSix(const SupportedDeviceEntry& e, const InterfaceIdentity& id)
{
    return SameFour(e, id.vendorId, id.productId, id.interfaceNumber, id.collectionNumber)
        && e.usagePage == id.usagePage && e.usage == id.usage;
}

} // namespace

bool DeviceRecognizer::PreMatch(std::string_view path, const DeviceSlotList& slots)
{
    const uint16_t vid = HidPath::VendorId(path);
    const uint16_t pid = HidPath::ProductId(path);
    const uint16_t mi = HidPath::InterfaceNumber(path);
    const uint16_t col = HidPath::CollectionNumber(path);
    bool inTable = false;
    for (const auto& row : SupportedDeviceTable::Rows())
        inTable = inTable || SameFour(row, vid, pid, mi, col);
    if (!inTable)
        return false;
    for (const auto& slot : slots)
        if (SameFour(slot, vid, pid, mi, col) && slot.IsFree())
            return true;
    return false;
}

std::optional<size_t> DeviceRecognizer::FullMatch(const InterfaceIdentity& identity)
{
    const auto& rows = SupportedDeviceTable::Rows();
    for (size_t i = 0; i < rows.size(); ++i)
        if (SameSix(rows[i], identity))
            return i;
    return std::nullopt;
}

std::optional<size_t> DeviceRecognizer::ChooseSlot(const InterfaceIdentity& identity, const DeviceSlotList& slots)
{
    for (size_t i = 0; i < slots.size(); ++i)
        if (SameSix(slots[i], identity) && slots[i].IsFree())
            return i;
    return std::nullopt;
}

std::optional<size_t> DeviceRecognizer::Recognize(const std::string& path, DeviceSlotList& slots,
                                                  HidBackend& backend)
{
    if (!PreMatch(path, slots))
        return std::nullopt;
    InterfaceIdentity identity;
    {
        HidInterface probe(backend);
        if (!probe.Open(path, true, false, true, false))
            return std::nullopt;
        identity.vendorId = probe.VendorId();
        identity.productId = probe.ProductId();
        identity.usagePage = probe.UsagePage();
        identity.usage = probe.Usage();
    }
    identity.interfaceNumber = HidPath::InterfaceNumber(path);
    identity.collectionNumber = HidPath::CollectionNumber(path);
    if (!FullMatch(identity))
        return std::nullopt;
    const auto slot = ChooseSlot(identity, slots);
    if (slot)
        slots[*slot].Take(path);
    return slot;
}
