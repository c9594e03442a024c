#include "hid/CommandSet.h"
#include "platform/DebugLog.h"

#include "ChannelRig.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>
#include <thread>

namespace {

using Chunks = std::vector<std::pair<int, int>>;

std::vector<uint8_t> Bytes(size_t n)
{
    std::vector<uint8_t> v(n);
    std::iota(v.begin(), v.end(), uint8_t{1});
    return v;
}

TEST(CommandSet, ConfigBeginIsTheBareFrame)
{
    ChannelRig rig(kChannelCable);
    ASSERT_TRUE(rig.Opened());
    EXPECT_EQ(rig.commands.CMD_CONFIG_BEGIN(), kResultOk);
    const auto received = rig.Received();
    ASSERT_EQ(received.size(), 1u);
    Report expected(64, 0);
    expected[0] = 0x04;
    expected[1] = 0x01;
    expected[3] = 0x01;
    EXPECT_EQ(received[0], expected);
}

TEST(CommandSet, WriteReportsCarryDataAndChecksum)
{
    ChannelRig rig(kChannelCable);
    ASSERT_TRUE(rig.Opened());
    const auto data = Bytes(60);
    EXPECT_EQ(rig.commands.CMD_WRITE_PARAMS(data.data(), data.size(), 0x0102), kResultOk);
    const auto received = rig.Received();
    ASSERT_EQ(received.size(), 2u);
    const Report& first = received[0];
    EXPECT_EQ(first[3], 0x06);
    EXPECT_EQ(first[4], 56);
    EXPECT_EQ(ReportFrame::ReadLe16(&first[5]), 0x0102);
    EXPECT_EQ(first[7], 0);
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 56, first.begin() + 8));
    EXPECT_EQ(ReportFrame::ReadLe16(&first[1]), ReportFrame::Checksum(first.data()));
    const Report& second = received[1];
    EXPECT_EQ(second[4], 4);
    EXPECT_EQ(ReportFrame::ReadLe16(&second[5]), 0x0102 + 56);
    EXPECT_TRUE(std::equal(data.begin() + 56, data.end(), second.begin() + 8));
    EXPECT_TRUE(std::all_of(second.begin() + 12, second.end(), [](uint8_t b) { return b == 0; }));
}

