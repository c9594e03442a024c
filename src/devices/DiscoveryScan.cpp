#include "devices/DiscoveryScan.h"

#include "hid/DeviceRecognizer.h"
#include "hid/HidBackend.h"
#include "hid/HidEnumerator.h"
#include "hid/HidPath.h"
#include "hid/SupportedDeviceTable.h"

#include <algorithm>
#include <string>

DiscoveryScan::DiscoveryScan(HidBackend& backend)
    : m_backend(backend), m_slots(SupportedDeviceTable::MakeSlots()), m_count(m_slots.size())
{
}

bool DiscoveryScan::AnyFree() const
{
    std::lock_guard lock(m_mutex);
    return std::any_of(m_slots.begin(), m_slots.end(), [](const DeviceSlot& s) { return s.IsFree(); });
}

bool DiscoveryScan::Fill(const SlotChanged& arrived)
{
    HidEnumerator list(m_backend);
    if (!list.Enumerate())
        return false;
    while (auto path = list.NextPath()) {
        std::optional<size_t> taken;
        {
            std::lock_guard lock(m_mutex);
            taken = DeviceRecognizer::Recognize(*path, m_slots, m_backend);
        }
        if (taken && arrived && !arrived(*taken))
            break;
    }
    list.ReleaseList();
    return true;
}

void DiscoveryScan::Probe(const SlotChanged& removed)
{
    for (size_t i = 0; i < m_count; ++i) {
        std::string path;
        {
            std::lock_guard lock(m_mutex);
            if (m_slots[i].connected == 0)
                continue;
            path = m_slots[i].path;
        }
        if (m_backend.QueryNode(std::string(HidPath::NodePart(path))))
            continue;
        {
            std::lock_guard lock(m_mutex);
            m_slots[i].Clear();
        }
        if (removed && !removed(i))
            return;
    }
}

DeviceSlotList DiscoveryScan::Slots() const
{
    std::lock_guard lock(m_mutex);
    return m_slots;
}

DeviceSlot DiscoveryScan::Slot(size_t index) const
{
    std::lock_guard lock(m_mutex);
    return index < m_slots.size() ? m_slots[index] : DeviceSlot{};
}
