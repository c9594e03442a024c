#include "ProfileTestSupport.h"

#include "profiles/DataFolders.h"
#include "profiles/DeviceKindNames.h"
#include "profiles/Hs6533Profiledata.h"
#include "profiles/JsonFile.h"
#include "profiles/KeyboardProfiledata.h"
#include "profiles/MouseProfiledata.h"

#include <gtest/gtest.h>

namespace {

// Loads a shipped factory profile through a profile data object, from a
// copy so that nothing can write into the shipped folder.
template <typename T>
struct Factory {
    TempFolder dir;
    T data;
    Json::Value entry;
    explicit Factory(const char* name)
    {
        const std::string text = ReadFileText(SourceDefaultData() / name);
        EXPECT_FALSE(text.empty()) << name;
        WriteText(dir / name, text);
        data.SetDefaultFile(dir / name);
        entry = data.LoadDeviceEntry(dir / name);
        EXPECT_EQ(ReadFileText(dir / name), text) << "a complete factory file is not rewritten";
    }
};

void ExpectMembers(const Json::Value& object, std::initializer_list<const char*> members, const std::string& where)
{
    ASSERT_TRUE(object.isObject()) << where;
    for (const char* member : members)
        EXPECT_TRUE(object.isMember(member)) << where << " lacks " << member;
}

void ExpectLighting(const Json::Value& entry, CBasicProfiledata& data, size_t leds, const std::string& where)
{
    ExpectMembers(entry["LightInfo"], {"SelectItem", "Light", "Speed", "Fx", "MultiColor", "Red", "Green", "Blue",
        "CLcolor", "ZZCCLedMode", "CustomGroup", "OldLedmode"}, where + " LightInfo");
    const auto list = data.ReadLightList();
    EXPECT_EQ(list.size(), leds) << where;
    for (const auto& led : list)
        EXPECT_EQ(led.present, 1) << where;
}

} // namespace

TEST(DefaultData, MouseProfile)
{
    Factory<CMouseProfiledata> f("mouse.Json");
    const auto keys = f.data.ReadKeyList();
    ASSERT_EQ(keys.size(), 11u);
    for (const auto& k : keys)
        EXPECT_EQ(PackedAssignment(k), PackedDefaultAssignment(k));
    const auto stages = f.data.ReadDpiStages();
    ASSERT_EQ(stages.size(), 6u);
    for (Json::ArrayIndex i = 0; i < 6; ++i) {
        ExpectMembers(f.entry["DPIStages"]["StageDPIs"][i], {"StageActive", "StageXY", "StageDPIX", "StageDPIY",
            "StageColorR", "StageColorG", "StageColorB"}, "stage " + std::to_string(i));
        EXPECT_LE(stages[i].dpiX, 48) << "within the DPI slider";
    }
    ExpectMembers(f.entry["DPIStages"], {"StageActive"}, "DPIStages");
    ExpectMembers(f.entry["SystemStages"], {"DoubleClickTime", "MouseSpeed", "PointerPrecision", "ScorllPage",
        "WheelScorlllinse"}, "SystemStages");
    ExpectMembers(f.entry["ReportStages"], {"StageActive"}, "ReportStages");
    const auto correct = f.data.ReadCorrectInfo();
    ASSERT_FALSE(correct.empty());
    EXPECT_EQ(correct[0].selected, 1);
    for (const auto& e : f.entry["CorrectInfo"])
        ExpectMembers(e, {"CorrectPixThresh", "CorrectMinSq", "CorrectSelect", "CorrectName"}, "CorrectInfo");
    ExpectLighting(f.entry, f.data, 2, "mouse");
}

TEST(DefaultData, KeyboardProfile)
{
    Factory<CKeyboardProfiledata> f("keyboard.Json");
    EXPECT_EQ(f.data.ReadKeyList().size(), 170u);
    ExpectMembers(f.entry["SystemStages"], {"Repeat", "RepeatDelay", "Key6Flag", "PollingRate", "WFlag", "WinFlag"},
        "SystemStages");
    ExpectMembers(f.entry["AudioLightInfo"], {"AudioMode", "BkColorR", "BkColorG", "BkColorB", "FgColorR",
        "FgColorG", "FgColorB", "7ColorFlags", "ColorTypeFlags"}, "AudioLightInfo");
    ExpectMembers(f.entry["CustomLightMode"], {"CustomLightModeGroupIndex", "LightColorInfo"}, "CustomLightMode");
    const Json::Value before = f.data.DeviceEntry();
    for (int group = 0; group < static_cast<int>(f.entry["CustomLightMode"]["LightColorInfo"].size()); ++group)
        EXPECT_EQ(f.data.ReadCustomLightColors(group, 170).size(), 170u);
    EXPECT_EQ(f.data.DeviceEntry(), before) << "every group holds a colour for every key";
    ExpectLighting(f.entry, f.data, 0, "keyboard");
}

TEST(DefaultData, MousePadProfile)
{
    Factory<CBasicProfiledata> f("MousePad.Json");
    ExpectLighting(f.entry, f.data, 15, "mouse pad");
}

