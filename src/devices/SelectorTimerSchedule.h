#pragma once

#include "devices/TimerDriver.h"

// What the selector's timers drive on one device.
class ScheduledDevice {
public:
    virtual ~ScheduledDevice() = default;
    virtual bool ChannelOpen() const = 0;
    virtual bool Wireless() const = 0;
    virtual bool HasPowerIndicator() const = 0;
    virtual bool IsLinkUp() = 0;
    virtual void Connect() = 0;
    virtual void PaintLights() = 0;
    virtual void RefreshFromDevice() = 0;
    virtual void QueryPower() = 0;
};

// The selector item as the schedule sees it: shown or hidden, and the
// device's presence as the rest of the program is told it.
class SelectorItemState {
public:
    virtual ~SelectorItemState() = default;
    virtual bool Shown() const = 0;
    virtual void SetShown(bool shown) = 0;
    virtual void SetPresent(bool present) = 0;
    virtual void PictureChanged() {}
};

// The one-shot timers of a device's selector item, which pace all traffic with
// the device. Every handler kills its timer before it acts.
class SelectorTimerSchedule {
public:
    enum TimerId {
        kPaint = 1000,
        kConnect = 1001,
        kRefresh = 1002,
        kHookA = 1003,
        kHookB = 1004,
        kPower = 1005,
        kLinkWatch = 1007,
    };

    static constexpr int kWiredPaintMs = 5;
    static constexpr int kWirelessPaintMs = 500;
    static constexpr int kLinkRetryMs = 3000;
    static constexpr int kFirstPowerMs = 50;
    static constexpr int kPowerMs = 5000;
    static constexpr int kLinkWatchStartMs = 2000;
    static constexpr int kLinkWatchMs = 3000;
    static constexpr int kLinkFailureWrap = 20;

    SelectorTimerSchedule(TimerDriver& timers, ScheduledDevice& device, SelectorItemState& item);
    ~SelectorTimerSchedule();
    SelectorTimerSchedule(const SelectorTimerSchedule&) = delete;
    SelectorTimerSchedule& operator=(const SelectorTimerSchedule&) = delete;

    void Arm(int id, int ms) { m_timers.Arm(id, ms); }
    void KillAll();
    // Arms the link watch, only while the channel is open.
    void StartLinkWatch(int ms);

    void OnTimer(int id);
    int LinkFailures() const { return m_linkFailures; }

private:
    void OnConnect();
    void OnLinkWatch();

    TimerDriver& m_timers;
    ScheduledDevice& m_device;
    SelectorItemState& m_item;
    int m_linkFailures = 0;
};
