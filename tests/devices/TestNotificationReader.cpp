#include "DiscoveryTestSupport.h"

#include "devices/NotificationPolicy.h"
#include "devices/NotificationReader.h"
#include "devices/NotificationSink.h"
#include "hid/HidEnumerator.h"
#include "hid/HidPath.h"
#include "sim/SimHidBackend.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using Action = NotificationPolicy::Action;

struct PolicyCase {
    DeviceKind link;
    uint16_t code;
    Action action;
};

TEST(NotificationPolicy, ActionsByLinkAndCode)
{
    const PolicyCase cases[] = {
        {DeviceKind::Mouse, 0x0401, Action::Refresh},
        {DeviceKind::Mouse, 0x0402, Action::Refresh},
        {DeviceKind::Mouse, 0x0403, Action::Reactive},
        {DeviceKind::Mouse, 0x1123, Action::DeviceCode},
        {DeviceKind::Mouse, 0x0400, Action::Ignore},
        {DeviceKind::MouseReceiver, 0x0403, Action::DeviceCode},
        {DeviceKind::Keyboard, 0x0402, Action::Refresh},
        {DeviceKind::KeyboardReceiver, 0x0403, Action::DeviceCode},
        {DeviceKind::MousePad, 0x0401, Action::Refresh},
        {DeviceKind::MousePad, 0x0402, Action::Ignore},
        {DeviceKind::MousePad, 0x0403, Action::Ignore},
        {DeviceKind::MousePad, 0x1123, Action::Ignore},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NotificationPolicy::ForLink(c.link).ActionFor(c.code), c.action)
            << static_cast<int>(c.link) << " code " << std::hex << c.code;
    EXPECT_EQ(NotificationPolicy::ForLink(DeviceKind::Mouse).refreshMs, 50);
    EXPECT_EQ(NotificationPolicy::ForLink(DeviceKind::MousePad).refreshMs, 500);
}

struct RecordingSink : NotificationSink {
    void ArmRefresh(int ms) override { Push("refresh " + std::to_string(ms)); }
    void ReactiveTrigger() override { Push("reactive"); }
    void DeviceCode(uint16_t code) override { Push("code " + std::to_string(code)); }

    void Push(std::string text)
    {
        std::lock_guard lock(mutex);
        calls.push_back(std::move(text));
    }
    size_t Size()
    {
        std::lock_guard lock(mutex);
        return calls.size();
    }
    std::mutex mutex;
    std::vector<std::string> calls;
};

// The event interface path (collection 3) of an emulated product.
std::string EventPath(SimHidBackend& sim, SimProductKind kind)
{
    HidEnumerator list(sim);
    list.Enumerate();
    for (const auto& path : list.Paths())
        if (HidPath::NodePart(path) == SimHidBackend::NodePath(kind) && HidPath::CollectionNumber(path) == 3)
            return path;
    return {};
}

TEST(NotificationReader, DeliversTheCodesOfTheMouseCableLink)
{
    SimHidBackend sim({SimProductKind::Mouse});
    RecordingSink sink;
    NotificationReader reader(sim, NotificationPolicy::ForLink(DeviceKind::Mouse), sink);
    const std::string path = EventPath(sim, SimProductKind::Mouse);
    ASSERT_FALSE(path.empty());
    DebugCapture log;
    ASSERT_TRUE(reader.Open(path));
    EXPECT_TRUE(reader.IsOpen());
    EXPECT_TRUE(reader.Running());

    for (int code : {0x0401, 0x0403, 0x1123, 0x0200}) {
        ASSERT_TRUE(sim.InjectEvent(SimProductKind::Mouse, static_cast<uint16_t>(code)));
        std::this_thread::sleep_for(std::chrono::milliseconds(20));  // keep the order of the reports
    }
    ASSERT_TRUE(PumpUntil([&] { return log.Count("接收到自动添加设备的同步信息要求  TEST") == 4; }, 3000));
    reader.Close();
    EXPECT_EQ(sink.calls, (std::vector<std::string>{"refresh 50", "reactive", "code 4387"}));
    EXPECT_EQ(log.Count("接收到自动添加设备的同步信息要求"), 1);
    EXPECT_EQ(log.Count("MS 设备同步线程设定退出"), 1);
    EXPECT_FALSE(reader.IsOpen());
}

TEST(NotificationReader, StopOfAReaderBlockedInAReadEndsInTime)
{
    SimHidBackend sim({SimProductKind::MousePad});
    RecordingSink sink;
    NotificationReader reader(sim, NotificationPolicy::ForLink(DeviceKind::MousePad), sink);
    ASSERT_TRUE(reader.Open(EventPath(sim, SimProductKind::MousePad)));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the reader sits in its read
    DebugCapture log;
    const auto start = std::chrono::steady_clock::now();
    reader.Close();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::seconds(3));
    EXPECT_FALSE(reader.Running());
    EXPECT_EQ(log.Count("线程退出：：对象处于激发状态"), 1);
    EXPECT_EQ(log.Count("MS设备同步线程设定退出"), 1);
}

TEST(NotificationReader, ReopenReplacesTheReaderAndAFailedOpenStartsNone)
{
    SimHidBackend sim({SimProductKind::Mouse});
    RecordingSink sink;
    NotificationReader reader(sim, NotificationPolicy::ForLink(DeviceKind::MouseReceiver), sink);
    const std::string path = EventPath(sim, SimProductKind::Mouse);
    ASSERT_TRUE(reader.Open(path));
    ASSERT_TRUE(reader.Open(path));
    ASSERT_TRUE(sim.InjectEvent(SimProductKind::Mouse, 0x0403));
    ASSERT_TRUE(PumpUntil([&] { return sink.Size() == 1; }, 3000));
    EXPECT_EQ(sink.calls.front(), "code 1027");  // the receiver link hands 0x0403 to the code handler

    EXPECT_FALSE(reader.Open("sim:absent#vid_320f&pid_221c&mi_01&col03"));
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_FALSE(reader.Running());
}

} // namespace
