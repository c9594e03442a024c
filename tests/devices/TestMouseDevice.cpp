#include "ModelTestSupport.h"

#include "devices/VarnokMouseDevice.h"
#include "hid/ReportFrame.h"
#include "sim/SimMouseFirmware.h"

#include <gtest/gtest.h>

using namespace modeltest;

namespace {

class MouseDeviceTest : public ::testing::Test {
protected:
    void SetUp() override { data.SetEffectCodes({0, 7, 3, 9, 1, 2, 4, 5, 6, 8}); }

    void Attach(SimProductKind kind = SimProductKind::Mouse)
    {
        AttachDevice(mouse, sim, kind, data, &page, 0);
    }

    SimMemory& Memory() { return sim.Memory(SimProductKind::Mouse); }

    void Connect(SimProductKind kind = SimProductKind::Mouse)
    {
        Attach(kind);
        mouse.Connect();
        mouse.StopPreviewThread();
    }

    // The host's reports of one command code.
    std::vector<SimTraceEntry> Sent(uint8_t code, SimProductKind kind = SimProductKind::Mouse)
    {
        std::vector<SimTraceEntry> out;
        for (const auto& e : sim.Product(kind).Trace().Entries(SimDirection::HostToDevice))
            if (e.bytes[ReportFrame::kCommandOffset] == code)
                out.push_back(e);
        return out;
    }

    std::vector<uint8_t> Bytes(SimRegion region, size_t from, size_t count)
    {
        std::vector<uint8_t> out(count);
        EXPECT_TRUE(Memory().Read(region, from, out.data(), count));
        return out;
    }

    KeyEntry MacroKey(uint8_t macro, const KeyEntry& base)
    {
        KeyEntry e = base;
        e[2] = kMacroFunction;
        e[3] = macro;
        e[4] = 0;
        return e;
    }

    DataSandbox data;
    SimHidBackend sim{{SimProductKind::Mouse, SimProductKind::MouseReceiver}};
    RecordingObserver page;
    CVarnokMouseDevice mouse{sim};
};

TEST_F(MouseDeviceTest, ConnectReadsInformationKeyMapAndTheActiveBlock)
{
    Connect();
    EXPECT_EQ(mouse.Info()[5], SimMouseFirmware::kKeyCount);
    // The emulated mouse keeps the fourth and fifth buttons in the other order.
    const std::array<uint8_t, 11> expected = {0, 1, 2, 4, 3, 5, 6, 7, 8, 9, 10};
    EXPECT_EQ(mouse.LogicalKeyMap(), expected);
    EXPECT_EQ(mouse.ActiveProfile(), 0);
    EXPECT_GE(page.refreshes, 1);
}

TEST_F(MouseDeviceTest, ReadBackMapsTheEffectCodeAndReversesSpeed)
{
    struct Case {
        uint8_t code, byte3;
        uint8_t index, speed;
    };
    const Case cases[] = {
        {9, 0, 3, 4},     // code 9 sits at position 3; a stored 0 is speed 4
        {7, 4, 1, 0},
        {0, 2, 0, 2},
        {42, 1, 42, 3},   // not in the list: the code stays the index
    };
    Attach();
    mouse.LoadProfile();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << int(c.code));
        const uint8_t bytes[] = {c.code, 0, c.byte3};
        ASSERT_TRUE(Memory().Write(SimRegion::Params, 1, bytes, sizeof bytes));
        int profile = -1;
        ASSERT_TRUE(mouse.ReadProfileBlock(profile));
        EXPECT_EQ(profile, 0);
        EXPECT_EQ(mouse.StoredBlock()[1], c.index);
        EXPECT_EQ(mouse.GetLightInfoRecord().selectItem, c.index);
        EXPECT_EQ(mouse.GetLightInfoRecord().speed, c.speed);
        EXPECT_EQ(mouse.Profile().ReadLightInfo().speed, c.speed);
    }
}

TEST_F(MouseDeviceTest, ReadBackFromAnotherProfileAndAClosedChannel)
{
    Attach();
    const uint8_t active = 2;
    ASSERT_TRUE(Memory().Write(SimRegion::Params, 0, &active, 1));
    const uint8_t light = 1;
    ASSERT_TRUE(Memory().Write(SimRegion::Params, 2 * 128 + 2, &light, 1));
    int profile = -1;
    ASSERT_TRUE(mouse.ReadProfileBlock(profile));
    EXPECT_EQ(profile, 2);
    EXPECT_EQ(mouse.StoredBlock()[0], 2);
    EXPECT_EQ(mouse.StoredBlock()[2], 1);
    EXPECT_EQ(mouse.StoredBlock()[10], 0);

    DeviceAttach::Detach(mouse.ChannelA());
    EXPECT_FALSE(mouse.ReadProfileBlock(profile));
}

