#include "SimClient.h"

#include "sim/SimDescriptors.h"
#include "sim/SimHeadsetFirmware.h"
#include "sim/SimHidBackend.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace simtest;

namespace {

const std::string kMouse = SimHidBackend::NodePath(SimProductKind::Mouse);

TEST(SimTransportTest, EveryInputReportReachesEveryOpenDescriptor)
{
    SimHidBackend sim({SimProductKind::Mouse});
    UniqueFd commands = sim.OpenNode(kMouse, true, true);
    UniqueFd events = sim.OpenNode(kMouse, true, false);
    UniqueFd probe = sim.OpenNode(kMouse, false, false);
    ASSERT_TRUE(commands && events && probe);

    for (uint16_t code : {uint16_t{0x1123}, uint16_t{0x1005}, uint16_t{0x1200}}) {
        ASSERT_TRUE(sim.InjectEvent(SimProductKind::Mouse, code));
        for (int fd : {commands.Get(), events.Get()}) {
            const auto report = Receive(fd);
            ASSERT_TRUE(report);
            EXPECT_EQ(*report, (std::vector<uint8_t>{SimDescriptors::kConsumerReportId,
                                                     static_cast<uint8_t>(code & 0xFF),
                                                     static_cast<uint8_t>(code >> 8)}));
        }
    }
    // A command reply is an input report of the node too: the event reader sees it.
    ASSERT_TRUE(Send(commands.Get(), Command(kCmdConfigBegin)));
    for (int fd : {commands.Get(), events.Get()}) {
        const auto reply = Receive(fd);
        ASSERT_TRUE(reply);
        EXPECT_EQ((*reply)[0], ReportFrame::kReportId);
    }
    // Nothing reaches a descriptor opened without read access, and nothing it
    // writes is taken.
    EXPECT_FALSE(Receive(probe.Get(), 100));
    ASSERT_TRUE(Send(events.Get(), Command(kCmdConfigBegin)));
    EXPECT_FALSE(Receive(commands.Get(), 100));
}

TEST(SimTransportTest, UnplugHangsUpOpenDescriptorsAndPlugBringsTheNodeBack)
{
    SimHidBackend sim({SimProductKind::Mouse, SimProductKind::Keyboard});
    UniqueFd a = sim.OpenNode(kMouse, true, true);
    UniqueFd b = sim.OpenNode(kMouse, true, false);
    sim.Memory(SimProductKind::Mouse).Write(SimRegion::Params, 300, std::vector<uint8_t>{0x5A}.data(), 1);

    ASSERT_TRUE(sim.Unplug(SimProductKind::Mouse));
    EXPECT_FALSE(sim.Unplug(SimProductKind::Mouse));
    EXPECT_TRUE(HungUp(a.Get()));
    EXPECT_TRUE(HungUp(b.Get()));
    EXPECT_FALSE(Send(a.Get(), Command(kCmdConfigBegin)));  // fails, does not kill the process
    EXPECT_FALSE(sim.QueryNode(kMouse));
    EXPECT_FALSE(sim.OpenNode(kMouse, true, true));
    EXPECT_EQ(errno, ENODEV);
    EXPECT_FALSE(sim.InjectEvent(SimProductKind::Mouse, 0x0401));
    ASSERT_EQ(sim.ListNodes().size(), 1u);
    EXPECT_EQ(sim.ListNodes()[0].devicePath, "sim:keyboard");

    ASSERT_TRUE(sim.Plug(SimProductKind::Mouse));
    UniqueFd again = sim.OpenNode(kMouse, true, true);
    const auto reply = Exchange(again.Get(), Command(kCmdReadParams, 1, 300));
    ASSERT_TRUE(reply);
    EXPECT_EQ((*reply)[8], 0x5A);  // the memory outlives the unplug
}

TEST(SimTransportTest, OpenAndQueryUnknownPaths)
{
    SimHidBackend sim({SimProductKind::Headset});
    EXPECT_FALSE(sim.QueryNode("sim:trackball"));
    EXPECT_FALSE(sim.OpenNode("/dev/hidraw0", true, true));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(sim.QueryNode(kMouse));  // known, not plugged
    EXPECT_TRUE(sim.QueryNode("sim:headset"));
}

TEST(SimTransportTest, HeadsetTakesLightOutputReports)
{
    SimHidBackend sim({SimProductKind::Headset});
    UniqueFd fd = sim.OpenNode("sim:headset", true, true);
    std::array<uint8_t, 17> report{0xFF, 0x44, 0xAE, 0, 10, 20, 30, 40, 50, 60, 0};
    ASSERT_TRUE(sim.SetOutputReport(fd.Get(), report.data(), report.size()));
    std::array<uint8_t, 17> unknownRegister = report;
    unknownRegister[2] = 0xB0;
    ASSERT_TRUE(sim.SetOutputReport(fd.Get(), unknownRegister.data(), unknownRegister.size()));
    EXPECT_FALSE(Receive(fd.Get(), 100));  // light reports are not answered

    auto& firmware = static_cast<SimHeadsetFirmware&>(sim.Product(SimProductKind::Headset).Firmware());
    EXPECT_EQ(firmware.LightReports(), 1u);
    EXPECT_EQ(firmware.IgnoredReports(), 1u);
    const auto lights = sim.Memory(SimProductKind::Headset).Bytes(SimRegion::Lights);
    const size_t at = SimHeadsetFirmware::LightOffset(0x44, 0xAE);
    EXPECT_EQ(std::vector<uint8_t>(lights.begin() + at, lights.begin() + at + 7),
              (std::vector<uint8_t>{10, 20, 30, 40, 50, 60, 0}));
    const auto traced = sim.Product(SimProductKind::Headset).Trace().Entries(SimDirection::HostToDevice);
    ASSERT_EQ(traced.size(), 2u);
    EXPECT_EQ(traced[0].length, 17u);
    EXPECT_EQ(traced[0].bytes[2], 0xAE);

    ASSERT_TRUE(sim.InjectEvent(SimProductKind::Headset, 0x00E9));
    const auto event = Receive(fd.Get());
    ASSERT_TRUE(event);
    EXPECT_EQ(*event, (std::vector<uint8_t>{SimDescriptors::kHeadsetEventReportId, 0xE9, 0x00}));
}

// Exchanges go on while another thread plugs and unplugs products; every call
// either works or fails cleanly.
TEST(SimTransportTest, HotPlugWhileInUse)
{
    SimHidBackend sim({SimProductKind::Mouse, SimProductKind::Keyboard});
    std::atomic<bool> stop{false};
    std::thread plugger([&] {
        for (int i = 0; i < 200 && !stop; ++i) {
            sim.Unplug(SimProductKind::Keyboard);
            sim.ListNodes();
            sim.Plug(SimProductKind::Keyboard);
            sim.InjectEvent(SimProductKind::Keyboard, 0x0401);
        }
    });
    int answered = 0;
    for (int i = 0; i < 400; ++i) {
        UniqueFd mouse = sim.OpenNode(kMouse, true, true);
        ASSERT_TRUE(mouse);
        const auto reply = Exchange(mouse.Get(), Command(kCmdReadInfo, 34));
        ASSERT_TRUE(reply);
        answered += (*reply)[3] == kCmdReadInfo;
        UniqueFd keyboard = sim.OpenNode("sim:keyboard", true, true);
        if (keyboard)
            Send(keyboard.Get(), Command(kCmdReadParams, 1));
    }
    stop = true;
    plugger.join();
    EXPECT_EQ(answered, 400);
}

TEST(SimTransportTest, ParseKinds)
{
    struct Case {
        const char* list;
        std::optional<std::vector<SimProductKind>> kinds;
    };
    const Case cases[] = {
        {"mouse,keyboard-receiver", std::vector{SimProductKind::Mouse, SimProductKind::KeyboardReceiver}},
        {"headset", std::vector{SimProductKind::Headset}},
        {"mousepad, mouse-receiver", std::vector{SimProductKind::MousePad, SimProductKind::MouseReceiver}},
        {"mouse,trackball", std::nullopt},
        {"mouse,mouse", std::nullopt},
        {"mouse,", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list);
        std::string error;
        const auto kinds = SimHidBackend::ParseKinds(c.list, &error);
        EXPECT_EQ(kinds, c.kinds);
        EXPECT_EQ(error.empty(), c.kinds.has_value());
    }
    std::string error;
    SimHidBackend::ParseKinds("mouse,mouse", &error);
    EXPECT_NE(error.find("twice"), std::string::npos) << error;
}

} // namespace
