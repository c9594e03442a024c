#include "ProfileTestSupport.h"

#include "profiles/Hs6533Profiledata.h"
#include "profiles/JsonFile.h"
#include "profiles/KeyboardProfiledata.h"
#include "profiles/MouseProfiledata.h"

#include <gtest/gtest.h>

namespace {

// A profile data object whose factory file holds the given device entry.
template <typename T>
struct Fixture {
    TempFolder dir;
    T data;
    explicit Fixture(const std::string& factoryEntry = "{\"LightInfo\": {\"Light\": 3}}")
    {
        WriteText(dir / "factory.Json", "{\"Device\": [" + factoryEntry + "]}");
        data.SetDefaultFile(dir / "factory.Json");
        data.SetProfileFile(dir / "p.Json");
    }
    void Load(const std::string& profileText)
    {
        WriteText(dir / "p.Json", profileText);
        data.LoadDeviceEntry(dir / "p.Json");
    }
    Json::Value File() const { return ReadJsonFile(dir / "p.Json"); }
};

KeyEntry Key(uint8_t type, uint8_t p1, uint8_t p2, uint8_t dtype = 0, uint8_t dp1 = 0, uint8_t dp2 = 0)
{
    return KeyEntry{0, 0, type, p1, p2, 0, 0, 0, dtype, dp1, dp2, 0};
}

} // namespace

TEST(Profiledata, MissingDeviceEntryIsSeededFromTheFactoryFileKeepingNameAndId)
{
    Fixture<CBasicProfiledata> f;
    f.Load(R"({"profilename": "Game", "profileUUID": "2022_11_01_09_05_07_042", "Other": [1]})");
    EXPECT_EQ(f.data.DeviceEntry()["LightInfo"]["Light"].asInt(), 3);
    const Json::Value file = f.File();
    EXPECT_EQ(file["profilename"].asString(), "Game");
    EXPECT_EQ(file["profileUUID"].asString(), "2022_11_01_09_05_07_042");
    EXPECT_EQ(file["Other"][0].asInt(), 1);
    EXPECT_EQ(file["Device"][0]["LightInfo"]["Light"].asInt(), 3);
}

TEST(Profiledata, MissingOrBrokenProfileFileIsCreatedHoldingOnlyTheDevice)
{
    for (const char* text : {"", "{ not json"}) {
        Fixture<CBasicProfiledata> f;
        if (*text)
            WriteText(f.dir / "p.Json", text);
        f.data.LoadDeviceEntry(f.dir / "p.Json");
        const Json::Value file = f.File();
        EXPECT_EQ(file.getMemberNames(), std::vector<std::string>{"Device"}) << text;
        EXPECT_EQ(file["Device"][0]["LightInfo"]["Light"].asInt(), 3) << text;
    }
}

TEST(Profiledata, SaveRewritesOnlyTheDeviceEntry)
{
    Fixture<CBasicProfiledata> f;
    f.Load(R"({"profilename": "A", "profileUUID": "u", "Device": [{"KeyList": [{"Assignment": 1}]}]})");
    LightInfoRecord light;
    light.selectItem = 2;
    f.data.WriteLightInfo(light);
    f.data.Save();
    const Json::Value file = f.File();
    EXPECT_EQ(file["profilename"].asString(), "A");
    EXPECT_EQ(file["Device"][0]["KeyList"][0]["Assignment"].asInt(), 1);
    EXPECT_EQ(file["Device"][0]["LightInfo"]["SelectItem"].asInt(), 2);
}

TEST(Profiledata, KeyListReadsTriplesAndWritesOnlyTheGivenKeys)
{
    Fixture<CBasicProfiledata> f;
    Json::Value file;
    for (Json::ArrayIndex i = 0; i < 8; ++i) {
        file["Device"][0]["KeyList"][i]["Assignment"] = 0x100000 + i;
        file["Device"][0]["KeyList"][i]["DefaultAssignment"] = 0x200000 + i;
    }
    file["Device"][0]["KeyList"][1u]["Assignment"] = 16 * 65536 + 1 * 256 + 0;
    f.Load(StyledJsonText(file));

    std::vector<KeyEntry> keys = f.data.ReadKeyList();
    ASSERT_EQ(keys.size(), 8u);
    EXPECT_EQ((std::array<uint8_t, 5>{keys[1][0], keys[1][1], keys[1][2], keys[1][3], keys[1][4]}),
        (std::array<uint8_t, 5>{1, 0, 16, 1, 0}));
    EXPECT_EQ(keys[7][6], 7);
    EXPECT_EQ(keys[7][8], 0x20);

    keys.resize(3);
    keys[0] = Key(0x70, 2, 0);
    f.data.WriteKeyList(keys);
    f.data.Save();
    const Json::Value list = f.File()["Device"][0]["KeyList"];
    ASSERT_EQ(list.size(), 8u);
    EXPECT_EQ(list[0u]["Assignment"].asInt(), 0x700200);
    EXPECT_EQ(list[1u]["Assignment"].asInt(), 16 * 65536 + 256);
    EXPECT_EQ(list[0u]["DefaultAssignment"].asInt(), 0x200000);
    for (Json::ArrayIndex i = 3; i < 8; ++i)
        EXPECT_EQ(list[i]["Assignment"].asInt(), static_cast<int>(0x100000 + i)) << i;
}