TEST_F(MouseDeviceTest, ProfileBlockCarriesLightingStagesScreenAndCorrection)
{
    Connect();
    LightInfoRecord info = mouse.Profile().ReadLightInfo();
    info.selectItem = 2;  // code 3
    info.speed = 1;
    info.light = 3;
    info.fx = 1;
    info.red = 10;
    info.green = 20;
    info.blue = 30;
    info.clColor = 5;
    mouse.Profile().WriteLightInfo(info);
    std::vector<DpiStage> stages = mouse.Profile().ReadDpiStages();
    ASSERT_GE(stages.size(), 2u);
    stages[1].dpiX = 0x0123;
    stages[1].dpiY = 0x0045;
    stages[1].xy = 1;
    mouse.Profile().WriteDpiStages(stages);
    mouse.Profile().WriteActiveStage(4);

    // Leave bytes the program does not write recognisable.
    const std::vector<uint8_t> marker(5, 0xEE);
    ASSERT_TRUE(Memory().Write(SimRegion::Params, 75, marker.data(), marker.size()));
    ASSERT_EQ(mouse.WriteProfileBlock(0, 0, 1, 2560, 1440), 1);

    const auto block = Bytes(SimRegion::Params, 0, 80);
    EXPECT_EQ(block[0], 0);
    EXPECT_EQ(block[1], 3);
    EXPECT_EQ(block[2], 3);
    EXPECT_EQ(block[3], 3);  // 4 - speed
    EXPECT_EQ(block[4], 1);
    EXPECT_EQ((std::vector<uint8_t>(block.begin() + 6, block.begin() + 10)), (std::vector<uint8_t>{10, 20, 30, 5}));
    EXPECT_EQ(block[10], 0);
    EXPECT_EQ(block[11], 3);  // factory polling stage
    EXPECT_EQ(block[12], 4);
    const uint8_t* stage1 = &block[14 + 9];
    EXPECT_EQ(stage1[1], 1);
    EXPECT_EQ(ReportFrame::ReadLe16(stage1 + 2), 0x0123);
    EXPECT_EQ(ReportFrame::ReadLe16(stage1 + 4), 0x0045);
    EXPECT_EQ(ReportFrame::ReadLe16(&block[69]), 2560);
    EXPECT_EQ(ReportFrame::ReadLe16(&block[71]), 1440);
    // The factory selection is the "off" correction entry: 0, 0.
    EXPECT_EQ(block[73], 0);
    EXPECT_EQ(block[74], 0);
    EXPECT_EQ((std::vector<uint8_t>(block.begin() + 75, block.end())), marker);
}

TEST_F(MouseDeviceTest, ProfileBlockTakesTheSelectedCorrectionAndClampsLateEffects)
{
    Json::Value doc = ReadJsonFile(data.DefaultData() / "mouse.Json");
    Json::Value& correct = doc["Device"][0]["CorrectInfo"];
    correct[0]["CorrectSelect"] = 0;
    correct[2]["CorrectSelect"] = 1;
    doc["Device"][0]["LightInfo"]["SelectItem"] = 12;
    ASSERT_TRUE(StoreJsonFileChecked(data.DefaultData() / "mouse.Json", doc));
    Connect();
    ASSERT_EQ(mouse.WriteProfileBlock(0, 0, 1, 1920, 1080), 1);
    EXPECT_EQ(Memory().At(SimRegion::Params, 1), 0);   // index 12 is sent as the code of index 0
    EXPECT_EQ(Memory().At(SimRegion::Params, 73), 9);  // CorrectMinSq
    EXPECT_EQ(Memory().At(SimRegion::Params, 74), 16); // CorrectPixThresh
}

TEST_F(MouseDeviceTest, KeyTableSkipsAbsentKeysCompactsMacrosAndRestoresMissingOnes)
{
    // No key with the factory triple of logical key 8.
    const uint8_t other[] = {0x10, 0x40, 0x00};
    ASSERT_TRUE(Memory().Write(SimRegion::Keymap, 8 * 3, other, 3));
    data.WriteMacros("mouse", {1, 1, 1, 1, 1, 1, 1});
    Connect();
    EXPECT_EQ(mouse.LogicalKeyMap()[8], CVarnokMouseDevice::kAbsent);

    std::vector<KeyEntry> keys = mouse.Keys();
    ASSERT_EQ(keys.size(), 11u);
    keys[0] = MacroKey(5, keys[0]);
    keys[1] = MacroKey(2, keys[1]);
    keys[2] = MacroKey(5, keys[2]);
    keys[3] = MacroKey(7, keys[3]);  // past the seven macros
    keys[8] = MacroKey(6, keys[8]);  // absent key: neither written nor counted
    mouse.SetKeys(keys);
    EXPECT_EQ(mouse.CollectUsedMacros(), (std::vector<int>{5, 2}));
    ASSERT_EQ(mouse.WriteKeyTable(keys), 1);

    const auto table = Bytes(SimRegion::Keymap, 0, 33);
    auto at = [&](size_t position) { return std::vector<uint8_t>(&table[position * 3], &table[position * 3 + 3]); };
    EXPECT_EQ(at(0), (std::vector<uint8_t>{0x70, 0, 0}));
    EXPECT_EQ(at(1), (std::vector<uint8_t>{0x70, 1, 0}));
    EXPECT_EQ(at(2), (std::vector<uint8_t>{0x70, 0, 0}));
    EXPECT_EQ(at(4), (std::vector<uint8_t>{0x10, 0x10, 0x00}));  // logical key 3, given its default
    EXPECT_EQ(at(8), (std::vector<uint8_t>{0x10, 0x40, 0x00}));  // untouched
}

