#pragma once

#include "hid/DeviceSlot.h"
#include "hid/HidEnumerator.h"

#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <unordered_set>
#include <vector>

class HidBackend;

// The slot list and the two halves of one discovery pass: fill free slots
// with the interfaces present, empty the slots whose interface went away.
// The slot list is guarded; callbacks run without the guard held. The
// enumerator lives across passes, so unchanged nodes are not parsed again,
// and a path no free slot can take is passed over while the free slots stay
// the same.
class DiscoveryScan {
public:
    // Called with the slot index after each change; false stops the pass.
    using SlotChanged = std::function<bool(size_t slot)>;

    explicit DiscoveryScan(HidBackend& backend);

    bool AnyFree() const;
    // Lists the interfaces and lets every recognised one take its slot; false
    // when the listing failed.
    bool Fill(const SlotChanged& arrived);
    // Clears every connected slot whose node is gone.
    void Probe(const SlotChanged& removed);

    DeviceSlotList Slots() const;
    DeviceSlot Slot(size_t index) const;
    size_t Count() const { return m_count; }

private:
    // Which slots are free, one bit each (guarded by m_mutex).
    std::vector<bool> FreeSlotsLocked() const;

    HidBackend& m_backend;
    std::mutex m_listMutex;
    HidEnumerator m_list;  // guarded by m_listMutex
    mutable std::mutex m_mutex;
    DeviceSlotList m_slots;
    const size_t m_count;
    // Paths no free slot could take, and the free slots they were tried with (guarded by m_mutex).
    std::unordered_set<std::string> m_unmatched;
    std::vector<bool> m_unmatchedFree;
};