TEST(Profiledata, DpiStageListNeverShrinks)
{
    Fixture<CMouseProfiledata> f;
    Json::Value six;
    six["Device"][0]["DPIStages"]["StageActive"] = 4;
    for (Json::ArrayIndex i = 0; i < 6; ++i)
        six["Device"][0]["DPIStages"]["StageDPIs"][i] = ParseJson(
            "{\"StageActive\":1,\"StageXY\":0,\"StageDPIX\":" + std::to_string(300 + i) + ",\"StageDPIY\":2,"
            "\"StageColorR\":256,\"StageColorG\":7,\"StageColorB\":8}");
    f.Load(StyledJsonText(six));
    std::vector<DpiStage> stages = f.data.ReadDpiStages();
    ASSERT_EQ(stages.size(), 6u);
    EXPECT_EQ(stages[5].dpiX, 305);
    EXPECT_EQ(stages[0].red, 0) << "256 truncated to a byte";
    EXPECT_EQ(f.data.GetActiveStage(), 4);

    f.Load(R"({"Device": [{"DPIStages": {"StageActive": 1, "StageDPIs": [{"StageDPIX": 10}, {"StageDPIX": 11}]}}]})");
    stages = f.data.ReadDpiStages();
    ASSERT_EQ(stages.size(), 6u);
    EXPECT_EQ(stages[0].dpiX, 10);
    EXPECT_EQ(stages[1].dpiX, 11);
    EXPECT_EQ(stages[2].dpiX, 302);
    EXPECT_EQ(f.data.GetActiveStage(), 1);

    f.Load(R"({"Device": [{"KeyList": []}]})");
    f.data.ReadDpiStages();
    EXPECT_EQ(f.data.GetActiveStage(), 1) << "no DPIStages keeps the active stage";
}

TEST(Profiledata, MouseSystemWithoutReportStagesReadsStageZero)
{
    Fixture<CMouseProfiledata> f;
    f.Load(R"({"Device": [{"SystemStages": {"DoubleClickTime": 5, "MouseSpeed": 6, "PointerPrecision": 1,
              "ScorllPage": 0, "WheelScorlllinse": 3}}]})");
    EXPECT_EQ(f.data.ReadMouseSystem(), (MouseSystemRecord{5, 6, 1, 0, 3, 0}));
    f.data.WriteMouseSystem({1, 2, 3, 4, 5, 4});
    f.data.Save();
    EXPECT_EQ(f.File()["Device"][0]["ReportStages"]["StageActive"].asInt(), 4);
    EXPECT_EQ(f.File()["Device"][0]["SystemStages"]["WheelScorlllinse"].asInt(), 5);
}

TEST(Profiledata, EqualiserSlots)
{
    Fixture<CHs6533Profiledata> f;
    Json::Value file;
    for (Json::ArrayIndex slot = 1; slot <= 12; ++slot)
        for (Json::ArrayIndex band = 0; band < 10; ++band)
            file["Device"][0]["EQHzValueInfo"][slot][band]["value"] = static_cast<int>(slot * 100 + band);
    f.Load(StyledJsonText(file));

    struct Case {
        int type;
        int firstBand; // -1: no bands
    } cases[] = {{0, 100}, {1, 100}, {7, 700}, {12, 1200}, {13, -1}, {20, 100}, {-3, 100}};
    for (const auto& c : cases) {
        const auto before = f.data.DeviceEntry();
        const auto bands = f.data.ReadEqBands(c.type);
        if (c.firstBand < 0) {
            EXPECT_TRUE(bands.empty());
        } else {
            ASSERT_EQ(bands.size(), 10u) << c.type;
            EXPECT_EQ(bands[0], c.firstBand) << c.type;
            EXPECT_EQ(bands[9], c.firstBand + 9) << c.type;
        }
        EXPECT_EQ(f.data.DeviceEntry(), before) << "reading an existing slot changes nothing, type " << c.type;
    }
}

