#include "SimClient.h"

#include "sim/SimHidBackend.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace simtest;

namespace {

class SimFaultsTest : public ::testing::Test {
protected:
    SimHidBackend sim{{SimProductKind::Mouse, SimProductKind::MouseReceiver}};
    SimProduct& mouse = sim.Product(SimProductKind::Mouse);
    UniqueFd fd = sim.OpenNode("sim:mouse", true, true);

    // A chunked write of three 8-byte chunks at addresses 256, 264, 272;
    // returns the status of each reply (-1: no reply).
    std::vector<int> WriteThreeChunks(int descriptor)
    {
        std::vector<int> statuses;
        for (uint16_t chunk = 0; chunk < 3; ++chunk) {
            const auto reply = Exchange(descriptor, Command(kCmdWriteParams, 8, static_cast<uint16_t>(256 + 8 * chunk),
                                                            std::vector<uint8_t>(8, static_cast<uint8_t>(0xC0 + chunk))),
                                        300);
            statuses.push_back(reply ? (*reply)[7] : -1);
        }
        return statuses;
    }

    uint8_t ParamAt(size_t address) { return sim.Memory(SimProductKind::Mouse).At(SimRegion::Params, address); }
};

TEST_F(SimFaultsTest, StatusOnTheNthReportStopsThatChunkOnly)
{
    struct Case {
        SimFaultKind kind;
        int status;
    };
    for (const Case c : {Case{SimFaultKind::StatusFailed, 0xFF}, Case{SimFaultKind::StatusRejected, 0xFE},
                         Case{SimFaultKind::NoReply, -1}}) {
        SCOPED_TRACE(c.status);
        sim.ResetToFactory();
        mouse.Faults().Arm({c.kind, 3});
        EXPECT_EQ(WriteThreeChunks(fd.Get()), (std::vector<int>{0, 0, c.status}));
        EXPECT_EQ(ParamAt(256), 0xC0);
        EXPECT_EQ(ParamAt(264), 0xC1);
        EXPECT_NE(ParamAt(272), 0xC2);  // the faulted chunk was not executed
    }
}

TEST_F(SimFaultsTest, FaultOnEveryReportUntilCleared)
{
    mouse.Faults().Add({SimFaultKind::StatusFailed, 0});
    EXPECT_EQ(WriteThreeChunks(fd.Get()), (std::vector<int>{0xFF, 0xFF, 0xFF}));
    mouse.Faults().Clear();
    EXPECT_EQ(WriteThreeChunks(fd.Get()), (std::vector<int>{0, 0, 0}));
}

TEST_F(SimFaultsTest, StaleReplyComesBeforeTheRealOne)
{
    ASSERT_TRUE(Exchange(fd.Get(), Command(kCmdConfigBegin)));
    mouse.Faults().Arm({SimFaultKind::StaleReply, 1});  // counted from here
    ASSERT_TRUE(Send(fd.Get(), Command(kCmdReadParams, 1, 0)));
    const auto stale = Receive(fd.Get());
    const auto real = Receive(fd.Get());
    ASSERT_TRUE(stale && real);
    EXPECT_EQ((*stale)[3], kCmdConfigBegin);
    EXPECT_EQ((*real)[3], kCmdReadParams);
    EXPECT_FALSE(Receive(fd.Get(), 100));

    // With no earlier reply of another code the stale one carries code 0.
    mouse.Faults().Arm({SimFaultKind::StaleReply, 1});
    ASSERT_TRUE(Send(fd.Get(), Command(kCmdReadParams, 1, 0)));
    EXPECT_EQ((*Receive(fd.Get()))[3], 0x00);
    EXPECT_EQ((*Receive(fd.Get()))[3], kCmdReadParams);
}

TEST_F(SimFaultsTest, UnreachableAnswersWith0xAA)
{
    UniqueFd receiver = sim.OpenNode("sim:mouse-receiver", true, true);
    sim.Product(SimProductKind::MouseReceiver).Faults().Add({SimFaultKind::Unreachable, 1});
    const uint8_t before = ParamAt(400);
    const auto first = Exchange(receiver.Get(), Command(kCmdWriteParams, 1, 400, {0x42}));
    ASSERT_TRUE(first);
    EXPECT_EQ((*first)[3], ReportFrame::kUnreachable);
    EXPECT_EQ(ParamAt(400), before);
    const auto second = Exchange(receiver.Get(), Command(kCmdWriteParams, 1, 400, {0x42}));
    ASSERT_TRUE(second);
    EXPECT_EQ((*second)[3], kCmdWriteParams);
    EXPECT_EQ(ParamAt(400), 0x42);
}

TEST_F(SimFaultsTest, UnplugAfterTheNthReportHangsUpMidTransfer)
{
    UniqueFd events = sim.OpenNode("sim:mouse", true, false);
    mouse.Faults().Add({SimFaultKind::Unplug, 2});
    const auto statuses = WriteThreeChunks(fd.Get());
    EXPECT_EQ(statuses[0], 0);
    EXPECT_EQ(statuses[1], 0);  // the second report is answered, then the node goes
    EXPECT_EQ(statuses[2], -1);
    EXPECT_TRUE(HungUp(fd.Get()));
    EXPECT_TRUE(HungUp(events.Get()));
    EXPECT_FALSE(sim.IsPlugged(SimProductKind::Mouse));
    EXPECT_FALSE(sim.QueryNode("sim:mouse"));
    EXPECT_EQ(ParamAt(264), 0xC1);
    EXPECT_NE(ParamAt(272), 0xC2);
}

TEST_F(SimFaultsTest, SlowRepliesArriveLate)
{
    mouse.Faults().Add({SimFaultKind::Delay, 0, 300});
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(Send(fd.Get(), Command(kCmdReadInfo, 34)));
    EXPECT_FALSE(Receive(fd.Get(), 100));
    const auto reply = Receive(fd.Get(), 3000);
    ASSERT_TRUE(reply);
    EXPECT_EQ((*reply)[3], kCmdReadInfo);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));

    // Other products are not held up by a slow one.
    mouse.Faults().Arm({SimFaultKind::Delay, 0, 1500});
    UniqueFd receiver = sim.OpenNode("sim:mouse-receiver", true, true);
    ASSERT_TRUE(Send(fd.Get(), Command(kCmdReadInfo, 34)));
    EXPECT_TRUE(Exchange(receiver.Get(), Command(kCmdReadInfo, 34), 3000));
    EXPECT_FALSE(Receive(fd.Get(), 0));
    EXPECT_TRUE(Receive(fd.Get(), 5000));
}

} // namespace
