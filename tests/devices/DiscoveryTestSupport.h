#pragma once

#include "devices/DeviceManagerListener.h"
#include "devices/DeviceModelFactory.h"
#include "devices/VarnokUSBDevice.h"
#include "hid/CommandSet.h"
#include "platform/DebugLog.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// The debug texts written while it lives.
class DebugCapture {
public:
    DebugCapture()
    {
        SetDebugSink([this](std::string_view text) {
            std::lock_guard lock(m_mutex);
            m_lines.emplace_back(text);
        });
    }
    ~DebugCapture() { SetDebugSink({}); }

    int Count(const std::string& line) const
    {
        std::lock_guard lock(m_mutex);
        return static_cast<int>(std::count(m_lines.begin(), m_lines.end(), line));
    }
    std::vector<std::string> Lines() const
    {
        std::lock_guard lock(m_mutex);
        return m_lines;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
};

inline QCoreApplication& TestApp()
{
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// Runs the event loop until pred holds or the limit passes.
inline bool PumpUntil(const std::function<bool()>& pred, int limitMs = 5000)
{
    TestApp();
    QElapsedTimer clock;
    clock.start();
    while (!pred()) {
        if (clock.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

inline void PumpFor(int ms)
{
    PumpUntil([] { return false; }, ms);
}

// A model that counts what the schedule and the readers ask of it and asks
// the product whether the link is up.
class RecordingModel : public CVarnokUSBDevice {
public:
    using CVarnokUSBDevice::CVarnokUSBDevice;

    void Connect() override { ++connects; }
    void RefreshFromDevice() override { ++refreshes; }
    void QueryPower() override { ++powerQueries; }
    bool IsLinkUp() override { return CommandSet(ChannelA()).CMD_LINK_STATUS(); }
    void NoteReaderCode(int code) override { lastReaderCode.store(code); }

    std::atomic<int> connects{0};
    std::atomic<int> refreshes{0};
    std::atomic<int> powerQueries{0};
    std::atomic<int> lastReaderCode{0};
    std::mutex codesMutex;
    std::vector<int> codes;
};

inline DeviceModelFactory RecordingFactory()
{
    return [](DeviceKind kind, HidBackend& backend) {
        auto model = std::make_unique<RecordingModel>(backend, kind);
        RecordingModel* raw = model.get();
        return DeviceModel{std::move(model), [raw](int code) {
                               std::lock_guard lock(raw->codesMutex);
                               raw->codes.push_back(code);
                           }};
    };
}

struct RecordingListener : DeviceManagerListener {
    void InstanceNotification() override { ++instances; }
    void DeviceArrived(size_t slot, const DeviceSlot&) override { arrived.push_back(slot); }
    void DeviceRemoved(size_t slot, const DeviceSlot&) override { removed.push_back(slot); }
    void Reachability(int device, bool reachable) override { reach.emplace_back(device, reachable); }
    void NoDeviceLink(bool shown) override { noDeviceLink.push_back(shown); }
    void DeviceCode(int device, uint16_t code) override { codes.emplace_back(device, code); }

    int instances = 0;
    std::vector<size_t> arrived;
    std::vector<size_t> removed;
    std::vector<std::pair<int, bool>> reach;
    std::vector<bool> noDeviceLink;
    std::vector<std::pair<int, uint16_t>> codes;
};
