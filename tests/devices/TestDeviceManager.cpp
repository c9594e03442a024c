#include "DiscoveryTestSupport.h"

#include "devices/DeviceManager.h"
#include "devices/DevicePage.h"
#include "hid/ReportFrame.h"
#include "hid/SupportedDeviceTable.h"
#include "sim/SimHidBackend.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

constexpr size_t kKeyboardCommand = 0, kKeyboardEvent = 1, kKeyboardReceiverCommand = 2,
                 kKeyboardReceiverEvent = 3, kMouseCommand = 4, kMouseEvent = 5, kMouseReceiverCommand = 6,
                 kMousePadCommand = 8, kHeadsetCommand = 10;
constexpr int kMouseDevice = 0, kKeyboardDevice = 1, kMousePadDevice = 2, kHeadsetDevice = 3;

RecordingModel& ModelOf(CDeviceManager& manager, int device)
{
    return static_cast<RecordingModel&>(manager.Page(device)->Model());
}

int LinkStatusQueries(SimHidBackend& sim, SimProductKind kind)
{
    int count = 0;
    for (const auto& entry : sim.Product(kind).Trace().Entries(SimDirection::HostToDevice))
        if (entry.bytes[ReportFrame::kCommandOffset] == kCmdLinkStatus)
            ++count;
    return count;
}

class DeviceManagerTest : public ::testing::Test {
protected:
    DeviceManagerTest() { TestApp(); }

    void Start()
    {
        manager.PreCreatePages();
        manager.StartDiscovery();
    }
    bool Connected(size_t slot) { return manager.Slots()[slot].connected != 0; }
    // Until the owner has handled the arrival (or removal) of the slot.
    bool WaitConnected(size_t slot, bool connected = true)
    {
        const auto& handled = connected ? listener.arrived : listener.removed;
        return PumpUntil([&] { return std::find(handled.begin(), handled.end(), slot) != handled.end(); });
    }

    SimHidBackend sim;
    RecordingListener listener;
    DebugCapture log;
    CDeviceManager manager{sim, RecordingFactory(), &listener};
};

TEST_F(DeviceManagerTest, FirstScanNotifiesOnceEvenWithoutProducts)
{
    Start();
    ASSERT_TRUE(PumpUntil([&] { return listener.instances == 1; }));
    sim.Plug(SimProductKind::MousePad);
    ASSERT_TRUE(WaitConnected(kMousePadCommand));
    PumpFor(250);
    EXPECT_EQ(listener.instances, 1);
    manager.StopDiscovery();
    EXPECT_EQ(log.Count("抓取设备线程设定退出"), 1);
}

TEST_F(DeviceManagerTest, CableThenReceiverKeepsTheCableAndPullingItSwitchesToTheReceiver)
{
    Start();
    sim.Plug(SimProductKind::Mouse);
    ASSERT_TRUE(WaitConnected(kMouseEvent));
    ASSERT_TRUE(WaitConnected(kMouseCommand));
    DevicePage& page = *manager.Page(kMouseDevice);
    CommandChannel& channel = page.Model().ChannelA();
    EXPECT_TRUE(channel.IsOpen());
    EXPECT_FALSE(channel.IsWireless());
    EXPECT_EQ(channel.ChunkSize(), 56);
    EXPECT_TRUE(page.Item().Shown());
    EXPECT_TRUE(page.Item().Selected());
    EXPECT_FALSE(manager.NoDeviceLinkShown());
    EXPECT_TRUE(page.Readers().Link(DeviceKind::Mouse)->IsOpen());
    ASSERT_TRUE(PumpUntil([&] { return ModelOf(manager, kMouseDevice).connects == 1; }));

    sim.Plug(SimProductKind::MouseReceiver);
    ASSERT_TRUE(WaitConnected(kMouseReceiverCommand));
    PumpFor(150);
    EXPECT_FALSE(channel.IsWireless());
    EXPECT_EQ(LinkStatusQueries(sim, SimProductKind::MouseReceiver), 0);

    sim.Unplug(SimProductKind::Mouse);
    ASSERT_TRUE(WaitConnected(kMouseCommand, false));
    EXPECT_TRUE(channel.IsOpen());
    EXPECT_TRUE(channel.IsWireless());
    EXPECT_EQ(channel.ChunkSize(), 24);
    EXPECT_EQ(LinkStatusQueries(sim, SimProductKind::MouseReceiver), 1);
    EXPECT_EQ(log.Count("获取2"), 1);
    EXPECT_EQ(log.Count("鼠标设备丢失"), 1);
    EXPECT_GE(ModelOf(manager, kMouseDevice).powerQueries, 1);
    EXPECT_TRUE(page.Item().Shown());
}

