#pragma once

#include "devices/DeviceModelFactory.h"
#include "devices/DevicePageObserver.h"
#include "devices/HeadlessSelectorItem.h"
#include "devices/NotificationReaderSet.h"
#include "devices/NotificationSink.h"
#include "devices/QtTimerDriver.h"
#include "devices/SelectorTimerSchedule.h"

#include <functional>
#include <memory>

class CVarnokUSBDevice;
class DeviceManagerListener;
class HidBackend;

// One product model's page as the device manager keeps it: the model, its
// selector item with the timer schedule that drives it, and its event
// readers. Lives on the owner's thread; what the readers report is queued
// there.
class DevicePage : public NotificationSink, public DevicePageObserver {
public:
    DevicePage(DeviceModel model, HidBackend& backend, SelectorItemHost& host, int deviceIndex,
               DeviceManagerListener* listener);
    ~DevicePage() override;
    DevicePage(const DevicePage&) = delete;
    DevicePage& operator=(const DevicePage&) = delete;

    CVarnokUSBDevice& Model() { return *m_model; }
    HeadlessSelectorItem& Item() { return m_item; }
    SelectorTimerSchedule& Schedule() { return *m_schedule; }
    NotificationReaderSet& Readers() { return *m_readers; }
    TimerDriver& Timers() { return m_timers; }
    int DeviceIndex() const { return m_deviceIndex; }

    // Stops the timers and the readers (before the model goes).
    void Shutdown();

    // NotificationSink (reader threads).
    void ArmRefresh(int ms) override;
    void ReactiveTrigger() override;
    void DeviceCode(uint16_t code) override;
    void CodeReceived(uint16_t code) override;

    // DevicePageObserver (the owner's thread).
    void PowerRecord(const std::array<uint8_t, 6>& record, int batteryLevel) override;

private:
    // Runs fn on the owner's thread (dropped once the page is gone).
    void Post(std::function<void()> fn);

    int m_deviceIndex;
    DeviceManagerListener* m_listener;
    std::function<void(int)> m_onCode;
    std::unique_ptr<CVarnokUSBDevice> m_model;
    QtTimerDriver m_timers;
    HeadlessSelectorItem m_item;
    std::unique_ptr<SelectorTimerSchedule> m_schedule;
    // Last: the readers stop before anything they call goes.
    std::unique_ptr<NotificationReaderSet> m_readers;
};
