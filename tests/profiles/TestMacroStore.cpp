#include "ProfileTestSupport.h"

#include "profiles/BasicProfiledata.h"
#include "profiles/JsonFile.h"
#include "profiles/MacroDeletion.h"
#include "profiles/MacroEvent.h"
#include "profiles/MacroStore.h"
#include "profiles/ProfileList.h"

#include <gtest/gtest.h>

namespace {

struct StoreFixture {
    TempFolder dir;
    std::filesystem::path folder = dir / "mouse";
    CMacroStore store;

    StoreFixture()
    {
        std::filesystem::create_directories(folder);
        store.SetFolder(folder);
        store.LoadMacroList();
    }
    Json::Value ListFile() const { return ReadJsonFile(folder / "macro.config"); }
    std::vector<std::wstring> Names() const
    {
        std::vector<std::wstring> names;
        for (const auto& item : store.Items())
            names.push_back(item.name);
        return names;
    }
    void Add(int count)
    {
        for (int i = 0; i < count; ++i)
            ASSERT_FALSE(store.AddMacro().empty());
    }
};

std::string Event(int type, const char* action, int button)
{
    return "{\"Type\":" + std::to_string(type) + ",\"Action\":\"" + action + "\",\"Button\":" + std::to_string(button)
        + "}";
}

} // namespace

TEST(MacroStore, AddNamesTheFirstFreeNumberAndDeleteFreesIt)
{
    StoreFixture f;
    EXPECT_EQ(f.store.AddMacro(), L"macro_1");
    EXPECT_EQ(f.store.AddMacro(), L"macro_2");
    EXPECT_EQ(f.store.AddMacro(), L"macro_3");
    EXPECT_EQ(f.store.GetSelectedMacro(), 2);
    const Json::Value list = f.ListFile()["MacroInfo"];
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[2]["MacroName"].asString(), "macro_3");
    EXPECT_EQ(list[2]["Guid"].asString(), f.store.Items()[2].guid);
    EXPECT_NE(list[1]["Guid"].asString(), list[2]["Guid"].asString());
    EXPECT_FALSE(std::filesystem::exists(f.store.GetMacroFile(2))) << "no event file before the first save";

    f.store.SelectMacro(0);
    EXPECT_EQ(f.store.DeleteMacro(), 0);
    EXPECT_EQ(f.Names(), (std::vector<std::wstring>{L"macro_2", L"macro_3"}));
    EXPECT_EQ(f.ListFile()["MacroInfo"][0]["MacroName"].asString(), "macro_2");
    EXPECT_EQ(f.store.GetSelectedMacro(), 0);
    ASSERT_EQ(f.store.RenameMacro(L"MACRO_1"), CMacroStore::RenameResult::Renamed);
    EXPECT_EQ(f.store.AddMacro(), L"macro_2") << "MACRO_1 blocks macro_1";
    EXPECT_EQ(f.store.AddMacro(), L"macro_4");
}

TEST(MacroStore, AtMostFiftyMacros)
{
    StoreFixture f;
    f.Add(50);
    EXPECT_TRUE(f.store.AddMacro().empty());
    WriteText(f.dir / "in.mac", R"({"Events": []})");
    const std::string before = ReadFileText(f.store.GetMacroFile(f.store.GetSelectedMacro()));
    EXPECT_TRUE(f.store.ImportMacro(f.dir / "in.mac").empty());
    EXPECT_EQ(ReadFileText(f.store.GetMacroFile(f.store.GetSelectedMacro())), before)
        << "a refused import overwrites no macro";
    EXPECT_EQ(f.ListFile()["MacroInfo"].size(), 50u);
}

