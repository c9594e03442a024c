#pragma once

#include "devices/DeviceModelFactory.h"
#include "devices/DiscoveryScan.h"
#include "devices/HeadlessSelectorItem.h"
#include "devices/StoppableThread.h"
#include "hid/DeviceSlot.h"

#include <QObject>

#include <array>
#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>

class DevicePage;
class DeviceManagerListener;
class HidBackend;

// The slot list, the device pages and their selector items, the discovery
// thread, arrival and removal, the link switch of a paired mouse or keyboard
// and reachability. Everything but the discovery thread runs on the thread
// that constructed the manager (the owner), which must run a Qt event loop
// while discovery runs: arrivals and removals are delivered there and the
// discovery thread waits for each.
class CDeviceManager : public SelectorItemHost {
public:
    static constexpr int WM_DEVICE_ARRIVED = 3090;
    static constexpr int WM_DEVICE_REMOVED = 3091;
    static constexpr int WM_DEVICE_REACHABLE = 3331;
    static constexpr std::chrono::milliseconds kScanInterval{100};
    static constexpr int kLinkStatusTries = 26;
    static constexpr std::chrono::milliseconds kLinkStatusPause{50};

    CDeviceManager(HidBackend& backend, DeviceModelFactory factory, DeviceManagerListener* listener = nullptr);
    ~CDeviceManager() override;
    CDeviceManager(const CDeviceManager&) = delete;
    CDeviceManager& operator=(const CDeviceManager&) = delete;

    // The mouse and keyboard pages, made from their cable rows.
    void PreCreatePages();

    void StartDiscovery();
    // Ends the discovery thread; bounded even while it waits for a delivery.
    void StopDiscovery();
    bool DiscoveryRunning() const;

    // One discovery pass on the owner's thread, changes handled at once.
    // False when the listing failed.
    bool ScanNow();

    // The message handlers (owner's thread). Indices out of range are ignored.
    void OnArrival(size_t slotIndex);
    void OnRemoval(size_t slotIndex);
    void OnReachable(int deviceIndex, bool reachable);

    DeviceSlotList Slots() const { return m_scan.Slots(); }
    // The page of an option-table row, or nullptr before it was made.
    DevicePage* Page(int deviceIndex);
    bool NoDeviceLinkShown() const { return m_noDeviceLink; }
    // The first shown and selected item's device index, or -1.
    int CurrentDevice() const;

    // SelectorItemHost: requests of the items' timer schedules.
    void ItemShowRequested(int deviceIndex, bool shown) override;
    void ItemPresence(int deviceIndex, bool present) override;

    // The identity of the page an interface belongs to: its command row, and
    // for a receiver row the cable row it pairs with.
    static const SupportedDeviceEntry& PageIdentity(size_t slotIndex);
    // The option-table row of the page made for a table row (nullopt: none).
    static std::optional<size_t> OptionRowFor(size_t tableRow);

private:
    void DiscoveryLoop(StoppableThread& thread);
    // Runs fn on the owner's thread and waits for it, or for the stop.
    bool Deliver(StoppableThread& thread, std::function<void()> fn);
    void FirstScanDone();

    DevicePage* CreatePage(size_t tableRow);
    DevicePage* FindPage(const SupportedDeviceEntry& identity);
    void Attach(size_t slotIndex);
    void AttachCommand(size_t slotIndex, const DeviceSlot& slot);
    void DetachCommand(size_t slotIndex);
    bool PartnerConnected(size_t slotIndex) const;
    void LinkSwitch(size_t cableIndex);

    void ShowItem(DevicePage& page, bool select);
    void RemoveItem(DevicePage& page);
    bool AnyItemShown() const;
    void Recount();

    HidBackend& m_backend;
    DeviceModelFactory m_factory;
    DeviceManagerListener* m_listener;
    QObject m_owner;  // deliveries run in its thread
    DiscoveryScan m_scan;
    std::array<std::unique_ptr<DevicePage>, 4> m_pages;
    bool m_noDeviceLink = true;
    bool m_firstScanDone = false;
    // Last: the thread ends before the rest goes.
    StoppableThread m_discovery;
};