TEST_F(DeviceManagerTest, ReceiverThenCableSwitchesToCableAndBackWithLinkPolling)
{
    Start();
    sim.Plug(SimProductKind::MouseReceiver);
    ASSERT_TRUE(WaitConnected(kMouseReceiverCommand));
    DevicePage& page = *manager.Page(kMouseDevice);
    CommandChannel& channel = page.Model().ChannelA();
    EXPECT_TRUE(channel.IsWireless());
    EXPECT_EQ(channel.ChunkSize(), 24);
    EXPECT_FALSE(page.Item().Shown());  // until the product reports reachable
    ASSERT_TRUE(PumpUntil([&] { return page.Item().Shown(); }));
    EXPECT_EQ(listener.reach.back(), std::make_pair(kMouseDevice, true));

    sim.Plug(SimProductKind::Mouse);
    ASSERT_TRUE(WaitConnected(kMouseCommand));
    ASSERT_TRUE(PumpUntil([&] { return !channel.IsWireless(); }));
    EXPECT_TRUE(channel.IsOpen());
    EXPECT_EQ(channel.ChunkSize(), 56);
    EXPECT_EQ(channel.Cable().Path().substr(0, 9), "sim:mouse");

    // The product behind the receiver does not answer: 26 link queries, 50 ms apart.
    sim.Product(SimProductKind::MouseReceiver).SetLinkReachable(false);
    sim.Product(SimProductKind::MouseReceiver).Trace().Clear();
    const auto start = std::chrono::steady_clock::now();
    sim.Unplug(SimProductKind::Mouse);
    ASSERT_TRUE(WaitConnected(kMouseCommand, false));
    ASSERT_TRUE(PumpUntil([&] { return log.Count("获取2") == 1; }));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(25 * 50));
    EXPECT_TRUE(channel.IsWireless());
    EXPECT_EQ(LinkStatusQueries(sim, SimProductKind::MouseReceiver), 26);
    EXPECT_EQ(log.Count("获取2.4G模式失败"), 25);
}

TEST_F(DeviceManagerTest, RemovingTheOnlyProductShowsNoDeviceLink)
{
    Start();
    sim.Plug(SimProductKind::MousePad);
    ASSERT_TRUE(WaitConnected(kMousePadCommand));
    ASSERT_TRUE(WaitConnected(kMousePadCommand + 1));
    DevicePage& page = *manager.Page(kMousePadDevice);
    EXPECT_TRUE(page.Model().ChannelA().IsOpen());
    EXPECT_TRUE(page.Item().Shown());
    EXPECT_EQ(manager.CurrentDevice(), kMousePadDevice);

    sim.Unplug(SimProductKind::MousePad);
    ASSERT_TRUE(WaitConnected(kMousePadCommand, false));
    ASSERT_TRUE(WaitConnected(kMousePadCommand + 1, false));
    EXPECT_FALSE(page.Model().ChannelA().IsOpen());
    EXPECT_FALSE(page.Item().Shown());
    EXPECT_TRUE(manager.NoDeviceLinkShown());
    EXPECT_EQ(listener.noDeviceLink, (std::vector<bool>{false, true}));
    EXPECT_EQ(manager.CurrentDevice(), -1);
    EXPECT_EQ(log.Count("删除一个鼠标垫设备"), 2);  // command and event interface
    EXPECT_FALSE(page.Readers().Link(DeviceKind::MousePad)->IsOpen());
}

TEST_F(DeviceManagerTest, RemovingTheSelectedProductSelectsAnother)
{
    sim.Plug(SimProductKind::MousePad);
    sim.Plug(SimProductKind::Headset);
    ASSERT_TRUE(manager.ScanNow());
    EXPECT_EQ(manager.CurrentDevice(), kMousePadDevice);
    sim.Unplug(SimProductKind::MousePad);
    manager.ScanNow();
    EXPECT_EQ(manager.CurrentDevice(), kHeadsetDevice);
    EXPECT_FALSE(manager.NoDeviceLinkShown());
}