TEST(MacroStore, RenameResults)
{
    StoreFixture f;
    f.Add(2);
    f.store.SelectMacro(1);
    struct Case {
        const wchar_t* name;
        CMacroStore::RenameResult result;
        const wchar_t* after;
    } cases[] = {
        {L"  ", CMacroStore::RenameResult::Unchanged, L"macro_2"},
        {L"Macro_2", CMacroStore::RenameResult::NameInUse, L"macro_2"},
        {L"MACRO_1", CMacroStore::RenameResult::NameInUse, L"macro_2"},
        {L" Jump ", CMacroStore::RenameResult::Renamed, L" Jump "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(f.store.RenameMacro(c.name), c.result) << c.name;
        EXPECT_EQ(f.store.Items()[1].name, c.after);
    }
    EXPECT_EQ(f.ListFile()["MacroInfo"][1]["MacroName"].asString(), " Jump ");
    f.store.SelectMacro(-1);
    EXPECT_EQ(f.store.RenameMacro(L"x"), CMacroStore::RenameResult::Unchanged);
}

TEST(MacroStore, SaveWritesDelaysAsTextAndStopsAtARowWithoutEvent)
{
    StoreFixture f;
    f.Add(1);
    std::vector<MacroRow> rows = {
        {"120", Event(10, "down", 4)},
        {"", Event(10, "up", 4)},
        {"007x", Event(1, "down", 1)},
        {"5", ""},
        {"9", Event(1, "up", 1)},
    };
    f.store.SaveMacro(rows);
    const Json::Value file = ReadJsonFile(f.store.GetMacroFile(0));
    EXPECT_EQ(file["MacroName"].asString(), "macro_1");
    EXPECT_EQ(file["Guid"].asString(), f.store.Items()[0].guid);
    EXPECT_EQ(file["Version"].asInt(), 64);
    ASSERT_EQ(file["Events"].size(), 3u);
    EXPECT_EQ(file["Events"][0]["Delay"].asString(), "120");
    EXPECT_EQ(file["Events"][1]["Delay"].asString(), "0");
    EXPECT_EQ(file["Events"][2]["Delay"].asString(), "7");
    EXPECT_EQ(rows[1].delayText, "0") << "the emptied field shows 0";
    EXPECT_EQ(ParseJson(rows[0].eventText)["Delay"].asString(), "120");
    EXPECT_EQ(f.store.ReadMacroEvents(0), file["Events"]);
}

TEST(MacroStore, PackedEvents)
{
    struct Case {
        const char* event;
        std::array<uint8_t, 4> bytes;
    } cases[] = {
        {R"({"Type": 1, "Action": "down", "Button": 1, "Delay": "10"})", {10, 0, 0x81, 1}},
        {R"({"Type": 1, "Action": "up", "Button": 1, "Delay": "0"})", {0, 0, 0x01, 1}},
        {R"({"Type": 4, "Action": "down", "Button": 3, "Delay": "5"})", {5, 0, 0x84, 3}},
        {R"({"Type": 5, "Action": "up", "Button": 12, "Delay": "80"})", {80, 0, 0x05, 12}},
        {R"({"Type": 10, "Action": "Down", "Button": 4, "Delay": "1"})", {1, 0, 0x0A, 4}},
        {R"({"Type": 1, "Action": "up", "Button": 1, "Delay": "70000"})", {0x70, 0x11, 0x01, 1}},
        {R"({"Type": 1, "Action": "up", "Button": 1, "Delay": 70000})", {0x70, 0x11, 0x01, 1}},
        {R"({"Type": 9, "Action": "down", "Button": 2, "Delay": "abc"})", {0, 0, 0x89, 2}},
        {R"({"Type": 9, "Action": "down", "Button": 258})", {0, 0, 0x89, 2}},
        {R"({"Type": "x", "Action": 1, "Button": [], "Delay": {}})", {0, 0, 0, 0}},
        {R"([1, 2])", {0, 0, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PackMacroEvent(ParseJson(c.event)), c.bytes) << c.event;
    EXPECT_EQ(ParseDelayText("99999999999999"), 4294967295u);
    EXPECT_EQ(ParseDelayText(" 42ms"), 42u);
}

TEST(MacroStore, ImportCopiesTheFileAndExportCopiesItBack)
{
    StoreFixture f;
    f.Add(1);
    const std::string content = "{\"Events\": [{\"Type\": 1, \"Action\": \"down\", \"Button\": 1, \"Delay\": 3}],"
                                " \"MacroName\": \"ignored\"}\n";
    WriteText(f.dir / "jump.mac", content);
    EXPECT_EQ(f.store.ImportMacro(f.dir / "jump.mac"), L"macro_2");
    EXPECT_EQ(f.store.GetSelectedMacro(), 1);
    EXPECT_EQ(ReadFileText(f.store.GetMacroFile(1)), content);
    EXPECT_TRUE(f.store.ImportMacro(f.dir / "missing.mac").empty());
    EXPECT_EQ(f.store.Items().size(), 2u);

    EXPECT_TRUE(f.store.ExportMacro(f.dir / "out.mac"));
    EXPECT_EQ(ReadFileText(f.dir / "out.mac"), content);
    f.store.SelectMacro(0);
    EXPECT_TRUE(f.store.ExportMacro(f.dir / "unsaved.mac"));
    EXPECT_TRUE(std::filesystem::exists(f.dir / "unsaved.mac"));
    EXPECT_EQ(std::filesystem::file_size(f.dir / "unsaved.mac"), 0u) << "a never saved macro exports empty";
}

TEST(MacroStore, HostileGuidsTouchNothingOutsideTheFolder)
{
    StoreFixture f;
    WriteText(f.dir / "victim.mac", "precious");
    WriteText(f.folder / "macro.config", R"({"MacroInfo": [
        {"MacroName": "a", "Guid": "../victim"}, {"MacroName": "b", "Guid": "/tmp"},
        {"MacroName": "c", "Guid": 12}, {"MacroName": "d", "Guid": ".."}]})");
    f.store.LoadMacroList();
    ASSERT_EQ(f.store.Items().size(), 4u) << "entries keep their positions";
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(f.store.GetMacroFile(i).empty()) << i;
        EXPECT_TRUE(f.store.ReadMacroEvents(i).isNull()) << i;
    }
    f.store.SelectMacro(0);
    std::vector<MacroRow> rows = {{"1", Event(1, "down", 1)}};
    f.store.SaveMacro(rows);
    EXPECT_FALSE(f.store.ExportMacro(f.dir / "out.mac"));
    EXPECT_EQ(f.store.DeleteMacro(), 0);
    EXPECT_EQ(ReadFileText(f.dir / "victim.mac"), "precious");
    EXPECT_FALSE(std::filesystem::exists(f.dir / "out.mac"));
    EXPECT_EQ(f.ListFile()["MacroInfo"].size(), 3u);
}

