#include "SimClient.h"

#include "sim/SimHidBackend.h"
#include "sim/SimKeyboardFirmware.h"
#include "sim/SimMouseFirmware.h"

#include <gtest/gtest.h>

#include <utility>

using namespace simtest;

namespace {

class SimCommandsTest : public ::testing::Test {
protected:
    SimHidBackend sim{{SimProductKind::Mouse, SimProductKind::MouseReceiver, SimProductKind::Keyboard,
                       SimProductKind::KeyboardReceiver, SimProductKind::MousePad}};

    UniqueFd Open(SimProductKind kind) { return sim.OpenNode(SimHidBackend::NodePath(kind), true, true); }

    std::vector<uint8_t> Ask(int fd, const Frame& frame)
    {
        auto reply = Exchange(fd, frame);
        EXPECT_TRUE(reply.has_value()) << "no reply to command " << int(frame[3]);
        return reply.value_or(std::vector<uint8_t>(64, 0));
    }

    std::vector<uint8_t> Data(const std::vector<uint8_t>& reply, size_t n)
    {
        return {reply.begin() + 8, reply.begin() + 8 + static_cast<long>(n)};
    }
};

TEST_F(SimCommandsTest, ReadsAnswerWhatTheMemoryHolds)
{
    struct Case {
        SimProductKind kind;
        uint8_t command;
        uint8_t length;
        uint16_t address;
        SimRegion region;
    };
    const Case cases[] = {
        {SimProductKind::Mouse, kCmdReadInfo, 34, 0, SimRegion::Info},
        {SimProductKind::Mouse, kCmdReadParams, 56, 128, SimRegion::Params},
        {SimProductKind::Mouse, kCmdReadParams, 24, 1000, SimRegion::Params},  // last 24 of 1024
        {SimProductKind::Mouse, kCmdReadKeymap, 33, 0, SimRegion::Keymap},
        {SimProductKind::Mouse, kCmdReadPower, 6, 0, SimRegion::Power},
        {SimProductKind::Keyboard, kCmdReadKeymap, 56, 448, SimRegion::Keymap},
        {SimProductKind::Keyboard, kCmdReadLedMap, 56, 112, SimRegion::LedMap},
        {SimProductKind::Keyboard, kCmdReadParams, 26, 25, SimRegion::Params},
        {SimProductKind::MousePad, kCmdReadParams, 26, 0, SimRegion::Params},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "command " << int(c.command) << " at " << c.address);
        UniqueFd fd = Open(c.kind);
        const auto reply = Ask(fd.Get(), Command(c.command, c.length, c.address));
        ASSERT_EQ(reply.size(), 64u);
        EXPECT_EQ(reply[0], ReportFrame::kReportId);
        EXPECT_EQ(reply[3], c.command);
        EXPECT_EQ(reply[4], c.length);
        EXPECT_EQ(ReportFrame::ReadLe16(&reply[5]), c.address);
        EXPECT_EQ(reply[7], 0);
        const auto memory = sim.Memory(c.kind).Bytes(c.region);
        EXPECT_EQ(Data(reply, c.length),
                  std::vector<uint8_t>(memory.begin() + c.address, memory.begin() + c.address + c.length));
    }
}