TEST_F(MouseDeviceTest, MacroImageHeaderOffsetsAndEvents)
{
    data.WriteMacros("mouse", {2, 3});
    Connect();
    ASSERT_EQ(mouse.WriteMacros({1, 0}), 0);
    const size_t total = 16 + 6 * 2 + 4 * 5;
    const auto image = Bytes(SimRegion::Macros, 0, total);
    EXPECT_EQ(image[0], 0xAA);
    EXPECT_EQ(image[1], 0x55);
    EXPECT_EQ(ReportFrame::ReadLe16(&image[2]), total);
    EXPECT_EQ(ReportFrame::ReadLe16(&image[4]), 2);
    EXPECT_EQ(ReportFrame::ReadLe16(&image[16]), 20);           // first entry: macro 1, three events
    EXPECT_EQ(ReportFrame::ReadLe16(&image[18]), 20 + 4 + 12);  // second: macro 0
    EXPECT_EQ(ReportFrame::ReadLe16(&image[20]), 3);
    // First event of macro 1: delay 1, "down" type 1 with bit 7, button 1.
    EXPECT_EQ((std::vector<uint8_t>(&image[24], &image[28])), (std::vector<uint8_t>{1, 0, 0x81, 1}));
    EXPECT_EQ((std::vector<uint8_t>(&image[28], &image[32])), (std::vector<uint8_t>{2, 0, 0x01, 1}));
    EXPECT_EQ(ReportFrame::ReadLe16(&image[36]), 2);
}

TEST_F(MouseDeviceTest, MacroCapacityExactlyFullIsSentOneEventOverIsNot)
{
    struct Case {
        std::vector<int> events;
        int result;
        bool sent;
    };
    // Capacity 128: two entries take 28 bytes, 25 events fill the rest.
    const Case cases[] = {
        {{12, 13}, 0, true},
        {{13, 13}, 2, false},  // 4 bytes over
        {{20, 20}, 16, false},
    };
    const uint8_t units = 1;
    ASSERT_TRUE(Memory().Write(SimRegion::Info, 6, &units, 1));
    Connect();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.events[0] << "+" << c.events[1] << " events");
        data.WriteMacros("mouse", c.events);
        sim.Product(SimProductKind::Mouse).Trace().Clear();
        EXPECT_EQ(mouse.WriteMacros({0, 1}), c.result);
        EXPECT_EQ(!Sent(kCmdWriteMacros).empty(), c.sent);
    }
}

TEST_F(MouseDeviceTest, RecoilImageGoesOutIn56ByteChunks)
{
    const auto folder = data.AppData() / "mouse";
    std::filesystem::create_directories(folder);
    for (int i = 0; i < 4; ++i) {
        Json::Value file;
        file["Events"] = DataSandbox::Events(3 + i, i);
        ASSERT_TRUE(StoreJsonFileChecked(folder / ("ShootData_" + std::to_string(i) + ".Shoot"), file));
    }
    Connect();
    sim.Product(SimProductKind::Mouse).Trace().Clear();
    ASSERT_EQ(mouse.WriteRecoil(), 0);
    const size_t total = 16 + 6 * 4 + 4 * (3 + 4 + 5 + 6);
    const auto chunks = Sent(kCmdWriteShoot);
    ASSERT_EQ(chunks.size(), (total + 55) / 56);
    size_t offset = 0;
    for (const auto& chunk : chunks) {
        EXPECT_EQ(ReportFrame::ReadLe16(&chunk.bytes[ReportFrame::kAddressOffset]), offset);
        EXPECT_EQ(chunk.bytes[ReportFrame::kLengthOffset], std::min<size_t>(56, total - offset));
        offset += chunk.bytes[ReportFrame::kLengthOffset];
    }
    const auto image = Bytes(SimRegion::Shoot, 0, total);
    EXPECT_EQ(ReportFrame::ReadLe16(&image[2]), total);
    EXPECT_EQ(ReportFrame::ReadLe16(&image[4]), 4);
}