namespace {

// Three profiles whose keys use macros 0, 1 and 2 of a three-macro list.
struct DeletionFixture {
    StoreFixture macros;
    CProfileList profiles;
    CBasicProfiledata data;
    std::vector<KeyEntry> currentKeys;

    static Json::Value MacroProfile(const std::string& name)
    {
        Json::Value profile;
        profile["profilename"] = name;
        profile["profileUUID"] = name;
        const int keys[][2] = {{0x700000, 0x100100}, {0x700100, 0x100200}, {0x710200, 0x100400}, {0x100800, 0x100800}};
        for (Json::ArrayIndex i = 0; i < 4; ++i) {
            profile["Device"][0]["KeyList"][i]["Assignment"] = keys[i][0];
            profile["Device"][0]["KeyList"][i]["DefaultAssignment"] = keys[i][1];
        }
        return profile;
    }

    DeletionFixture()
    {
        macros.Add(3);
        Json::Value doc;
        for (Json::ArrayIndex i = 0; i < 3; ++i) {
            const std::string name = "p" + std::to_string(i);
            doc["profilelist"][i]["profilename"] = name;
            doc["profilelist"][i]["profileUUID"] = name;
            StoreJsonFile(macros.folder / (name + ".Json"), MacroProfile(name));
        }
        doc["profileselect"] = 1;
        StoreJsonFile(macros.folder / "ProfileList.ini", doc);
        profiles.SetFolders(macros.folder, macros.dir / "factory.Json");
        profiles.LoadProfileList();
        data.LoadDeviceEntry(macros.folder / "p1.Json");
        currentKeys = data.ReadKeyList();
    }
    std::vector<uint32_t> Assignments(const std::string& profile) const
    {
        std::vector<uint32_t> out;
        const Json::Value list = ReadJsonFile(macros.folder / (profile + ".Json"))["Device"][0]["KeyList"];
        for (const auto& key : list)
            out.push_back(key["Assignment"].asUInt());
        return out;
    }
};

} // namespace

TEST(MacroDeletion, KeysOfTheDeletedMacroGetTheirDefaultAndLaterOnesMoveDown)
{
    DeletionFixture f;
    f.macros.store.SelectMacro(1);
    std::vector<std::string> asked;
    const auto result = CMacroDeletion::Run(f.macros.store, f.profiles, f.data, f.currentKeys,
        [&](std::string_view key) { asked.emplace_back(key); return true; });

    EXPECT_EQ(result.deleted, 1);
    EXPECT_TRUE(result.currentKeysChanged);
    EXPECT_EQ(asked, (std::vector<std::string>{"message_text_4", "message_text_2"}));
    const std::vector<uint32_t> expected = {0x700000, 0x100200, 0x710100, 0x100800};
    for (const char* other : {"p0", "p2"})
        EXPECT_EQ(f.Assignments(other), expected) << other;
    EXPECT_EQ(f.Assignments("p1"), (std::vector<uint32_t>{0x700000, 0x700100, 0x710200, 0x100800}))
        << "the current profile is the caller's to store";
    std::vector<uint32_t> current;
    for (const auto& k : f.currentKeys)
        current.push_back(PackedAssignment(k));
    EXPECT_EQ(current, expected);
    EXPECT_EQ(f.macros.Names(), (std::vector<std::wstring>{L"macro_1", L"macro_3"}));
}

TEST(MacroDeletion, DecliningChangesNothing)
{
    struct Case {
        const char* declined;
    } cases[] = {{"message_text_4"}, {"message_text_2"}};
    for (const auto& c : cases) {
        DeletionFixture f;
        f.macros.store.SelectMacro(1);
        std::vector<MacroRow> rows = {{"1", Event(1, "up", 1)}};
        f.macros.store.SaveMacro(rows);
        const std::string listBefore = ReadFileText(f.macros.folder / "macro.config");
        const auto p0 = f.Assignments("p0");
        const auto result = CMacroDeletion::Run(f.macros.store, f.profiles, f.data, f.currentKeys,
            [&](std::string_view key) { return key != c.declined; });
        EXPECT_EQ(result.deleted, -1) << c.declined;
        EXPECT_EQ(f.Assignments("p0"), p0) << c.declined;
        EXPECT_EQ(ReadFileText(f.macros.folder / "macro.config"), listBefore) << c.declined;
        EXPECT_TRUE(std::filesystem::exists(f.macros.store.GetMacroFile(1))) << c.declined;
        EXPECT_EQ(f.macros.store.Items().size(), 3u);
    }
}