TEST(Profiledata, ReadingMissingBandsAddsZeroBands)
{
    Fixture<CHs6533Profiledata> f;
    f.Load(R"({"Device": [{"SystemSetStages": {"EqType": 3}}]})");
    EXPECT_EQ(f.data.ReadEqBands(3), std::vector<int32_t>(10, 0));
    f.data.Save();
    const Json::Value slot = f.File()["Device"][0]["EQHzValueInfo"][3];
    ASSERT_EQ(slot.size(), 10u);
    EXPECT_EQ(slot[9]["value"].asInt(), 0);

    f.data.WriteCustomEqBands(1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});
    EXPECT_EQ(f.data.ReadCustomEqBands(1)[9], 10);
    f.data.WriteCustomEqNames({L"Bass", L"低音"});
    EXPECT_EQ(f.data.ReadCustomEqNames(), (std::vector<std::wstring>{L"Bass", L"低音"}));
    f.data.WriteCustomEqNames({});
    EXPECT_TRUE(f.data.DeviceEntry()["CustomEQNameInfo"].isNull());
}

TEST(Profiledata, LightInfoAndLightList)
{
    Fixture<CBasicProfiledata> f;
    f.Load(R"({"Device": [{"KeyList": []}]})");
    EXPECT_EQ(f.data.ReadLightInfo(), LightInfoRecord{});
    f.data.WriteLightInfo(LightInfoRecord{});
    EXPECT_EQ(f.data.DeviceEntry()["LightInfo"].size(), 12u);

    f.Load(R"({"Device": [{"LightInfo": {"Fx": 3, "CLcolor": 4, "MultiColor": 7},
              "LightList": [null, {"LEDREGMode": 2}, {"LEDDirection": 5, "LEDMultiColor": true}]}]})");
    const LightInfoRecord info = f.data.ReadLightInfo();
    EXPECT_EQ(info.fx, 3);
    EXPECT_EQ(info.clColor, 4);
    EXPECT_EQ(info.multiColor, 1);
    EXPECT_EQ(info.spare, 0);
    EXPECT_EQ(info.present, 0);

    const auto list = f.data.ReadLightList();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], LightInfoRecord{});
    LightInfoRecord second;
    second.selectItem = 2;
    second.present = 1;
    EXPECT_EQ(list[1], second);
    EXPECT_EQ(list[2].fx, 1) << "LightList direction is a flag";
    EXPECT_EQ(list[2].multiColor, 1);

    f.data.WriteLightInfo(info);
    const Json::Value written = f.data.DeviceEntry()["LightInfo"];
    EXPECT_FALSE(written.isMember("Spare"));
    EXPECT_EQ(written.size(), 12u);
}

TEST(Profiledata, CustomEffectStepsComeFromTheSelectedLightFile)
{
    Fixture<CBasicProfiledata> f;
    f.Load(R"({"Device": [{"LightInfo": {"SelectItem": 1}}]})");
    EXPECT_TRUE(f.data.ReadCustomEffect().empty()) << "no light configuration";

    const std::string effect = (f.dir / "effect").string();
    WriteText(f.dir / "effect.light",
        R"({"LEDEffectList": [{"LEDREGMode": 1, "LEDDirection": 5, "red": 300, "Time": 70000, "Cyle": -2}]})");
    WriteText(f.dir / "mirva_light.config",
        "{\"LightInfo\": [[{\"LightName\": \"a\"}, {\"LightName\": \"b\", \"Guid\": \"" + effect + "\"}]]}");
    f.data.ReadLightInfo();
    f.data.LoadLightConfig(f.dir / "mirva_light.config");
    const auto steps = f.data.ReadCustomEffect();
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].direction, 5) << "effect steps read the direction as a number";
    EXPECT_EQ(steps[0].red, 300 % 256);
    EXPECT_EQ(steps[0].time, 70000);
    EXPECT_EQ(steps[0].cycles, -2);
}

TEST(Profiledata, KeyboardCustomColoursFillMissingPositions)
{
    Fixture<CKeyboardProfiledata> f;
    f.Load(R"({"Device": [{"KeyList": []}]})");
    EXPECT_EQ(f.data.ReadCustomLightColors(2, 3), std::vector<KeyColor>(3));
    const Json::Value groups = f.data.DeviceEntry()["CustomLightMode"]["LightColorInfo"];
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_TRUE(groups[0u].isNull());
    EXPECT_TRUE(groups[1u].isNull());
    ASSERT_EQ(groups[2u].size(), 3u);
    EXPECT_EQ(groups[2u][2u]["Alpha"].asInt(), 0);

    f.data.WriteCustomLightColors({{1, 2, 3, 4}}, 2);
    EXPECT_EQ(f.data.ReadCustomLightColors(2, 3)[0], (KeyColor{1, 2, 3, 4}));
    f.data.WriteCustomLightGroup(5);
    EXPECT_EQ(f.data.ReadCustomLightGroup(), 5);

    f.data.WriteKeyboardSystem({1, 2, 3, 4, 5, 6});
    EXPECT_EQ(f.data.ReadKeyboardSystem(), (KeyboardSystemRecord{1, 2, 3, 4, 5, 6}));
    f.data.WriteAudioLighting({1, 2, 3, 4, 5, 6, 7, 1, 0});
    EXPECT_EQ(f.data.ReadAudioLighting(), (AudioLightRecord{1, 2, 3, 4, 5, 6, 7, 1, 0}));
}

