#include "devices/SelectorTimerSchedule.h"

SelectorTimerSchedule::SelectorTimerSchedule(TimerDriver& timers, ScheduledDevice& device, SelectorItemState& item)
    : m_timers(timers), m_device(device), m_item(item)
{
    m_timers.SetHandler([this](int id) { OnTimer(id); });
}

SelectorTimerSchedule::~SelectorTimerSchedule()
{
    KillAll();
    m_timers.SetHandler({});
}

void SelectorTimerSchedule::KillAll()
{
    for (int id : {kPaint, kConnect, kRefresh, kHookA, kHookB, kPower, kLinkWatch})
        m_timers.Kill(id);
}

void SelectorTimerSchedule::StartLinkWatch(int ms)
{
    if (m_device.ChannelOpen())
        m_timers.Arm(kLinkWatch, ms);
}

void SelectorTimerSchedule::OnTimer(int id)
{
    m_timers.Kill(id);
    switch (id) {
    case kPaint:
        m_device.PaintLights();
        if (m_device.ChannelOpen()) {
            m_timers.Arm(kPaint, m_device.Wireless() ? kWirelessPaintMs : kWiredPaintMs);
            m_item.PictureChanged();
        }
        break;
    case kConnect:
        OnConnect();
        break;
    case kRefresh:
        m_device.RefreshFromDevice();
        break;
    case kPower:
        m_device.QueryPower();
        if (m_device.HasPowerIndicator())
            m_timers.Arm(kPower, kPowerMs);
        break;
    case kLinkWatch:
        OnLinkWatch();
        break;
    default:
        break;  // 1003 and 1004 are hooks no device kind uses
    }
}

void SelectorTimerSchedule::OnConnect()
{
    const bool wireless = m_device.Wireless();
    if (wireless && m_device.ChannelOpen()) {
        if (!m_device.IsLinkUp()) {
            m_linkFailures = (m_linkFailures + 1) % kLinkFailureWrap;
            if (m_item.Shown()) {
                m_item.SetShown(false);
                m_item.SetPresent(false);
            }
            m_timers.Arm(kConnect, kLinkRetryMs);
            return;
        }
        m_item.SetPresent(true);
    }
    m_device.Connect();
    m_timers.Arm(kPaint, kWiredPaintMs);
    if (m_device.HasPowerIndicator() && m_device.ChannelOpen())
        m_timers.Arm(kPower, kFirstPowerMs);
    if (wireless)
        StartLinkWatch(kLinkWatchStartMs);
}

void SelectorTimerSchedule::OnLinkWatch()
{
    const bool up = m_device.IsLinkUp();
    if (up && !m_item.Shown()) {
        m_item.SetShown(true);
        m_item.SetPresent(true);
        m_device.QueryPower();
    } else if (!up && m_item.Shown()) {
        m_item.SetShown(false);
        m_item.SetPresent(false);
    }
    if (m_device.Wireless())
        m_timers.Arm(kLinkWatch, kLinkWatchMs);
}
