#pragma once

#include "devices/SelectorTimerSchedule.h"

// Where a selector item's requests go: the owner decides what showing and
// hiding mean for the other items.
class SelectorItemHost {
public:
    virtual ~SelectorItemHost() = default;
    virtual void ItemShowRequested(int deviceIndex, bool shown) = 0;
    virtual void ItemPresence(int deviceIndex, bool present) = 0;
};

// A device's selector item without widgets: shown and selected state for the
// owner, and the item side the timer schedule drives.
class HeadlessSelectorItem : public SelectorItemState {
public:
    HeadlessSelectorItem(int deviceIndex, SelectorItemHost& host) : m_deviceIndex(deviceIndex), m_host(host) {}

    int DeviceIndex() const { return m_deviceIndex; }

    // SelectorItemState: the schedule's requests go through the host.
    bool Shown() const override { return m_shown; }
    void SetShown(bool shown) override { m_host.ItemShowRequested(m_deviceIndex, shown); }
    void SetPresent(bool present) override { m_host.ItemPresence(m_deviceIndex, present); }

    // The owner's record.
    void RecordShown(bool shown) { m_shown = shown; }
    bool Selected() const { return m_selected; }
    void RecordSelected(bool selected) { m_selected = selected; }

private:
    const int m_deviceIndex;
    SelectorItemHost& m_host;
    bool m_shown = false;  // created hidden
    bool m_selected = false;
};