TEST_F(MouseDeviceTest, PowerRecordMarksTheLink)
{
    for (SimProductKind kind : {SimProductKind::Mouse, SimProductKind::MouseReceiver}) {
        SCOPED_TRACE(SimKindName(kind));
        CVarnokMouseDevice device{sim};
        RecordingObserver observer;
        AttachDevice(device, sim, kind, data, &observer, 0);
        device.QueryPower();
        ASSERT_TRUE(observer.power.has_value());
        EXPECT_EQ((*observer.power)[3], kind == SimProductKind::MouseReceiver ? 1 : 0);
        EXPECT_EQ(observer.battery, SimMouseFirmware::kBatteryLevel);
    }
}

TEST_F(MouseDeviceTest, ReceiverOutOfReachSendsNothing)
{
    Attach(SimProductKind::MouseReceiver);
    sim.Product(SimProductKind::MouseReceiver).SetLinkReachable(false);
    EXPECT_FALSE(mouse.IsLinkUp());
    EXPECT_EQ(mouse.WriteProfileBlock(0, 0, 1, 1920, 1080), 0);
    mouse.QueryPower();
    EXPECT_FALSE(page.power.has_value());
    EXPECT_TRUE(Sent(kCmdWriteParams, SimProductKind::MouseReceiver).empty());
}

TEST_F(MouseDeviceTest, DeviceCodesSetProfileAndDpiStage)
{
    struct Case {
        int code;
        int profile;
        uint8_t stage;
        bool handled;
    };
    const Case cases[] = {
        {0x1123, 3, 2, true},
        {0x1005, 5, 2, true},  // profile only; the stage stays
        {0x1200, 5, 2, false},
    };
    Connect();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.code);
        page.codes.clear();
        mouse.OnDeviceCode(c.code);
        EXPECT_EQ(mouse.ActiveProfile(), c.profile);
        EXPECT_EQ(mouse.StoredBlock()[12], c.stage);
        EXPECT_EQ(page.codes.size(), c.handled ? 1u : 0u);
    }
}

TEST_F(MouseDeviceTest, ApplyStopsAtAMacroOverflowBeforeTheKeyTable)
{
    const uint8_t units = 1;
    ASSERT_TRUE(Memory().Write(SimRegion::Info, 6, &units, 1));
    data.WriteMacros("mouse", {40});
    Connect();
    std::vector<KeyEntry> keys = mouse.Keys();
    keys[0] = MacroKey(0, keys[0]);
    mouse.Profile().WriteKeyList(keys);
    mouse.SaveProfileData();
    sim.Product(SimProductKind::Mouse).Trace().Clear();

    mouse.ApplySelectedProfile();
    EXPECT_EQ(page.messages, (std::vector<std::string>{"message_text_16 " + std::to_string((16 + 6 + 160 - 128) / 4 + 1)}));
    EXPECT_FALSE(Sent(kCmdWriteParams).empty());
    EXPECT_TRUE(Sent(kCmdWriteMacros).empty());
    EXPECT_TRUE(Sent(kCmdWriteKeymap).empty());
}

TEST_F(MouseDeviceTest, ApplyWritesBlockMacrosAndKeys)
{
    data.WriteMacros("mouse", {2});
    Connect();
    std::vector<KeyEntry> keys = mouse.Keys();
    keys[1] = MacroKey(0, keys[1]);
    mouse.Profile().WriteKeyList(keys);
    mouse.SaveProfileData();
    mouse.ApplySelectedProfile();
    EXPECT_TRUE(page.messages.empty());
    EXPECT_EQ(Memory().At(SimRegion::Macros, 0), 0xAA);
    EXPECT_EQ(Memory().At(SimRegion::Keymap, 3), 0x70);
}

TEST_F(MouseDeviceTest, MacroWriteOnAClosedChannelIsAFailure)
{
    data.WriteMacros("mouse", {2});
    Connect();
    DeviceAttach::Detach(mouse.ChannelA());
    EXPECT_EQ(mouse.WriteMacros({0}), -1);
}

TEST_F(MouseDeviceTest, FixedColourAfterRefreshOfTheStaticEffect)
{
    Connect();
    const uint8_t code = 3;  // index 2, the static effect
    ASSERT_TRUE(Memory().Write(SimRegion::Params, 1, &code, 1));
    const uint8_t fixed = 3;
    ASSERT_TRUE(Memory().Write(SimRegion::Params, 9, &fixed, 1));
    mouse.RefreshFromDevice();
    const LightInfoRecord info = mouse.GetLightInfoRecord();
    EXPECT_EQ(info.selectItem, 2);
    EXPECT_EQ((std::array<uint8_t, 3>{info.red, info.green, info.blue}), (std::array<uint8_t, 3>{255, 0, 138}));
}

}  // namespace
