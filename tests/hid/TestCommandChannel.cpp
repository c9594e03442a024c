#include "hid/CommandChannel.h"
#include "hid/ReportDump.h"
#include "platform/DebugLog.h"

#include "ChannelRig.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

Report Command(uint8_t code)
{
    Report r(ReportFrame::kSize, 0);
    r[0] = ReportFrame::kReportId;
    r[ReportFrame::kCommandOffset] = code;
    ReportFrame::StoreChecksum(r.data());
    return r;
}

Report WithCode(const Report& command, uint8_t code)
{
    Report r = ScriptedDevice::Echo(command);
    r[ReportFrame::kCommandOffset] = code;
    return r;
}

TEST(CommandChannel, ModeChunkAndBlockSize)
{
    SocketHidBackend backend;
    CommandChannel channel(backend);
    EXPECT_EQ(channel.ChunkSize(), 24);
    EXPECT_EQ(channel.BlockSize(), 512);
    EXPECT_FALSE(channel.IsOpen());
    EXPECT_FALSE(channel.PreviewHold());
    const std::pair<int, int> modes[] = {{2, 24}, {1, 56}, {0, 56}, {7, 56}};
    for (const auto& [mode, chunk] : modes) {
        channel.SetMode(mode);
        EXPECT_EQ(channel.ChunkSize(), chunk) << mode;
        EXPECT_EQ(channel.IsWireless(), mode == 2) << mode;
    }
    EXPECT_TRUE(channel.SetBlockSize(300));
    EXPECT_FALSE(channel.SetBlockSize(513));
    EXPECT_EQ(channel.BlockSize(), 300);
    EXPECT_TRUE(channel.SetBlockSize(512));
}

TEST(CommandChannel, ClosedChannelFailsWithoutWriting)
{
    ChannelRig rig(kChannelCable, ScriptedDevice::EchoAll(), false);
    ASSERT_TRUE(rig.Opened());
    const Report command = Command(0x01);
    uint8_t reply[64];
    size_t n = 7;
    EXPECT_EQ(rig.channel.Exchange(command.data(), command.size(), reply, sizeof reply, n), kResultNoReply);
    EXPECT_EQ(n, 0u);
    EXPECT_EQ(rig.channel.QuickExchange(command.data(), command.size(), reply, sizeof reply, n), kResultNoReply);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(rig.Received().empty());
}

// What a reply that does not echo the command does, on either link.
TEST(CommandChannel, RepliesThatDoNotEchoTheCommand)
{
    struct Case {
        const char* name;
        int mode;
        std::vector<uint8_t> firstCodes;  // codes of the replies to the first report (0 = the echo)
        int result;
        uint8_t replyCode;
    };
    const Case cases[] = {
        {"echo", kChannelCable, {0}, kResultOk, 0x05},
        {"stale reply, then the echo", kChannelCable, {0x33, 0}, kResultOk, 0x05},
        {"two stale replies: the second is handed over", kChannelCable, {0x33, 0x44, 0}, kResultOk, 0x44},
        {"0xAA through the receiver", kChannelWireless, {0xAA, 0}, kResultUnreachable, 0xAA},
        {"0xAA by cable reads again", kChannelCable, {0xAA, 0}, kResultOk, 0x05},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ChannelRig rig(c.mode, [&](size_t, const Report& r) {
            std::vector<Report> replies;
            for (uint8_t code : c.firstCodes)
                replies.push_back(code ? WithCode(r, code) : ScriptedDevice::Echo(r));
            return replies;
        });
        ASSERT_TRUE(rig.Opened());
        const Report command = Command(0x05);
        uint8_t reply[64] = {};
        size_t n = 0;
        EXPECT_EQ(rig.channel.Exchange(command.data(), command.size(), reply, sizeof reply, n), c.result);
        EXPECT_EQ(reply[ReportFrame::kCommandOffset], c.replyCode);
        EXPECT_EQ(n, 64u);
        EXPECT_FALSE(rig.channel.IsBusy());
    }
}

TEST(CommandChannel, NoReplyFailsAfterTheTwoReadsAndLeavesNothingPending)
{
    ChannelRig rig(kChannelCable, [](size_t index, const Report& r) {
        return index == 0 ? std::vector<Report>{} : std::vector<Report>{ScriptedDevice::Echo(r)};
    });
    ASSERT_TRUE(rig.Opened());
    const Report command = Command(0x01);
    uint8_t reply[64] = {};
    size_t n = 0;
    const auto start = Clock::now();
    EXPECT_EQ(rig.channel.Exchange(command.data(), command.size(), reply, sizeof reply, n), kResultNoReply);
    const auto elapsed = Clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(1900));
    EXPECT_LT(elapsed, std::chrono::seconds(6));
    EXPECT_EQ(rig.Received().size(), 1u);
    EXPECT_EQ(rig.channel.Exchange(command.data(), command.size(), reply, sizeof reply, n), kResultOk);
    EXPECT_EQ(rig.Received().size(), 2u);
}

TEST(CommandChannel, CloseWhileBlockedEndsTheExchange)
{
    ChannelRig rig(kChannelCable, [](size_t, const Report&) { return std::vector<Report>{}; });
    ASSERT_TRUE(rig.Opened());
    int result = kResultOk;
    std::thread exchanger([&] {
        const Report command = Command(0x01);
        uint8_t reply[64];
        size_t n = 0;
        result = rig.channel.Exchange(command.data(), command.size(), reply, sizeof reply, n);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const auto start = Clock::now();
    rig.channel.Cable().Close();
    exchanger.join();
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(900));  // well before the two 1 s reads
    EXPECT_EQ(result, kResultNoReply);
}

TEST(CommandChannel, DebugOutputShowsCommandAndReply)
{
    std::vector<std::string> texts;
    SetDebugSink([&](std::string_view t) { texts.emplace_back(t); });
    {
        ChannelRig rig(kChannelCable);
        ASSERT_TRUE(rig.Opened());
        const Report command = Command(0x01);
        uint8_t reply[64];
        size_t n = 0;
        EXPECT_EQ(rig.channel.Exchange(command.data(), command.size(), reply, sizeof reply, n), kResultOk);
    }
    SetDebugSink({});
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[0], "命令");
    EXPECT_EQ(texts[1], "04 01 00 01   00 00 00 00   00 00 00 00   00 00 00 00  00 00 00 00  00 00 00 00  "
                        "00 00 00 00  00 00 00 00");
    EXPECT_EQ(texts[3], "返回");
    EXPECT_EQ(texts[4], "04 01 00 01   00 00 00 00   00 01 02 03   04 05 06 07  08 09 0a 0b  0c 0d 0e 0f  "
                        "10 11 12 13  14 15 16 17");
}

} // namespace