// Every section holds a value of the wrong JSON type: reads give zeros and
// empty lists, writes replace the bad values, nothing throws.
TEST(Profiledata, MembersOfUnexpectedTypeReadAsAbsent)
{
    const std::string hostile = R"({"Device": [{
        "KeyList": [7, "x", {"Assignment": "big", "DefaultAssignment": [1]}],
        "LightInfo": {"SelectItem": "9", "Light": {"a": 1}, "Red": 1e300},
        "LightList": "all",
        "DPIStages": {"StageActive": "2", "StageDPIs": {"0": 1}},
        "SystemStages": [1, 2],
        "ReportStages": 5,
        "CorrectInfo": [null, {"CorrectName": 5}],
        "SystemSetStages": "on",
        "EQHzValueInfo": [[], 5, {"x": 1}],
        "CustomEQNameInfo": [{"Name": 1}],
        "CustomEQHzValueInfo": "none",
        "AudioLightInfo": [],
        "CustomLightMode": {"CustomLightModeGroupIndex": "3", "LightColorInfo": [9, [null, 4]]}
    }]})";
    Fixture<CMouseProfiledata> mouse;
    mouse.Load(hostile);
    EXPECT_EQ(mouse.data.ReadKeyList().size(), 3u);
    EXPECT_EQ(PackedAssignment(mouse.data.ReadKeyList()[2]), 0u);
    EXPECT_EQ(mouse.data.ReadLightInfo(), LightInfoRecord{});
    EXPECT_TRUE(mouse.data.ReadLightList().empty());
    EXPECT_TRUE(mouse.data.ReadDpiStages().empty());
    EXPECT_EQ(mouse.data.ReadMouseSystem(), MouseSystemRecord{});
    ASSERT_EQ(mouse.data.ReadCorrectInfo().size(), 2u);
    EXPECT_TRUE(mouse.data.ReadCorrectInfo()[1].name.empty());
    mouse.data.WriteDpiStages({DpiStage{1, 0, 5, 5, 1, 2, 3}});
    mouse.data.WriteMouseSystem({1, 1, 1, 1, 1, 1});
    mouse.data.WriteKeyList({Key(0x10, 1, 0)});
    mouse.data.Save();
    EXPECT_EQ(mouse.File()["Device"][0]["DPIStages"]["StageDPIs"][0]["StageDPIX"].asInt(), 5);
    EXPECT_EQ(mouse.File()["Device"][0]["ReportStages"]["StageActive"].asInt(), 1);

    Fixture<CHs6533Profiledata> headset;
    headset.Load(hostile);
    EXPECT_EQ(headset.data.ReadHeadsetSystem(), HeadsetSystemRecord{});
    EXPECT_EQ(headset.data.ReadEqBands(1), std::vector<int32_t>(10, 0));
    EXPECT_EQ(headset.data.ReadEqBands(2), std::vector<int32_t>(10, 0));
    EXPECT_EQ(headset.data.ReadCustomEqNames(), std::vector<std::wstring>{L""});
    EXPECT_EQ(headset.data.ReadCustomEqBands(0), std::vector<int32_t>(10, 0));
    headset.data.WriteEqBands(2, std::vector<int32_t>(10, 4));
    EXPECT_EQ(headset.data.ReadEqBands(2), std::vector<int32_t>(10, 4));

    Fixture<CKeyboardProfiledata> keyboard;
    keyboard.Load(hostile);
    EXPECT_EQ(keyboard.data.ReadAudioLighting(), AudioLightRecord{});
    EXPECT_EQ(keyboard.data.ReadKeyboardSystem(), KeyboardSystemRecord{});
    EXPECT_EQ(keyboard.data.ReadCustomLightGroup(), 0);
    EXPECT_EQ(keyboard.data.ReadCustomLightColors(0, 2), std::vector<KeyColor>(2));
    EXPECT_EQ(keyboard.data.ReadCustomLightColors(1, 2), std::vector<KeyColor>(2));
    EXPECT_EQ(keyboard.data.ReadCustomLightColors(1 << 30, 2), std::vector<KeyColor>(2))
        << "a group number from a damaged file does not grow the document";

    for (const char* deviceless : {R"({"Device": 5})", R"({"Device": ["entry"]})", "[1, 2]", "\"text\""}) {
        Fixture<CBasicProfiledata> f;
        f.Load(deviceless);
        EXPECT_EQ(f.data.DeviceEntry()["LightInfo"]["Light"].asInt(), 3) << deviceless << " is seeded";
    }
}
