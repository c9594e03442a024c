#include "devices/DeviceAttach.h"
#include "devices/KeyboardLightingPreview.h"
#include "devices/VarnokKeyboardDevice.h"
#include "hid/ReportFrame.h"
#include "platform/DebugLog.h"
#include "profiles/JsonFile.h"
#include "sim/SimHidBackend.h"

#include <gtest/gtest.h>
#include <json/value.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

class TempDir {
public:
    TempDir()
    {
        std::string pattern = (fs::temp_directory_path() / "gd-keyboard-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~TempDir()
    {
        std::error_code ec;
        fs::remove_all(m_path, ec);
    }
    const fs::path& Path() const { return m_path; }

private:
    fs::path m_path;
};

struct Recorder : DevicePageObserver {
    std::mutex mutex;
    std::vector<std::array<uint8_t, 6>> power;
    std::vector<int> codes;
    std::vector<std::string> messages;
    int refreshes = 0;
    void RefreshPage(CVarnokUSBDevice&) override { ++refreshes; }
    void PowerRecord(const std::array<uint8_t, 6>& record, int) override { power.push_back(record); }
    void DeviceCode(int code) override { codes.push_back(code); }
    void ShowMessage(const std::string& key, std::optional<int>) override { messages.push_back(key); }
};

struct DebugLines {
    std::mutex mutex;
    std::vector<std::string> lines;
    DebugLines()
    {
        SetDebugSink([this](std::string_view text) {
            std::lock_guard lock(mutex);
            lines.emplace_back(text);
        });
    }
    ~DebugLines() { SetDebugSink({}); }
    int Count(const std::string& text)
    {
        std::lock_guard lock(mutex);
        return static_cast<int>(std::count(lines.begin(), lines.end(), text));
    }
};

// An emulated keyboard on its cable (or receiver) and a keyboard model with
// its own data folder; the factory data is the shipped one.
class KeyboardRig {
public:
    explicit KeyboardRig(SimProductKind link = SimProductKind::Keyboard, bool connect = true)
        : sim({SimProductKind::Keyboard, SimProductKind::KeyboardReceiver}), kb(sim)
    {
        kb.SetDataFolders(CDataFolders(dir.Path() / "app", GD_TEST_DEFAULT_DATA));
        kb.SetProfileId(L"test");
        kb.SetKeyCount(170);
        kb.SetLedCount(170);
        kb.SetPageObserver(&observer);
        kb.SetPause([this](int ms) { pauses.push_back(ms); });
        link_ = link;
        if (connect)
            Attach();
    }
    ~KeyboardRig()
    {
        kb.StopPreviewThread();
        DeviceAttach::Detach(kb.ChannelA());
    }

    bool Attach()
    {
        const DeviceKind want = link_ == SimProductKind::Keyboard ? DeviceKind::Keyboard : DeviceKind::KeyboardReceiver;
        for (const DeviceSlot& slot : DeviceAttach::Scan(sim))
            if (slot.kind == want && slot.role == kRoleCommand)
                return DeviceAttach::Attach(kb.ChannelA(), slot);
        return false;
    }

    SimMemory& Memory() { return sim.Memory(SimProductKind::Keyboard); }
    SimProduct& Product() { return sim.Product(link_); }
    std::vector<uint8_t> Bytes(SimRegion region, size_t at, size_t n)
    {
        std::vector<uint8_t> out(n);
        Memory().Read(region, at, out.data(), n);
        return out;
    }
    // The host reports of one command code since the trace was cleared.
    std::vector<SimTraceEntry> Sent(uint8_t command)
    {
        std::vector<SimTraceEntry> out;
        for (const auto& e : Product().Trace().Entries(SimDirection::HostToDevice))
            if (e.bytes[ReportFrame::kCommandOffset] == command)
                out.push_back(e);
        return out;
    }
    void WriteMacroList(int count, int eventsEach)
    {
        const fs::path folder = kb.GetDeviceDataFolder();
        Json::Value list(Json::objectValue);
        for (int i = 0; i < count; ++i) {
            Json::Value item;
            item["MacroName"] = "m" + std::to_string(i);
            item["Guid"] = "g" + std::to_string(i);
            list["MacroInfo"].append(item);
            Json::Value file(Json::objectValue);
            file["Events"] = Json::Value(Json::arrayValue);
            for (int e = 0; e < eventsEach; ++e) {
                Json::Value event;
                event["Type"] = 1;
                event["Action"] = "down";
                event["Button"] = 4 + i;
                event["Delay"] = 10;
                file["Events"].append(event);
            }
            StoreJsonFileChecked(folder / ("g" + std::to_string(i) + ".mac"), file);
        }
        StoreJsonFileChecked(folder / "macro.config", list);
    }

    TempDir dir;
    SimHidBackend sim;
    Recorder observer;
    std::vector<int> pauses;
    CVarnokKeyboardDevice kb;

private:
    SimProductKind link_;
};

KeyEntry Assign(uint8_t type, uint8_t p1, uint8_t p2, size_t logicalKey)
{
    const auto f = KeyboardLayout::FactoryKey(logicalKey);
    return {static_cast<uint8_t>(logicalKey), 0, type, p1, p2, 0, static_cast<uint8_t>(logicalKey), 0,
            f[0], f[1], f[2], 0};
}

std::vector<KeyEntry> FactoryKeys()
{
    std::vector<KeyEntry> keys;
    for (size_t j = 0; j < 170; ++j) {
        const auto f = KeyboardLayout::FactoryKey(j);
        keys.push_back(Assign(f[0], f[1], f[2], j));
    }
    return keys;
}

} // namespace

TEST(KeyboardDevice, ConnectReadsTablesAndTheActiveBlockAndStartsThePreview)
{
    DebugLines debug;
    {
        KeyboardRig rig;
        rig.kb.Connect();
        EXPECT_EQ(rig.kb.Info()[5], 170);
        EXPECT_EQ(rig.kb.LogicalKeys().Position(51), 51);
        EXPECT_EQ(rig.kb.LogicalKeys().Led(51), 51);
        EXPECT_EQ(rig.kb.LogicalKeys().Position(18), KeyboardKeyMap::kAbsent);
        // The emulator's factory block: effect code 1, brightness 4, speed byte 2, multi-colour, green.
        const LightInfoRecord light = rig.kb.GetLightInfoRecord();
        EXPECT_EQ(light.selectItem, 1);
        EXPECT_EQ(light.light, 4);
        EXPECT_EQ(light.speed, 2);
        EXPECT_EQ(light.multiColor, 1);
        EXPECT_EQ(light.green, 255);
        EXPECT_EQ(rig.kb.Profile().ReadLightInfo().selectItem, 1);  // stored into the profile
        EXPECT_TRUE(fs::exists(rig.kb.GetProfilePath()));
        EXPECT_TRUE(rig.kb.PreviewThreadRunning());
        EXPECT_GT(rig.observer.refreshes, 0);
        EXPECT_EQ(rig.kb.ChannelA().BlockSize(), 510);
    }
    EXPECT_EQ(debug.Count("KB灯光线程设定退出"), 1);
}

TEST(KeyboardDevice, ReadBackFollowsTheActiveProfileAndKeepsTheHostEffect)
{
    struct Case { uint8_t profile; uint8_t code; uint8_t speedByte; uint8_t effectBefore; uint8_t effect; uint8_t speed; };
    const Case cases[] = {
        {0, 5, 0, 0, 5, 4},
        {2, 0xFE, 4, 29, 29, 0},
        {3, 0xFE, 1, 30, 30, 3},
        {1, 12, 3, 30, 12, 1},
    };
    for (const Case& c : cases) {
        KeyboardRig rig;
        std::vector<uint8_t> params = rig.Memory().Bytes(SimRegion::Params);
        params[0] = c.profile;
        uint8_t* block = &params[c.profile * 25];
        if (c.profile != 0)
            block[0] = 0x77;  // the last byte of the block before
        block[1] = c.code;
        block[3] = c.speedByte;
        block[16] = 9;
        block[17] = 4;
        block[19] = 1;
        block[21] = 1;
        rig.Memory().SetBytes(SimRegion::Params, params);
        LightInfoRecord before;
        before.selectItem = c.effectBefore;
        rig.kb.SetLightInfoRecord(before);

        ASSERT_TRUE(rig.kb.ReadProfileBlock());
        EXPECT_EQ(rig.kb.ActiveProfile(), c.profile);
        const auto stored = rig.kb.StoredBlock();
        EXPECT_EQ(stored[0], c.profile);
        EXPECT_EQ(stored[16], 0);
        EXPECT_EQ(stored[17], 4);
        EXPECT_EQ(rig.kb.GetLightInfoRecord().selectItem, c.effect) << int(c.code);
        EXPECT_EQ(rig.kb.GetLightInfoRecord().speed, c.speed);
        EXPECT_EQ(rig.kb.System().wFlag, 1);
        EXPECT_EQ(rig.kb.System().winFlag, 1);
        EXPECT_EQ(rig.kb.Profile().ReadKeyboardSystem().winFlag, 1);
    }
}

TEST(KeyboardDevice, AFailedReadBackChangesNothing)
{
    KeyboardRig rig;
    rig.kb.Connect();
    const LightInfoRecord before = rig.kb.GetLightInfoRecord();
    rig.Product().Faults().Arm({SimFaultKind::StatusFailed, 2, 0});  // the block read fails
    EXPECT_FALSE(rig.kb.ReadProfileBlock());
    EXPECT_EQ(rig.kb.GetLightInfoRecord(), before);
    EXPECT_EQ(rig.kb.Profile().ReadLightInfo(), before);

    DeviceAttach::Detach(rig.kb.ChannelA());
    EXPECT_FALSE(rig.kb.ReadProfileBlock());
    EXPECT_FALSE(rig.kb.ChannelA().PreviewHold());
}

TEST(KeyboardDevice, WritesTheProfileBlockOfProfileZeroFromTheProfile)
{
    KeyboardRig rig;
    rig.kb.Connect();
    LightInfoRecord light;
    light.selectItem = 7;
    light.light = 3;
    light.speed = 1;
    light.fx = 1;
    light.red = 1;
    light.green = 2;
    light.blue = 3;
    light.zzccLedMode = 2;
    light.customGroup = 4;
    rig.kb.Profile().WriteLightInfo(light);
    KeyboardSystemRecord system;
    system.wFlag = 1;
    system.key6Flag = 1;
    system.winFlag = 1;
    system.pollingRate = 2;
    rig.kb.Profile().WriteKeyboardSystem(system);
    const uint8_t byte25Before = rig.Memory().At(SimRegion::Params, 50);
    rig.Product().Trace().Clear();

    EXPECT_EQ(rig.kb.WriteProfileBlock(0, 0, 1, 1920, 1080), 1);
    const std::vector<uint8_t> expected{0, 7, 3, 3, 1, 0, 1, 2, 3, 0, 0, 0, 0,
                                        0, 0, 0, 0, 0, 2, 1, 1, 1, 2, 0, 0, 4};
    EXPECT_EQ(rig.Bytes(SimRegion::Params, 0, 26), expected);
    EXPECT_EQ(rig.Memory().At(SimRegion::Params, 50), byte25Before);
    EXPECT_EQ(rig.Sent(kCmdWriteParams).size(), 1u);
    EXPECT_EQ(rig.Sent(kCmdConfigBegin).size(), 1u);
    EXPECT_EQ(rig.Sent(kCmdConfigEnd).size(), 1u);

    light.selectItem = 29;
    rig.kb.Profile().WriteLightInfo(light);
    rig.kb.WriteProfileBlock(0, 0, 1, 1920, 1080);
    EXPECT_EQ(rig.Memory().At(SimRegion::Params, 1), 0xFE);

    DeviceAttach::Detach(rig.kb.ChannelA());
    EXPECT_EQ(rig.kb.WriteProfileBlock(0, 0, 1, 1920, 1080), 0);
}

TEST(KeyboardDevice, SystemSettingsAreStoredAndOnlyFlagsAndPollingAreSent)
{
    KeyboardRig rig;
    rig.kb.Connect();
    rig.Product().Trace().Clear();
    rig.kb.SetPollingRate(5);
    EXPECT_EQ(rig.Memory().At(SimRegion::Params, 22), 0);
    rig.kb.SetPollingRate(1);
    rig.kb.SetWinFlag(1);
    rig.kb.SetWFlag(1);
    rig.kb.SetKey6Flag(1);
    EXPECT_EQ(rig.Bytes(SimRegion::Params, 19, 4), (std::vector<uint8_t>{1, 1, 1, 1}));
    const size_t writes = rig.Sent(kCmdWriteParams).size();
    EXPECT_EQ(writes, 5u);
    rig.kb.SetRepeat(7);
    rig.kb.SetRepeatDelay(2);
    EXPECT_EQ(rig.Sent(kCmdWriteParams).size(), writes);
    EXPECT_EQ(CVarnokKeyboardDevice::RepeatDelayMs(2), 750);

    CKeyboardProfiledata saved;
    saved.LoadDeviceEntry(rig.kb.GetProfilePath());
    const KeyboardSystemRecord system = saved.ReadKeyboardSystem();
    EXPECT_EQ(system.repeat, 7);
    EXPECT_EQ(system.repeatDelay, 2);
    EXPECT_EQ(system.pollingRate, 1);
    EXPECT_EQ(system.winFlag, 1);
}

TEST(KeyboardDevice, KeyTableSkipsAbsentKeysAndCompactsMacros)
{
    KeyboardRig rig;
    // This keyboard has no key 51 (W): its position holds another function.
    std::vector<uint8_t> table = rig.Memory().Bytes(SimRegion::Keymap);
    table[3 * 51] = 0xA0;
    table[3 * 51 + 1] = 0x77;
    rig.Memory().SetBytes(SimRegion::Keymap, table);
    rig.kb.Connect();
    rig.WriteMacroList(3, 2);
    ASSERT_EQ(rig.kb.LogicalKeys().Position(51), KeyboardKeyMap::kAbsent);

    std::vector<KeyEntry> keys = FactoryKeys();
    keys[0] = Assign(0x70, 2, 0, 0);    // macro 2 first: compact 0
    keys[22] = Assign(0x71, 0, 1, 22);  // macro 0: compact 1
    keys[23] = Assign(0x70, 2, 0, 23);  // macro 2 again: compact 0
    keys[24] = Assign(0x70, 3, 0, 24);  // past the three macros: default
    keys[51] = Assign(0x70, 1, 0, 51);  // absent key: not written, not counted
    rig.kb.SetKeys(keys);
    EXPECT_EQ(rig.kb.CollectUsedMacros(), (std::vector<int>{2, 0}));

    ASSERT_EQ(rig.kb.WriteKeyTable(keys), 1);
    EXPECT_EQ(rig.Bytes(SimRegion::Keymap, 0, 3), (std::vector<uint8_t>{0x70, 0, 0}));
    EXPECT_EQ(rig.Bytes(SimRegion::Keymap, 3 * 22, 9), (std::vector<uint8_t>{0x71, 1, 1, 0x70, 0, 0, 0x20, 0, 0x20}));
    EXPECT_EQ(rig.Bytes(SimRegion::Keymap, 3 * 51, 3), (std::vector<uint8_t>{0xA0, 0x77, 0x12}));
    EXPECT_EQ(rig.Bytes(SimRegion::Keymap, 3 * 120, 3), (std::vector<uint8_t>{0xD0, 0xA2, 0x01}));

    EXPECT_EQ(rig.kb.WriteMacros(rig.kb.CollectUsedMacros()), 0);
    const std::vector<uint8_t> header = rig.Bytes(SimRegion::Macros, 0, 6);
    EXPECT_EQ(header, (std::vector<uint8_t>{0xAA, 0x55, 16 + 12 + 16, 0, 2, 0}));
    EXPECT_EQ(rig.Memory().At(SimRegion::Macros, 16 + 4 + 4 + 3), 4 + 2);  // first entry is macro 2
}

TEST(KeyboardDevice, ApplyingAProfileWithTooManyMacroEventsSendsNoKeyTable)
{
    KeyboardRig rig;
    rig.kb.Connect();
    rig.WriteMacroList(1, 2100);  // 16 + 6 + 8400 bytes: 230 over the 8192 bytes
    std::vector<KeyEntry> keys = FactoryKeys();
    keys[0] = Assign(0x70, 0, 0, 0);
    rig.kb.Profile().WriteKeyList(keys);
    rig.kb.SaveProfileData();
    rig.Product().Trace().Clear();

    rig.kb.ApplySelectedProfile();
    EXPECT_EQ(rig.observer.messages, (std::vector<std::string>{"message_text_16"}));
    EXPECT_EQ(rig.Sent(kCmdWriteParams).size(), 1u);
    EXPECT_TRUE(rig.Sent(kCmdWriteMacros).empty());
    EXPECT_TRUE(rig.Sent(kCmdWriteKeymap).empty());
}

TEST(KeyboardDevice, CustomKeyColoursGoToTheSelectedGroupAtStride512)
{
    KeyboardRig rig;
    std::vector<uint8_t> leds = rig.Memory().Bytes(SimRegion::LedMap);
    leds[51] = 7;      // key 51 drives LED 7
    leds[30] = 0xFF;   // key 30 has no LED
    rig.Memory().SetBytes(SimRegion::LedMap, leds);
    rig.kb.Connect();
    LightInfoRecord light = rig.kb.GetLightInfoRecord();
    light.selectItem = 20;
    light.customGroup = 2;
    light.light = 2;
    light.red = 11;
    light.green = 22;
    light.blue = 33;
    rig.kb.SetLightInfoRecord(light);

    EXPECT_EQ(rig.kb.ClickCustomKey(51, true), 1);
    EXPECT_EQ(rig.kb.ClickCustomKey(30, true), 1);
    EXPECT_EQ(rig.Bytes(SimRegion::KeyColors, 2 * 512 + 7 * 3, 3), (std::vector<uint8_t>{11, 22, 33}));
    const auto group = rig.Bytes(SimRegion::KeyColors, 2 * 512, 512);
    EXPECT_EQ(std::count(group.begin(), group.end(), 11), 1);  // key 30 is never in the table
    EXPECT_EQ(rig.kb.Profile().ReadCustomLightColors(2, 170)[51], (KeyColor{11, 22, 33, 255}));

    rig.kb.SendCustomColours();  // scaled by the level of brightness 2 (135)
    EXPECT_EQ(rig.Bytes(SimRegion::KeyColors, 2 * 512 + 7 * 3, 3),
              (std::vector<uint8_t>{11 * 135 / 256, 22 * 135 / 256, 33 * 135 / 256}));

    light.selectItem = 4;
    rig.kb.SetLightInfoRecord(light);
    EXPECT_EQ(rig.kb.ClickCustomKey(51, true), 0);  // only the custom effect takes clicks
}

TEST(KeyboardDevice, CustomColoursAreNotSentThroughTheReceiver)
{
    KeyboardRig rig(SimProductKind::KeyboardReceiver);
    rig.kb.Connect();
    LightInfoRecord light = rig.kb.GetLightInfoRecord();
    light.selectItem = 20;
    rig.kb.SetLightInfoRecord(light);
    rig.Product().Trace().Clear();
    EXPECT_EQ(rig.kb.ClickCustomKey(3, false), 0);
    EXPECT_TRUE(rig.Sent(kCmdWriteKeyColors).empty());
}

TEST(KeyboardDevice, LightFramesOfTheHostStreamedEffects)
{
    KeyboardRig rig;
    rig.kb.Connect();
    rig.kb.StopPreviewThread();
    LightInfoRecord light = rig.kb.GetLightInfoRecord();
    light.selectItem = 30;
    rig.kb.SetLightInfoRecord(light);
    rig.kb.LedColours().SetAll({}, 0);
    rig.kb.LedColours().Set(0, {200, 100, 50}, 128);
    rig.kb.LedColours().Set(169, {9, 9, 9}, 255);  // no key: never in a frame
    rig.Product().Trace().Clear();

    rig.kb.PaintLights();
    EXPECT_EQ(rig.Sent(kCmdLightFrame).size(), 10u);  // 510 bytes in 56-byte chunks
    EXPECT_EQ(rig.Bytes(SimRegion::LightFrame, 0, 3), (std::vector<uint8_t>{100, 50, 25}));
    EXPECT_EQ(rig.Memory().At(SimRegion::LightFrame, 3 * 169), 0);
    EXPECT_TRUE(rig.pauses.empty());

    rig.Product().Faults().Arm({SimFaultKind::StatusFailed, 1, 0});
    rig.kb.PaintLights();
    EXPECT_EQ(rig.pauses, (std::vector<int>{200}));

    light.selectItem = 4;  // other effects are the keyboard's own
    rig.kb.SetLightInfoRecord(light);
    rig.Product().Trace().Clear();
    rig.kb.PaintLights();
    rig.kb.SetLightControl(0);
    light.selectItem = 29;
    rig.kb.SetLightInfoRecord(light);
    rig.kb.PaintLights();
    EXPECT_TRUE(rig.Sent(kCmdLightFrame).empty());
}

TEST(KeyboardDevice, LightFramesAreDroppedWhileAnExchangeIsInFlight)
{
    DebugLines debug;
    KeyboardRig rig;
    rig.kb.Connect();
    rig.kb.StopPreviewThread();
    LightInfoRecord light = rig.kb.GetLightInfoRecord();
    light.selectItem = 29;
    rig.kb.SetLightInfoRecord(light);
    rig.Product().Faults().Arm({SimFaultKind::Delay, 1, 600});
    rig.Product().Trace().Clear();
    std::thread slow([&] {
        CVarnokUSBDevice::InfoBlock info{};
        CommandSet(rig.kb.ChannelA()).CMD_READ_INFO(info.data());
    });
    for (int i = 0; i < 400 && !rig.kb.ChannelA().IsBusy(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(rig.kb.ChannelA().IsBusy());
    rig.kb.PaintLights();
    slow.join();
    EXPECT_TRUE(rig.Sent(kCmdLightFrame).empty());
    EXPECT_EQ(debug.Count("放弃灯光数据"), 10);
}

TEST(KeyboardDevice, DeviceCodesSetTheProfileAndByte17)
{
    struct Case { int code; int profile; uint8_t byte17; bool refreshed; };
    const Case cases[] = {
        {0x1123, 3, 2, true},
        {0x1005, 5, 0, true},
        {0x1200, 0, 0, false},
    };
    for (const Case& c : cases) {
        KeyboardRig rig;
        rig.kb.Connect();
        const int refreshes = rig.observer.refreshes;
        rig.kb.OnDeviceCode(c.code);
        EXPECT_EQ(rig.kb.ActiveProfile(), c.profile) << std::hex << c.code;
        EXPECT_EQ(rig.kb.StoredBlock()[17], c.byte17) << std::hex << c.code;
        EXPECT_EQ(rig.observer.refreshes > refreshes, c.refreshed) << std::hex << c.code;
    }
    KeyboardRig closed(SimProductKind::Keyboard, false);
    closed.kb.OnDeviceCode(0x1123);
    EXPECT_EQ(closed.kb.ActiveProfile(), 0);
}

TEST(KeyboardDevice, PowerRecordsAreNotQueriedWhileInTheTray)
{
    struct Case { SimProductKind link; int tray; size_t records; uint8_t wireless; };
    const Case cases[] = {
        {SimProductKind::Keyboard, 0, 1, 0},
        {SimProductKind::KeyboardReceiver, 0, 1, 1},
        {SimProductKind::Keyboard, 1, 0, 0},
    };
    for (const Case& c : cases) {
        KeyboardRig rig(c.link);
        rig.kb.SetPowerIndicator(1);
        rig.kb.SetTrayFlag(c.tray);
        rig.Product().Trace().Clear();
        rig.kb.QueryPower();
        ASSERT_EQ(rig.observer.power.size(), c.records);
        if (c.records) {
            EXPECT_EQ(rig.observer.power[0][3], c.wireless);
            EXPECT_EQ(rig.observer.power[0][4], 100);
        } else {
            EXPECT_TRUE(rig.Sent(kCmdReadPower).empty());
        }
    }
}

TEST(KeyboardDevice, LightControlIsSentOnlyWhenSwitchedOn)
{
    KeyboardRig rig;
    rig.Product().Trace().Clear();
    rig.kb.SetLightControl(0);
    EXPECT_TRUE(rig.Sent(kCmdLightControl).empty());
    rig.kb.SetLightControl(1);
    EXPECT_EQ(rig.Sent(kCmdLightControl).size(), 1u);
}

TEST(KeyboardDevice, AudioBeatsStartTheRippleOnlyInTheAudioEffectAndMode)
{
    struct Case { uint8_t effect; uint8_t mode; bool ripple; };
    const Case cases[] = {{29, 2, true}, {29, 1, false}, {4, 2, false}};
    for (const Case& c : cases) {
        KeyboardRig rig;
        LightInfoRecord light;
        light.selectItem = c.effect;
        rig.kb.SetLightInfoRecord(light);
        AudioLightRecord audio;
        audio.audioMode = c.mode;
        rig.kb.SetAudioLightRecord(audio);
        std::array<int32_t, 25> bands{};
        bands.fill(2000);
        for (int i = 0; i < 3; ++i)
            rig.kb.FeedAudioSpectrum(reinterpret_cast<const uint8_t*>(bands.data()), 800);
        auto* preview = static_cast<KeyboardLightingPreview*>(rig.kb.Preview());
        EXPECT_EQ(preview->RingFade(0) == 255, c.ripple) << int(c.effect) << " mode " << int(c.mode);
    }
}

TEST(KeyboardDevice, ARefreshRequestReloadsTheProfileBeforeTheReadBack)
{
    KeyboardRig rig;
    rig.kb.Connect();
    // Another copy of the program changes the profile's first key on disk.
    auto changeOnDisk = [&](uint8_t usage) {
        CKeyboardProfiledata other;
        other.SetDefaultFile(rig.kb.GetDefaultFile());
        other.LoadDeviceEntry(rig.kb.GetProfilePath());
        other.SetProfileFile(rig.kb.GetProfilePath());
        std::vector<KeyEntry> keys = other.ReadKeyList();
        ASSERT_FALSE(keys.empty());
        keys[0] = Assign(0x20, 0, usage, 0);
        other.WriteKeyList(keys);
        other.Save();
    };
    changeOnDisk(0x2C);
    rig.kb.NoteReaderCode(0x0402);
    rig.kb.RefreshFromDevice();
    EXPECT_EQ(rig.kb.Keys()[0][4], 0x2C);

    changeOnDisk(0x2B);
    rig.kb.NoteReaderCode(0x0401);
    rig.kb.RefreshFromDevice();
    EXPECT_EQ(rig.kb.Keys()[0][4], 0x2C);
}

TEST(KeyboardDevice, FunctionPagesEnableKey110OnTheLightingPageAndDisableItOnTheKeyPage)
{
    struct PageObserver : DevicePageObserver {
        void SelectFunctionTabs(int function, int key) override { tabs = {function, key}; }
        void EnableKeyButton(int logicalKey, bool enabled) override { buttons.emplace_back(logicalKey, enabled); }
        std::pair<int, int> tabs{-9, -9};
        std::vector<std::pair<int, bool>> buttons;
    };
    struct Case { int page; std::pair<int, int> tabs; std::vector<std::pair<int, bool>> buttons; };
    const Case cases[] = {
        {1, {0, 0}, {{110, true}}},
        {2, {0, 1}, {{110, false}}},
        {3, {1, -1}, {}},
        {4, {3, -1}, {}},
        {8, {1, -1}, {}},
    };
    SimHidBackend sim;
    CVarnokKeyboardDevice kb(sim);
    PageObserver page;
    kb.SetPageObserver(&page);
    for (const Case& c : cases) {
        page = {};
        kb.ShowFunctionPage(c.page);
        EXPECT_EQ(kb.GetFunctionPage(), c.page);
        EXPECT_EQ(page.tabs, c.tabs) << "page " << c.page;
        EXPECT_EQ(page.buttons, c.buttons) << "page " << c.page;
    }
}
