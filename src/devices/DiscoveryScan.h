#pragma once

#include "hid/DeviceSlot.h"

#include <cstddef>
#include <functional>
#include <mutex>

class HidBackend;

// The slot list and the two halves of one discovery pass: fill free slots
// with the interfaces present, empty the slots whose interface went away.
// The slot list is guarded; callbacks run without the guard held.
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
    HidBackend& m_backend;
    mutable std::mutex m_mutex;
    DeviceSlotList m_slots;
    const size_t m_count;
};