TEST_F(SimCommandsTest, FactoryMemoryIsLaidOutAsTheProgramReadsIt)
{
    const auto& mouse = sim.Memory(SimProductKind::Mouse);
    EXPECT_EQ(mouse.At(SimRegion::Info, 5), SimMouseFirmware::kKeyCount);
    EXPECT_EQ(mouse.At(SimRegion::Info, 6), SimMouseFirmware::kMacroUnits);
    EXPECT_EQ(mouse.At(SimRegion::Info, 9) | mouse.At(SimRegion::Info, 10) << 8, 0x3325);
    EXPECT_EQ(mouse.At(SimRegion::Params, 0), 0);  // active profile
    EXPECT_EQ(mouse.Size(SimRegion::Macros), SimMouseFirmware::kMacroUnits * 128u);

    // Every logical mouse key is found once in the factory key table.
    const std::array<std::array<uint8_t, 3>, 11> logical = {{{0x10, 0x01, 0}, {0x10, 0x02, 0}, {0x10, 0x04, 0},
                                                            {0x10, 0x10, 0}, {0x10, 0x08, 0}, {0x13, 0x01, 0},
                                                            {0x13, 0x02, 0}, {0xA0, 0x02, 0}, {0xA0, 0x1B, 0},
                                                            {0x16, 0x90, 1}, {0x14, 0x78, 2}}};
    const auto keys = mouse.Bytes(SimRegion::Keymap);
    for (const auto& triple : logical) {
        int found = 0;
        for (size_t k = 0; k < SimMouseFirmware::kKeyCount; ++k)
            found += keys[3 * k] == triple[0] && keys[3 * k + 1] == triple[1] && keys[3 * k + 2] == triple[2];
        EXPECT_EQ(found, 1) << "key " << int(triple[0]) << " " << int(triple[1]);
    }

    // Keyboard: key 51 is the letter O (usage 0x12), key 105 the left Ctrl
    // modifier; a key with no function has no LED.
    const auto& keyboard = sim.Memory(SimProductKind::Keyboard);
    EXPECT_EQ(keyboard.At(SimRegion::Info, 5), 170);
    EXPECT_EQ(SimKeyboardFirmware::FactoryKey(51), (std::array<uint8_t, 3>{0x20, 0x00, 0x12}));
    EXPECT_EQ(SimKeyboardFirmware::FactoryKey(105), (std::array<uint8_t, 3>{0x20, 0x01, 0x00}));
    EXPECT_EQ(SimKeyboardFirmware::FactoryKey(122), (std::array<uint8_t, 3>{0xD0, 0xA2, 0x03}));
    EXPECT_EQ(keyboard.At(SimRegion::Keymap, 3 * 51 + 2), 0x12);
    EXPECT_EQ(keyboard.At(SimRegion::LedMap, 51), 51);
    EXPECT_EQ(keyboard.At(SimRegion::LedMap, 18), SimKeyboardFirmware::kNoLed);
}

TEST_F(SimCommandsTest, WritesLandInMemoryAndReadBack)
{
    UniqueFd fd = Open(SimProductKind::Keyboard);
    struct Case {
        uint8_t write;
        uint8_t read;  // 0: no read command for the area
        uint16_t address;
        SimRegion region;
    };
    const Case cases[] = {
        {kCmdWriteParams, kCmdReadParams, 0, SimRegion::Params},
        {kCmdWriteKeymap, kCmdReadKeymap, 480, SimRegion::Keymap},
        {kCmdWriteKeyColors, 0, 3 * 512 + 100, SimRegion::KeyColors},
        {kCmdLightFrame, 0, 500, SimRegion::LightFrame},
        {kCmdWriteMacros, 0, 8192 - 12, SimRegion::Macros},
    };
    const std::vector<uint8_t> data = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "command " << int(c.write));
        const auto written = Ask(fd.Get(), Command(c.write, 12, c.address, data));
        EXPECT_EQ(written[3], c.write);
        EXPECT_EQ(written[7], 0);
        const auto memory = sim.Memory(SimProductKind::Keyboard).Bytes(c.region);
        EXPECT_EQ(std::vector<uint8_t>(memory.begin() + c.address, memory.begin() + c.address + 12), data);
        if (c.read != 0) {
            EXPECT_EQ(Data(Ask(fd.Get(), Command(c.read, 12, c.address)), 12), data);
        }
    }

    UniqueFd mouse = Open(SimProductKind::Mouse);
    EXPECT_EQ(Ask(mouse.Get(), Command(kCmdWriteShoot, 12, 2048 - 12, data))[7], 0);
    EXPECT_EQ(sim.Memory(SimProductKind::Mouse).At(SimRegion::Shoot, 2047), 12);
}

