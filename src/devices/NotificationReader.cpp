#include "devices/NotificationReader.h"

#include "devices/NotificationSink.h"
#include "platform/DebugLog.h"

#include <algorithm>
#include <vector>

NotificationReader::NotificationReader(HidBackend& backend, NotificationPolicy policy, NotificationSink& sink)
    : m_policy(std::move(policy)), m_sink(sink), m_interface(backend)
{
}

NotificationReader::~NotificationReader() { Close(); }

bool NotificationReader::Open(const std::string& path)
{
    Stop();
    bool opened;
    {
        std::lock_guard lock(m_lock);
        m_open.store(false);
        m_interface.Close();
        opened = m_interface.Open(path, true, false);
        m_open.store(opened);
        m_path = opened ? path : std::string();
    }
    // A link that did not open has nothing to read; no thread idles on it.
    if (opened)
        m_thread.Start([this](StoppableThread& thread) { Run(thread); });
    return opened;
}

void NotificationReader::Close()
{
    Stop();
    std::lock_guard lock(m_lock);
    m_open.store(false);
    m_interface.Close();
    m_path.clear();
}

void NotificationReader::Stop()
{
    m_thread.Stop(kStopLimit, [this] { m_interface.Close(); });
}

void NotificationReader::Run(StoppableThread& thread)
{
    std::vector<uint8_t> report(std::max<size_t>(64, m_interface.InputReportLength()));
    while (!thread.WaitForStop(std::chrono::milliseconds(1))) {
        if (!m_open.load())
            continue;
        size_t length = 0;
        if (!m_interface.Read(report.data(), report.size(), length, HidInterface::kNoTimeLimit))
            continue;
        if (!m_interface.DecodeInputReport(report.data(), length))
            continue;
        const uint16_t code = m_interface.EventCode();
        DebugOutput("接收到自动添加设备的同步信息要求  TEST");
        m_sink.CodeReceived(code);
        Handle(code);
    }
    DebugOutput(m_policy.exitLine);
}

void NotificationReader::Handle(uint16_t code)
{
    switch (m_policy.ActionFor(code)) {
    case NotificationPolicy::Action::Refresh:
        DebugOutput("接收到自动添加设备的同步信息要求");
        m_sink.ArmRefresh(m_policy.refreshMs);
        break;
    case NotificationPolicy::Action::Reactive:
        m_sink.ReactiveTrigger();
        break;
    case NotificationPolicy::Action::DeviceCode:
        m_sink.DeviceCode(code);
        break;
    case NotificationPolicy::Action::Ignore:
        break;
    }
}
