#include "devices/DiscoveryScan.h"

#include "hid/DeviceRecognizer.h"
#include "hid/HidBackend.h"
#include "hid/HidPath.h"
#include "hid/SupportedDeviceTable.h"

#include <algorithm>
#include <string>
#include <vector>

DiscoveryScan::DiscoveryScan(HidBackend& backend)
    : m_backend(backend), m_list(backend), m_slots(SupportedDeviceTable::MakeSlots()), m_count(m_slots.size())
{
}

bool DiscoveryScan::AnyFree() const
{
    std::lock_guard lock(m_mutex);
    return std::any_of(m_slots.begin(), m_slots.end(), [](const DeviceSlot& s) { return s.IsFree(); });
}

bool DiscoveryScan::Fill(const SlotChanged& arrived)
{
    std::vector<std::string> paths;
    {
        std::lock_guard lock(m_listMutex);
        if (!m_list.Enumerate())
            return false;
        paths = m_list.Paths();
        m_list.ReleaseList();
    }
    for (const std::string& path : paths) {
        std::optional<size_t> taken;
        {
            std::lock_guard lock(m_mutex);
            if (std::vector<bool> free = FreeSlotsLocked(); free != m_unmatchedFree) {
                m_unmatched.clear();
                m_unmatchedFree = std::move(free);
            }
            if (m_unmatched.contains(path))
                continue;
            if (!DeviceRecognizer::PreMatch(path, m_slots)) {
                m_unmatched.insert(path);
                continue;
            }
            taken = DeviceRecognizer::Recognize(path, m_slots, m_backend);
        }
        if (taken && arrived && !arrived(*taken))
            break;
    }
    std::lock_guard lock(m_mutex);
    if (m_unmatched.size() > paths.size())  // nodes went away
        std::erase_if(m_unmatched, [&paths](const std::string& path) {
            return std::find(paths.begin(), paths.end(), path) == paths.end();
        });
    return true;
}

std::vector<bool> DiscoveryScan::FreeSlotsLocked() const
{
    std::vector<bool> free(m_count);
    for (size_t i = 0; i < m_count; ++i)
        free[i] = m_slots[i].IsFree();
    return free;
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
