#include "devices/QtTimerDriver.h"
#include "devices/SelectorTimerSchedule.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

struct FakeTimers : TimerDriver {
    Handler handler;
    std::map<int, int> armed;  // id -> interval
    void SetHandler(Handler h) override { handler = std::move(h); }
    void Arm(int id, int ms) override { armed[id] = ms; }
    void Kill(int id) override { armed.erase(id); }
    bool Armed(int id) const override { return armed.count(id) != 0; }
    void Fire(int id)
    {
        ASSERT_TRUE(Armed(id)) << "timer " << id << " is not armed";
        handler(id);
    }
};

struct FakeDevice : ScheduledDevice {
    bool open = true, wireless = false, power = false, linkUp = true;
    std::vector<std::string> calls;
    bool ChannelOpen() const override { return open; }
    bool Wireless() const override { return wireless; }
    bool HasPowerIndicator() const override { return power; }
    bool IsLinkUp() override { calls.push_back("link"); return linkUp; }
    void Connect() override { calls.push_back("connect"); }
    void PaintLights() override { calls.push_back("paint"); }
    void RefreshFromDevice() override { calls.push_back("refresh"); }
    void QueryPower() override { calls.push_back("power"); }
};

struct FakeItem : SelectorItemState {
    bool shown = true;
    std::vector<bool> presence;
    bool Shown() const override { return shown; }
    void SetShown(bool s) override { shown = s; }
    void SetPresent(bool p) override { presence.push_back(p); }
};

struct ScheduleFixture : ::testing::Test {
    FakeTimers timers;
    FakeDevice device;
    FakeItem item;
    SelectorTimerSchedule schedule{timers, device, item};
};

using T = SelectorTimerSchedule;

} // namespace

TEST_F(ScheduleFixture, WiredConnectStartsPaintingAndPower)
{
    device.power = true;
    schedule.Arm(T::kConnect, 10);
    timers.Fire(T::kConnect);
    EXPECT_EQ(device.calls, (std::vector<std::string>{"connect"}));
    EXPECT_EQ(timers.armed, (std::map<int, int>{{T::kPaint, 5}, {T::kPower, 50}}));

    timers.Fire(T::kPaint);
    timers.Fire(T::kPower);
    EXPECT_EQ(timers.armed, (std::map<int, int>{{T::kPaint, 5}, {T::kPower, 5000}}));
    device.open = false;
    timers.Fire(T::kPaint);
    EXPECT_FALSE(timers.Armed(T::kPaint));
}

TEST_F(ScheduleFixture, WirelessConnectWaitsForTheLink)
{
    device.wireless = true;
    device.linkUp = false;
    schedule.Arm(T::kConnect, 10);
    timers.Fire(T::kConnect);
    EXPECT_EQ(device.calls, (std::vector<std::string>{"link"}));
    EXPECT_FALSE(item.shown);
    EXPECT_EQ(item.presence, (std::vector<bool>{false}));
    EXPECT_EQ(timers.armed, (std::map<int, int>{{T::kConnect, 3000}}));
    EXPECT_EQ(schedule.LinkFailures(), 1);

    device.linkUp = true;
    timers.Fire(T::kConnect);
    EXPECT_EQ(item.presence, (std::vector<bool>{false, true}));
    EXPECT_EQ(device.calls.back(), "connect");
    EXPECT_EQ(timers.armed, (std::map<int, int>{{T::kPaint, 5}, {T::kLinkWatch, 2000}}));
    timers.Fire(T::kPaint);
    EXPECT_EQ(timers.armed[T::kPaint], 500);
}

TEST_F(ScheduleFixture, LinkFailuresWrapAtTwenty)
{
    device.wireless = true;
    device.linkUp = false;
    for (int i = 0; i < 21; ++i) {
        schedule.Arm(T::kConnect, 0);
        timers.Fire(T::kConnect);
    }
    EXPECT_EQ(schedule.LinkFailures(), 1);
}

TEST_F(ScheduleFixture, LinkWatchFollowsReachability)
{
    device.wireless = true;
    schedule.StartLinkWatch(2000);
    device.linkUp = false;
    timers.Fire(T::kLinkWatch);
    EXPECT_FALSE(item.shown);
    device.linkUp = true;
    timers.Fire(T::kLinkWatch);
    EXPECT_TRUE(item.shown);
    EXPECT_EQ(item.presence, (std::vector<bool>{false, true}));
    EXPECT_EQ(device.calls.back(), "power");
    EXPECT_EQ(timers.armed[T::kLinkWatch], 3000);

    device.open = false;
    timers.Kill(T::kLinkWatch);
    schedule.StartLinkWatch(2000);
    EXPECT_FALSE(timers.Armed(T::kLinkWatch));
}

TEST_F(ScheduleFixture, RefreshAndHooksDoNotRearm)
{
    for (int id : {T::kRefresh, T::kHookA, T::kHookB}) {
        schedule.Arm(id, 50);
        timers.Fire(id);
        EXPECT_FALSE(timers.Armed(id));
    }
    EXPECT_EQ(device.calls, (std::vector<std::string>{"refresh"}));
}

TEST(QtTimerDriver, FiresOnceOnTheEventLoop)
{
    int argc = 0;
    QCoreApplication app(argc, nullptr);
    QtTimerDriver driver;
    std::vector<int> fired;
    driver.SetHandler([&](int id) { fired.push_back(id); });
    driver.Arm(1002, 1);
    driver.Arm(1005, 5);
    driver.Kill(1005);
    EXPECT_TRUE(driver.Armed(1002));
    QElapsedTimer clock;
    clock.start();
    while (fired.empty() && clock.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(fired, (std::vector<int>{1002}));
    EXPECT_FALSE(driver.Armed(1002));
}
