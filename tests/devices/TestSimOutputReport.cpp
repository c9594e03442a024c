#include "sim/SimClient.h"

#include "sim/SimHidBackend.h"

#include <gtest/gtest.h>

#include <sys/socket.h>

#include <cerrno>

using namespace simtest;

namespace {

const std::string kHeadset = SimHidBackend::NodePath(SimProductKind::Headset);

std::array<uint8_t, 17> LightReport(uint8_t reg)
{
    return {0xFF, 0x22, reg, 0, 1, 2, 3, 4, 5, 6, 7};
}

// A control-pipe report is taken at once, yet never before a report written
// on the same descriptor earlier.
TEST(SimOutputReportTest, ComesAfterWhatWasWrittenBefore)
{
    SimHidBackend sim({SimProductKind::Headset});
    UniqueFd fd = sim.OpenNode(kHeadset, true, true);
    ASSERT_TRUE(fd);
    SimTrace& trace = sim.Product(SimProductKind::Headset).Trace();
    for (int round = 0; round < 50; ++round) {
        trace.Clear();
        ASSERT_TRUE(Send(fd.Get(), Command(kCmdConfigBegin)));
        const auto light = LightReport(0xAA);
        ASSERT_TRUE(sim.SetOutputReport(fd.Get(), light.data(), light.size()));
        const auto sent = trace.Entries(SimDirection::HostToDevice);
        ASSERT_EQ(sent.size(), 2u) << "round " << round;
        EXPECT_EQ(sent[0].bytes[ReportFrame::kCommandOffset], kCmdConfigBegin) << "round " << round;
        EXPECT_EQ(sent[1].length, light.size()) << "round " << round;
        ASSERT_TRUE(Receive(fd.Get()));  // the command's reply
    }
}

TEST(SimOutputReportTest, FailsOnceTheNodeIsGone)
{
    SimHidBackend sim({SimProductKind::Headset});
    UniqueFd fd = sim.OpenNode(kHeadset, true, true);
    const auto light = LightReport(0xAB);
    ASSERT_TRUE(sim.SetOutputReport(fd.Get(), light.data(), light.size()));

    ASSERT_TRUE(sim.Unplug(SimProductKind::Headset));
    errno = 0;
    EXPECT_FALSE(sim.SetOutputReport(fd.Get(), light.data(), light.size()));
    EXPECT_EQ(errno, EPIPE);

    // A descriptor that is not the emulator's fails as a send on it does.
    int pair[2] = {-1, -1};
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET, 0, pair), 0);
    UniqueFd mine(pair[0]);
    ::close(pair[1]);
    EXPECT_FALSE(sim.SetOutputReport(mine.Get(), light.data(), light.size()));
    EXPECT_FALSE(sim.SetOutputReport(-1, light.data(), light.size()));
    EXPECT_EQ(sim.Product(SimProductKind::Headset).Trace().Entries(SimDirection::HostToDevice).size(), 1u);
}

// A descriptor number the host closed and got again for another node belongs
// to the newer node.
TEST(SimOutputReportTest, ReusedDescriptorNumberGoesToTheNewerNode)
{
    SimHidBackend sim({SimProductKind::Headset, SimProductKind::MousePad});
    UniqueFd first = sim.OpenNode(kHeadset, true, true);
    const int number = first.Get();
    first.Reset();
    UniqueFd second = sim.OpenNode(SimHidBackend::NodePath(SimProductKind::MousePad), true, true);
    ASSERT_EQ(second.Get(), number);

    const auto light = LightReport(0xAC);
    ASSERT_TRUE(sim.SetOutputReport(second.Get(), light.data(), light.size()));
    EXPECT_TRUE(sim.Product(SimProductKind::Headset).Trace().Entries().empty());
    EXPECT_EQ(sim.Product(SimProductKind::MousePad).Trace().Entries(SimDirection::HostToDevice).size(), 1u);
}

// Command frames sent over the control pipe are answered, with the faults of
// the product applied as to written ones.
TEST(SimOutputReportTest, CommandFramesAreAnsweredWithTheirFaults)
{
    SimHidBackend sim({SimProductKind::Mouse});
    SimProduct& mouse = sim.Product(SimProductKind::Mouse);
    UniqueFd fd = sim.OpenNode("sim:mouse", true, true);
    const Frame command = Command(kCmdReadInfo, 8);

    ASSERT_TRUE(sim.SetOutputReport(fd.Get(), command.data(), command.size()));
    auto reply = Receive(fd.Get());
    ASSERT_TRUE(reply);
    EXPECT_EQ((*reply)[ReportFrame::kCommandOffset], kCmdReadInfo);

    // A slow reply still leaves once it is due: the service thread learns of it.
    mouse.Faults().Arm({SimFaultKind::Delay, 1, 400});
    ASSERT_TRUE(sim.SetOutputReport(fd.Get(), command.data(), command.size()));
    EXPECT_FALSE(Receive(fd.Get(), 50));
    reply = Receive(fd.Get(), 3000);
    ASSERT_TRUE(reply);
    EXPECT_EQ((*reply)[ReportFrame::kCommandOffset], kCmdReadInfo);

    mouse.Faults().Arm({SimFaultKind::Unplug, 1});
    ASSERT_TRUE(sim.SetOutputReport(fd.Get(), command.data(), command.size()));
    EXPECT_TRUE(HungUp(fd.Get()));
    EXPECT_FALSE(sim.IsPlugged(SimProductKind::Mouse));
}

TEST(SimTraceRingTest, KeepsTheNewestAcrossClears)
{
    struct Case {
        size_t capacity;
        int before;  // reports recorded before Clear (0: no Clear)
        int after;
        std::vector<uint8_t> expected;  // first byte of each entry, oldest first
    };
    const std::vector<Case> cases = {
        {4, 0, 2, {1, 2}},
        {4, 0, 6, {3, 4, 5, 6}},
        {4, 2, 3, {1, 2, 3}},      // cleared while the ring was still growing
        {4, 6, 5, {2, 3, 4, 5}},   // cleared after it wrapped
        {1, 3, 2, {2}},
    };
    for (const Case& c : cases) {
        SimTrace trace(c.capacity);
        for (uint8_t i = 1; i <= c.before; ++i)
            trace.Record(SimDirection::HostToDevice, &i, 1);
        if (c.before > 0)
            trace.Clear();
        for (uint8_t i = 1; i <= c.after; ++i)
            trace.Record(SimDirection::DeviceToHost, &i, 1);
        std::vector<uint8_t> first;
        for (const SimTraceEntry& e : trace.Entries())
            first.push_back(e.bytes[0]);
        EXPECT_EQ(first, c.expected) << "capacity " << c.capacity << ", " << c.before << " then " << c.after;
        EXPECT_EQ(trace.Recorded(), static_cast<uint64_t>(c.after));
    }
}

} // namespace