// Every command: its code, and the (length, address) of each report it sends.
TEST(CommandSet, CommandsAndTheirChunks)
{
    using Run = std::function<int(CommandSet&, CommandChannel&)>;
    struct Case {
        const char* name;
        int mode;
        Run run;
        uint8_t code;
        Chunks chunks;
    };
    static std::vector<uint8_t> buffer(1024);
    static const auto data = Bytes(200);
    const Case cases[] = {
        {"config end", kChannelCable, [](CommandSet& c, CommandChannel&) { return c.CMD_CONFIG_END(0); }, 0x02,
         {{0, 0}}},
        {"light control", kChannelCable, [](CommandSet& c, CommandChannel&) { return c.CMD_LIGHT_CONTROL(); },
         0x1C, {{0, 0}}},
        {"read params by cable", kChannelCable,
         [](CommandSet& c, CommandChannel&) { return c.CMD_READ_PARAMS(buffer.data(), 80, 128); }, 0x05,
         {{56, 128}, {24, 184}}},
        {"read params through the receiver", kChannelWireless,
         [](CommandSet& c, CommandChannel&) { return c.CMD_READ_PARAMS(buffer.data(), 80, 128); }, 0x05,
         {{24, 128}, {24, 152}, {24, 176}, {8, 200}}},
        {"read nothing", kChannelCable,
         [](CommandSet& c, CommandChannel&) { return c.CMD_READ_PARAMS(buffer.data(), 0, 128); }, 0x05, {}},
        {"read info through the receiver", kChannelWireless,
         [](CommandSet& c, CommandChannel&) { return c.CMD_READ_INFO(buffer.data()); }, 0x03, {{24, 0}, {10, 24}}},
        {"read keymap, block 120", kChannelCable,
         [](CommandSet& c, CommandChannel& ch) {
             ch.SetBlockSize(120);
             return c.CMD_READ_KEYMAP(buffer.data());
         },
         0x07, {{56, 0}, {56, 56}, {8, 112}}},
        {"write keymap page 0", kChannelCable,
         [](CommandSet& c, CommandChannel& ch) {
             ch.SetBlockSize(100);
             return c.CMD_WRITE_KEYMAP(data.data(), 0);
         },
         0x09, {{56, 0}, {44, 56}}},
        {"key colours page 2", kChannelCable,
         [](CommandSet& c, CommandChannel&) { return c.CMD_WRITE_KEY_COLORS(data.data(), 30, 2, 512); }, 0x0B,
         {{30, 1024}}},
        {"light frame by cable", kChannelCable,
         [](CommandSet& c, CommandChannel&) { return c.CMD_LIGHT_FRAME(data.data(), 60); }, 0x12,
         {{56, 0}, {4, 56}}},
        {"macros", kChannelWireless,
         [](CommandSet& c, CommandChannel&) { return c.CMD_WRITE_MACROS(data.data(), 30); }, 0x15,
         {{24, 0}, {6, 24}}},
        {"shoot is 56 even through the receiver", kChannelWireless,
         [](CommandSet& c, CommandChannel&) { return c.CMD_WRITE_SHOOT(data.data(), 100); }, 0x17,
         {{56, 0}, {44, 56}}},
        {"power is one report", kChannelWireless,
         [](CommandSet& c, CommandChannel&) { return c.CMD_READ_POWER(buffer.data(), 40, 0x20); }, 0x1A,
         {{40, 0x20}}},
        {"LED map is a third of the block", kChannelCable,
         [](CommandSet& c, CommandChannel&) { return c.CMD_READ_LED_MAP(buffer.data()); }, 0x1B,
         {{56, 0}, {56, 56}, {56, 112}, {2, 168}}},
        {"link status through the receiver", kChannelWireless,
         [](CommandSet& c, CommandChannel&) { return c.CMD_LINK_STATUS() ? 1 : 0; }, 0xAA, {{0, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The link status answer: product present (0xFF in byte 8).
        ChannelRig rig(c.mode, [](size_t, const Report& r) {
            Report reply = ScriptedDevice::Echo(r);
            if (r[3] == 0xAA)
                reply[8] = 0xFF;
            return std::vector<Report>{reply};
        });
        ASSERT_TRUE(rig.Opened());
        EXPECT_EQ(c.run(rig.commands, rig.channel), kResultOk);
        EXPECT_EQ(rig.Chunks(), c.chunks);
        for (const auto& report : rig.Received())
            EXPECT_EQ(report[3], c.code);
    }
}

TEST(CommandSet, ReadsCopyEachChunksData)
{
    // Data byte i of each reply is i + address, so the result is the memory image.
    ChannelRig rig(kChannelWireless, [](size_t, const Report& r) {
        return std::vector<Report>{ScriptedDevice::Echo(r, 0, static_cast<uint8_t>(ReportFrame::ReadLe16(&r[5])))};
    });
    ASSERT_TRUE(rig.Opened());
    std::vector<uint8_t> got(80, 0xEE);
    EXPECT_EQ(rig.commands.CMD_READ_PARAMS(got.data(), 70, 10), kResultOk);
    for (size_t i = 0; i < 70; ++i)
        EXPECT_EQ(got[i], static_cast<uint8_t>(i + 10)) << i;
    EXPECT_EQ(got[70], 0xEE);
    uint8_t power[4] = {};
    EXPECT_EQ(rig.commands.CMD_READ_POWER(power, 4, 0x30), kResultOk);
    EXPECT_EQ(power[0], 0x30);
    EXPECT_EQ(power[3], 0x33);
}

// Failures stop a transfer where they happen, with their code.
TEST(CommandSet, FailuresStopTheTransfer)
{
    struct Case {
        const char* name;
        int mode;
        size_t failAt;    // report index that gets the bad reply
        uint8_t status;   // its status byte
        std::function<int(CommandSet&)> run;
        int result;
        size_t reports;
    };
    static std::vector<uint8_t> data = Bytes(200);
    static uint8_t info[CommandSet::kInfoSize];
    const Case cases[] = {
        {"0xFE on the third chunk of a write", kChannelCable, 2, 0xFE,
         [](CommandSet& c) { return c.CMD_WRITE_PARAMS(data.data(), 150, 0); }, kResultStatusRejected, 3},
        {"0xFF on a bare command", kChannelCable, 0, 0xFF, [](CommandSet& c) { return c.CMD_CONFIG_BEGIN(); },
         kResultStatusFailed, 1},
        {"0xFE on the second info chunk", kChannelWireless, 1, 0xFE,
         [](CommandSet& c) {
             std::fill(std::begin(info), std::end(info), 0xEE);
             return c.CMD_READ_INFO(info);
         },
         kResultStatusRejected, 2},
        {"0xFE on a light frame", kChannelCable, 0, 0xFE, [](CommandSet& c) { return c.CMD_LIGHT_FRAME(data.data(), 100); },
         kResultStatusRejected, 1},
        {"keymap page 1 sends nothing", kChannelCable, 0, 0,
         [](CommandSet& c) { return c.CMD_WRITE_KEYMAP(data.data(), 1); }, kResultInvalidPage, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ChannelRig rig(c.mode, [&](size_t index, const Report& r) {
            return std::vector<Report>{ScriptedDevice::Echo(r, index == c.failAt ? c.status : 0)};
        });
        ASSERT_TRUE(rig.Opened());
        EXPECT_EQ(c.run(rig.commands), c.result);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_EQ(rig.Received().size(), c.reports);
    }
    // READ_INFO copies only when every report succeeded.
    EXPECT_TRUE(std::all_of(std::begin(info), std::end(info), [](uint8_t b) { return b == 0xEE; }));
}

TEST(CommandSet, LinkStatus)
{
    ChannelRig cable(kChannelCable);
    ASSERT_TRUE(cable.Opened());
    EXPECT_TRUE(cable.commands.CMD_LINK_STATUS());
    EXPECT_TRUE(cable.Received().empty());

    struct Case {
        const char* name;
        uint8_t status, presence;
        bool up;
    };
    const Case cases[] = {
        {"present", 0x00, 0xFF, true},
        {"absent", 0x00, 0x00, false},
        {"rejected", 0xFE, 0xFF, false},
        {"failed", 0xFF, 0xFF, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ChannelRig rig(kChannelWireless, [&](size_t, const Report& r) {
            Report reply = ScriptedDevice::Echo(r, c.status);
            reply[8] = c.presence;
            return std::vector<Report>{reply};
        });
        ASSERT_TRUE(rig.Opened());
        EXPECT_EQ(rig.commands.CMD_LINK_STATUS(), c.up);
    }
}

TEST(CommandSet, LightFramesAreSkippedThroughTheReceiverAndDroppedWhileBusy)
{
    const auto data = Bytes(100);
    {
        ChannelRig rig(kChannelWireless);
        ASSERT_TRUE(rig.Opened());
        EXPECT_EQ(rig.commands.CMD_LIGHT_FRAME(data.data(), data.size()), kResultOk);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_TRUE(rig.ReceivedByReceiver().empty());
        EXPECT_TRUE(rig.ReceivedByCable().empty());
    }
    // The device holds back its reply to the first report, so that exchange stays busy.
    std::atomic<bool> release{false};
    ChannelRig rig(kChannelCable, [&](size_t index, const Report& r) {
        while (index == 0 && !release)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return std::vector<Report>{ScriptedDevice::Echo(r)};
    });
    ASSERT_TRUE(rig.Opened());
    std::thread begin([&] { EXPECT_EQ(rig.commands.CMD_CONFIG_BEGIN(), kResultOk); });
    while (!rig.channel.IsBusy())
        std::this_thread::yield();
    std::vector<std::string> texts;
    SetDebugSink([&](std::string_view t) {
        if (t == "放弃灯光数据")
            texts.emplace_back(t);
    });
    EXPECT_EQ(rig.commands.CMD_LIGHT_FRAME(data.data(), data.size()), kResultOk);
    SetDebugSink({});
    release = true;
    begin.join();
    EXPECT_EQ(texts.size(), 2u);  // both chunks dropped
    EXPECT_EQ(rig.Received().size(), 1u);
}

} // namespace