TEST_F(SimCommandsTest, BadFramesAndRangesAreRefusedWithoutChange)
{
    UniqueFd fd = Open(SimProductKind::Mouse);
    const auto before = sim.Memory(SimProductKind::Mouse).Bytes(SimRegion::Params);
    const std::vector<uint8_t> data(56, 0x77);

    Frame badChecksum = Command(kCmdWriteParams, 8, 0, data);
    badChecksum[1] ^= 0x01;
    Frame tooLong = Command(kCmdWriteParams, 57, 0, data);

    struct Case {
        const char* what;
        Frame frame;
        uint8_t status;
    };
    const Case cases[] = {
        {"bad checksum", badChecksum, ReportFrame::kStatusRejected},
        {"length above 56", tooLong, ReportFrame::kStatusRejected},
        {"write past the end", Command(kCmdWriteParams, 8, 1020, data), ReportFrame::kStatusFailed},
        {"key table page 1", Command(kCmdWriteKeymap, 8, 512, data), ReportFrame::kStatusFailed},
        {"read past the info block", Command(kCmdReadInfo, 24, 24), ReportFrame::kStatusFailed},
        {"mouse has no LED map", Command(kCmdReadLedMap, 8, 0), ReportFrame::kStatusFailed},
        {"unknown command", Command(0x44), ReportFrame::kStatusFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto reply = Ask(fd.Get(), c.frame);
        EXPECT_EQ(reply[3], c.frame[3]);
        EXPECT_EQ(reply[7], c.status);
    }
    EXPECT_EQ(sim.Memory(SimProductKind::Mouse).Bytes(SimRegion::Params), before);
}

TEST_F(SimCommandsTest, ConfigLightControlAndLinkStatus)
{
    UniqueFd fd = Open(SimProductKind::Mouse);
    auto& firmware = sim.Product(SimProductKind::Mouse).Firmware();
    EXPECT_EQ(Ask(fd.Get(), Command(kCmdConfigBegin))[7], 0);
    EXPECT_TRUE(firmware.InConfig());
    EXPECT_EQ(Ask(fd.Get(), Command(kCmdConfigEnd))[7], 0);
    EXPECT_FALSE(firmware.InConfig());
    EXPECT_EQ(firmware.ConfigBegins(), 1u);
    EXPECT_EQ(firmware.ConfigEnds(), 1u);
    Ask(fd.Get(), Command(kCmdLightControl));
    EXPECT_EQ(firmware.LightControls(), 1u);

    const auto link = Ask(fd.Get(), Command(kCmdLinkStatus));
    EXPECT_EQ(link[3], kCmdLinkStatus);
    EXPECT_EQ(link[8], 0xFF);
}

TEST_F(SimCommandsTest, ReceiverSharesTheMouseMemoryAndCanLoseItsLink)
{
    const std::vector<uint8_t> data = {9, 8, 7};
    for (const auto& [cableKind, receiverKind] :
         {std::pair{SimProductKind::Keyboard, SimProductKind::KeyboardReceiver},
          std::pair{SimProductKind::Mouse, SimProductKind::MouseReceiver}}) {
        SCOPED_TRACE(SimKindName(receiverKind));
        UniqueFd cableFd = Open(cableKind);
        UniqueFd receiverFd = Open(receiverKind);
        EXPECT_EQ(Ask(receiverFd.Get(), Command(kCmdWriteParams, 3, 200, data))[7], 0);
        EXPECT_EQ(Data(Ask(cableFd.Get(), Command(kCmdReadParams, 3, 200)), 3), data);
        EXPECT_EQ(Ask(receiverFd.Get(), Command(kCmdLinkStatus))[8], 0xFF);
    }

    UniqueFd cable = Open(SimProductKind::Mouse);
    UniqueFd receiver = Open(SimProductKind::MouseReceiver);

    sim.Product(SimProductKind::MouseReceiver).SetLinkReachable(false);
    const auto link = Ask(receiver.Get(), Command(kCmdLinkStatus));
    EXPECT_EQ(link[3], kCmdLinkStatus);
    EXPECT_EQ(link[8], 0x00);
    const auto write = Ask(receiver.Get(), Command(kCmdWriteParams, 3, 200, {1, 1, 1}));
    EXPECT_EQ(write[3], ReportFrame::kUnreachable);
    EXPECT_EQ(Data(Ask(cable.Get(), Command(kCmdReadParams, 3, 200)), 3), data);

    // The cable product does not depend on the receiver's link.
    sim.Product(SimProductKind::Mouse).SetLinkReachable(false);
    EXPECT_EQ(Ask(cable.Get(), Command(kCmdReadParams, 3, 200))[3], kCmdReadParams);
}

TEST_F(SimCommandsTest, TraceHoldsBothDirections)
{
    UniqueFd fd = Open(SimProductKind::Mouse);
    auto& trace = sim.Product(SimProductKind::Mouse).Trace();
    trace.Clear();
    const Frame command = Command(kCmdReadParams, 1, 0);
    const auto reply = Ask(fd.Get(), command);
    const auto entries = trace.Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].direction, SimDirection::HostToDevice);
    EXPECT_TRUE(std::equal(command.begin(), command.end(), entries[0].bytes.begin()));
    EXPECT_EQ(entries[1].direction, SimDirection::DeviceToHost);
    EXPECT_TRUE(std::equal(reply.begin(), reply.end(), entries[1].bytes.begin()));

    trace.SetEnabled(false);
    Ask(fd.Get(), command);
    EXPECT_EQ(trace.Entries().size(), 2u);
    trace.Clear();
    EXPECT_TRUE(trace.Entries().empty());
}

TEST(SimTraceTest, RingKeepsTheNewestEntries)
{
    SimTrace trace(3);
    for (uint8_t i = 1; i <= 5; ++i)
        trace.Record(SimDirection::HostToDevice, &i, 1);
    const auto entries = trace.Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].bytes[0], 3);
    EXPECT_EQ(entries[2].bytes[0], 5);
    EXPECT_EQ(trace.Recorded(), 5u);
}

} // namespace