TEST_F(DeviceManagerTest, SecondIdenticalKeyboardInterfaceFillsTheReceiverSlot)
{
    sim.Plug(SimProductKind::Keyboard);
    sim.Plug(SimProductKind::KeyboardReceiver);
    manager.PreCreatePages();
    ASSERT_TRUE(manager.ScanNow());
    for (size_t slot : {kKeyboardCommand, kKeyboardEvent, kKeyboardReceiverCommand, kKeyboardReceiverEvent})
        EXPECT_TRUE(Connected(slot)) << slot;
    EXPECT_EQ(listener.instances, 1);
    DevicePage& page = *manager.Page(kKeyboardDevice);
    EXPECT_TRUE(page.Model().ChannelA().IsOpen());
    EXPECT_TRUE(page.Readers().Link(DeviceKind::Keyboard)->IsOpen());
    EXPECT_TRUE(page.Readers().Link(DeviceKind::KeyboardReceiver)->IsOpen());
    EXPECT_EQ(log.Count("添加一个键盘设备"), 4);
}

TEST_F(DeviceManagerTest, HeadsetArrivalCreatesItsPageWithThePadText)
{
    sim.Plug(SimProductKind::Headset);
    manager.PreCreatePages();
    EXPECT_EQ(manager.Page(kHeadsetDevice), nullptr);
    ASSERT_TRUE(manager.ScanNow());
    ASSERT_NE(manager.Page(kHeadsetDevice), nullptr);
    EXPECT_EQ(log.Count("添加一个鼠标垫设备"), 1);
    EXPECT_EQ(manager.Page(kHeadsetDevice)->Model().ModelFolder(), "HD");
    EXPECT_TRUE(manager.Page(kHeadsetDevice)->Model().ChannelA().IsOpen());
    EXPECT_TRUE(manager.Page(kHeadsetDevice)->Readers().Empty());
    EXPECT_TRUE(Connected(kHeadsetCommand));
}

TEST_F(DeviceManagerTest, SlotIndicesOutOfRangeAreIgnored)
{
    manager.PreCreatePages();
    manager.OnArrival(SupportedDeviceTable::kRowCount);
    manager.OnRemoval(999);
    manager.OnReachable(7, true);
    EXPECT_TRUE(listener.arrived.empty());
    EXPECT_TRUE(listener.removed.empty());
    EXPECT_TRUE(listener.reach.empty());
    EXPECT_TRUE(manager.NoDeviceLinkShown());
}

TEST_F(DeviceManagerTest, ReaderCodesReachTheScheduleTheModelAndTheListener)
{
    Start();
    sim.Plug(SimProductKind::Mouse);
    ASSERT_TRUE(WaitConnected(kMouseEvent));
    ASSERT_TRUE(WaitConnected(kMouseCommand));
    ASSERT_TRUE(PumpUntil([&] { return manager.Page(kMouseDevice)->Readers().Link(DeviceKind::Mouse)->Running(); }));
    RecordingModel& model = ModelOf(manager, kMouseDevice);
    sim.InjectEvent(SimProductKind::Mouse, 0x0401);
    ASSERT_TRUE(PumpUntil([&] { return model.refreshes == 1; }));
    EXPECT_EQ(model.lastReaderCode.load(), 0x0401);  // noted before the refresh runs
    sim.InjectEvent(SimProductKind::Mouse, 0x1123);
    ASSERT_TRUE(PumpUntil([&] { return listener.codes.size() == 2; }));
    EXPECT_EQ(listener.codes[1], std::make_pair(kMouseDevice, uint16_t{0x1123}));
    // The model takes the code on the reader's thread, not in step with the listener.
    ASSERT_TRUE(PumpUntil([&] {
        std::lock_guard lock(model.codesMutex);
        return !model.codes.empty();
    }));
    std::lock_guard lock(model.codesMutex);
    EXPECT_EQ(model.codes, (std::vector<int>{0x1123}));
    EXPECT_EQ(model.lastReaderCode.load(), 0x1123);
}

TEST_F(DeviceManagerTest, StopDoesNotWaitForAnOwnerThatIsNotListening)
{
    sim.Plug(SimProductKind::Mouse);
    manager.StartDiscovery();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // the thread waits for its first delivery
    const auto start = std::chrono::steady_clock::now();
    manager.StopDiscovery();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_FALSE(manager.DiscoveryRunning());
    EXPECT_EQ(log.Count("线程退出：：对象处于激发状态"), 1);
}

} // namespace