TEST(DefaultData, HeadsetProfileHoldsThePresetCurves)
{
    Factory<CHs6533Profiledata> f("HD.Json");
    ExpectMembers(f.entry["SystemSetStages"], {"MagicEnable", "MagicType", "EqType", "CustomEqSeletIndex",
        "MicInSelect", "MicInValue", "MicMoniterSelect", "MicMoniterValue"}, "SystemSetStages");
    ExpectMembers(f.entry, {"CustomEQNameInfo", "CustomEQHzValueInfo"}, "headset");
    const Json::Value before = f.data.DeviceEntry();
    EXPECT_EQ(f.data.ReadEqBands(1), (std::vector<int32_t>{7, 11, 2, -3, -1, 4, 9, 12, 9, 5}));
    EXPECT_EQ(f.data.ReadEqBands(6), (std::vector<int32_t>{7, 14, -13, -6, -1, 8, 13, 7, 2, 6}));
    EXPECT_EQ(f.data.ReadEqBands(12), (std::vector<int32_t>{2, 1, -2, -4, -8, 4, 12, 16, 18, 15}));
    for (int type = 1; type <= 12; ++type)
        EXPECT_EQ(f.data.ReadEqBands(type).size(), 10u);
    EXPECT_EQ(f.data.DeviceEntry(), before) << "all twelve slots are complete";
    ExpectLighting(f.entry, f.data, 13, "headset");
}

TEST(DefaultData, LightNamesCoverTheEffectPositionsOfEveryModel)
{
    const Json::Value lights = ReadJsonFile(SourceDefaultData() / "default_light.json");
    // Model index: 0 keyboard, 1 mouse, 2 mouse pad, 3 headset; the highest
    // position a lighting layout or the same-mode table uses.
    const Json::ArrayIndex needed[] = {31, 10, 9, 9};
    ASSERT_EQ(lights["DefaultLightName"].size(), 4u);
    ASSERT_EQ(lights["AreaLightName"].size(), 4u);
    for (Json::ArrayIndex model = 0; model < 4; ++model) {
        const Json::Value row = lights["DefaultLightName"][model];
        EXPECT_GE(row.size(), needed[model]) << model;
        for (const auto& e : row) {
            EXPECT_TRUE(e["LightName"].isString());
            EXPECT_TRUE(e["visible"].isIntegral());
            EXPECT_TRUE(e["value"].isIntegral());
            EXPECT_EQ(e["LightName"].asString().find(' '), std::string::npos) << "names are language keys";
        }
        EXPECT_FALSE(lights["AreaLightName"][model].empty());
    }
}

TEST(DefaultData, ShootFilesHoldThirtyBulletsOfSixEvents)
{
    for (int gun = 0; gun < 4; ++gun) {
        const Json::Value events = ReadJsonFile(SourceDefaultData() / ("ShootData_" + std::to_string(gun) + ".Shoot"))["Events"];
        ASSERT_EQ(events.size(), 180u) << gun;
        for (Json::ArrayIndex b = 0; b < 30; ++b) {
            const int types[] = {1, 1, 4, 5, 4, 5};
            for (Json::ArrayIndex e = 0; e < 6; ++e) {
                const Json::Value ev = events[6 * b + e];
                EXPECT_EQ(ev["Type"].asInt(), types[e]) << gun << " " << b;
                EXPECT_TRUE(ev["Delay"].isIntegral());
                EXPECT_TRUE(ev["Action"].asString() == "down" || ev["Action"].asString() == "up");
            }
            EXPECT_EQ(events[6 * b]["Delay"].asInt(), 10);
            EXPECT_EQ(events[6 * b + 2]["Delay"].asInt(), 5);
        }
    }
}

TEST(DefaultData, ListsAndSettingsFiles)
{
    const Json::Value languages = ReadJsonFile(SourceDefaultData() / "Language.config")["Language"];
    ASSERT_GE(languages.size(), 2u);
    std::vector<int> ids;
    for (const auto& l : languages) {
        ExpectMembers(l, {"Language_name", "Language_file", "Language_ID", "Language_text"}, "Language");
        ids.push_back(l["Language_ID"].asInt());
    }
    EXPECT_NE(std::find(ids.begin(), ids.end(), 1033), ids.end()) << "English";
    EXPECT_NE(std::find(ids.begin(), ids.end(), 2052), ids.end()) << "Simplified Chinese";

    const Json::Value colours = ReadJsonFile(SourceDefaultData() / "color_option_info.config")["coloroptioninfo"];
    ExpectMembers(colours, {"palletDialogcoloroption", "palletDialogcoloroption_selectitem",
        "palletDialogcollectcoloroption", "palletDialogcollectcoloroption_selectitem"}, "coloroptioninfo");
    EXPECT_EQ(colours["palletDialogcoloroption"].size(), 20u);

    const Json::Value audio = ReadJsonFile(SourceDefaultData() / "AudioFile.json")["AudioLightInfo"];
    ExpectMembers(audio, {"nAudioStyle", "nStyleName1", "nStyleName4", "nStyleR0", "nStyleB3"}, "AudioLightInfo");
}

TEST(DataFolders, PathsAndLazyCreation)
{
    TempFolder dir;
    const CDataFolders folders(dir / "root", dir / "DefaultData");
    EXPECT_FALSE(std::filesystem::exists(dir / "root"));
    EXPECT_EQ(folders.GetDeviceDataFolder(NamesOf(DeviceKind::MousePad).folderName), dir / "root" / "MousePad" / "");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "root" / "MousePad"));
    EXPECT_EQ(folders.GetDefaultFile(NamesOf(DeviceKind::Headset).folderName), dir / "DefaultData" / "HD.Json");
    EXPECT_EQ(NamesOf(DeviceKind::MouseReceiver).macroListFile, "macro.config");
    EXPECT_EQ(NamesOf(DeviceKind::Headset).macroListFile, "mirva_macro.config");

    ::setenv("XDG_DATA_HOME", (dir / "xdg").c_str(), 1);
    EXPECT_EQ(CDataFolders::DefaultAppDataRoot(), dir / "xdg" / "Gaming device");
    ::unsetenv("XDG_DATA_HOME");
}
