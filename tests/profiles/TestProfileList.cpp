#include "ProfileTestSupport.h"

#include "profiles/JsonFile.h"
#include "profiles/ProfileList.h"
#include "profiles/TextConvert.h"

#include <gtest/gtest.h>

namespace {

// A kind folder with a factory file, and the profile list over it.
struct ListFixture {
    TempFolder dir;
    std::filesystem::path folder = dir / "mouse";
    CProfileList list;

    explicit ListFixture(DeviceKind kind = DeviceKind::Mouse)
    {
        std::filesystem::create_directories(folder);
        WriteText(dir / "factory.Json", R"({"Device": [{"LightInfo": {"Light": 3}}]})");
        list.SetKind(kind);
        list.SetFolders(folder, dir / "factory.Json");
    }
    Json::Value ListFile() const { return ReadJsonFile(folder / "ProfileList.ini"); }
    std::string UuidAt(int i) const { return ListFile()["profilelist"][i]["profileUUID"].asString(); }
    Json::Value ProfileAt(int i) const { return ReadJsonFile(folder / (UuidAt(i) + ".Json")); }
    // A list file with the given names, each with its profile file.
    void Seed(const std::vector<std::string>& names, int select = 0)
    {
        Json::Value doc;
        for (Json::ArrayIndex i = 0; i < names.size(); ++i) {
            const std::string uuid = "2022_01_01_00_00_00_00" + std::to_string(i);
            doc["profilelist"][i]["profilename"] = names[i];
            doc["profilelist"][i]["profileUUID"] = uuid;
            Json::Value profile;
            profile["profilename"] = names[i];
            profile["profileUUID"] = uuid;
            profile["Device"][0]["LightInfo"]["Light"] = static_cast<int>(i);
            StoreJsonFile(folder / (uuid + ".Json"), profile);
        }
        doc["profileselect"] = select;
        StoreJsonFile(folder / "ProfileList.ini", doc);
        list.LoadProfileList();
    }
    std::vector<std::wstring> Names() const { return list.Items(); }
};

} // namespace

TEST(ProfileList, EmptyFolderCreatesProfile1FromTheFactoryFile)
{
    ListFixture f;
    f.list.LoadProfileList();

    const Json::Value doc = f.ListFile();
    ASSERT_EQ(doc["profilelist"].size(), 1u);
    EXPECT_EQ(doc["profilelist"][0]["profilename"].asString(), "profile1");
    EXPECT_EQ(doc["profilelist"][0]["profileislink"].asInt(), 0);
    EXPECT_EQ(doc["profilelist"][0]["profilelinkmame"].asString(), "");
    EXPECT_EQ(doc["profileselect"].asInt(), 0);
    const Json::Value profile = f.ProfileAt(0);
    EXPECT_EQ(profile["profilename"].asString(), "profile1");
    EXPECT_EQ(profile["profileUUID"].asString(), f.UuidAt(0));
    EXPECT_EQ(profile["Device"][0]["LightInfo"]["Light"].asInt(), 3);
    EXPECT_EQ(WideToUtf8(f.list.GetCurrentUuid()), f.UuidAt(0));
    EXPECT_EQ(f.list.GetSelectedIndex(), 0);
}

TEST(ProfileList, AddNamesTheFirstFreeNumberAndMarksItSelectedInTheFile)
{
    ListFixture f;
    f.Seed({"profile1", "Profile2"}, 1);
    ASSERT_TRUE(f.list.AddProfile());
    EXPECT_EQ(f.Names(), (std::vector<std::wstring>{L"profile1", L"Profile2", L"profile3"}));
    EXPECT_EQ(f.ListFile()["profileselect"].asInt(), 2);
    EXPECT_EQ(f.list.GetSelectedIndex(), 1) << "the working selection stays";
    EXPECT_EQ(f.ProfileAt(2)["profilename"].asString(), "profile3");
    EXPECT_EQ(f.ProfileAt(2)["Device"][0]["LightInfo"]["Light"].asInt(), 3);
}

TEST(ProfileList, AtMostFiftyProfiles)
{
    ListFixture f;
    f.list.LoadProfileList();
    while (f.list.Items().size() < 49)
        ASSERT_TRUE(f.list.AddProfile());
    EXPECT_TRUE(f.list.AddProfile()) << "the 50th can still be added";
    EXPECT_FALSE(f.list.AddProfile());
    EXPECT_FALSE(f.list.CopyProfile());
    StoreJsonFile(f.dir / "game.json", f.ProfileAt(0));
    EXPECT_FALSE(f.list.ImportProfile(f.dir / "game.json"));
    EXPECT_EQ(f.ListFile()["profilelist"].size(), 50u);
    EXPECT_EQ(f.list.Items().size(), 50u);
    EXPECT_EQ(FileNames(f.folder).size(), 51u) << "50 profiles and the list, no file overwritten";
}

TEST(ProfileList, CopyAppendsCopySuffixesAndCopiesTheContent)
{
    ListFixture f;
    f.Seed({"A", "A copy", "B"}, 0);
    ASSERT_TRUE(f.list.CopyProfile());
    EXPECT_EQ(f.Names().back(), L"A copy copy");
    EXPECT_EQ(f.ListFile()["profileselect"].asInt(), 0);
    const Json::Value copy = f.ProfileAt(3);
    EXPECT_EQ(copy["profilename"].asString(), "A copy copy");
    EXPECT_EQ(copy["profileUUID"].asString(), f.UuidAt(3));
    EXPECT_EQ(copy["Device"][0]["LightInfo"]["Light"].asInt(), 0) << "content of A";
}

TEST(ProfileList, ImportUsesTheFileNameWithAccumulatingSuffixes)
{
    ListFixture f;
    f.list.LoadProfileList();
    Json::Value game;
    game["profilename"] = "inside";
    game["profileUUID"] = "../../elsewhere";
    game["Device"][0]["LightInfo"]["Speed"] = 4;
    StoreJsonFile(f.dir / "game.json", game);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(f.list.ImportProfile(f.dir / "game.json"));
    EXPECT_EQ(f.Names(), (std::vector<std::wstring>{L"profile1", L"game", L"game(1)", L"game(1)(2)"}));
    const Json::Value imported = f.ProfileAt(3);
    EXPECT_EQ(imported["profilename"].asString(), "game(1)(2)");
    EXPECT_EQ(imported["profileUUID"].asString(), f.UuidAt(3)) << "a new identifier, not the file's";
    EXPECT_EQ(imported["Device"][0]["LightInfo"]["Speed"].asInt(), 4);
    EXPECT_EQ(f.ListFile()["profileselect"].asInt(), 0);

    struct Case {
        const char* name;
        const char* text;
    } refused[] = {
        {"noid.json", R"({"profilename": "x", "Device": []})"},
        {"numbers.json", R"({"profilename": 1, "profileUUID": 2})"},
        {"broken.json", R"({"profilename": "x", )"},
    };
    for (const auto& c : refused) {
        WriteText(f.dir / c.name, c.text);
        EXPECT_FALSE(f.list.ImportProfile(f.dir / c.name)) << c.name;
    }
    EXPECT_EQ(f.list.Items().size(), 4u);
}

TEST(ProfileList, RenameResults)
{
    ListFixture f;
    f.Seed({"profile1", "profile2"}, 0);
    struct Case {
        const wchar_t* name;
        int result;
        const wchar_t* selectedName; // after the call
    } cases[] = {
        {L"   ", 2, L"profile1"},
        {L"PROFILE2", 0, L"profile1"},
        {L"PROFILE1", 1, L"PROFILE1"},
        {L" Game ", 1, L" Game "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(f.list.RenameProfile(c.name), c.result) << c.name;
        EXPECT_EQ(f.Names()[0], c.selectedName);
    }
    EXPECT_EQ(f.ListFile()["profilelist"][0]["profilename"].asString(), " Game ");
    EXPECT_EQ(f.ProfileAt(0)["profilename"].asString(), " Game ");
    EXPECT_EQ(f.list.GetNameText(), L" Game ");
}

TEST(ProfileList, DeleteRemovesTheFileAndSelectsTheProfileBefore)
{
    struct Case {
        int selected;
        int expectSelect;
        std::vector<std::wstring> left;
    } cases[] = {
        {0, 0, {L"b", L"c"}},
        {2, 1, {L"a", L"b"}},
        {1, 0, {L"a", L"c"}},
    };
    for (const auto& c : cases) {
        ListFixture f;
        f.Seed({"a", "b", "c"}, c.selected);
        const std::string gone = f.UuidAt(c.selected);
        f.list.DeleteProfile();
        EXPECT_EQ(f.Names(), c.left);
        EXPECT_EQ(f.ListFile()["profileselect"].asInt(), c.expectSelect);
        EXPECT_EQ(f.list.GetSelectedIndex(), c.expectSelect);
        EXPECT_FALSE(std::filesystem::exists(f.folder / (gone + ".Json")));
        EXPECT_EQ(FileNames(f.folder).size(), 3u);
    }

    ListFixture single;
    single.list.LoadProfileList();
    single.list.DeleteProfile();
    EXPECT_EQ(single.list.Items().size(), 1u) << "the last profile stays";
}

TEST(ProfileList, ResetRestoresTheFactoryProfileAndAHeadsetKeepsItsOwnCurves)
{
    for (DeviceKind kind : {DeviceKind::Mouse, DeviceKind::Headset}) {
        ListFixture f(kind);
        f.Seed({"mine"});
        Json::Value profile = f.ProfileAt(0);
        profile["Device"][0]["CustomEQNameInfo"][0]["Name"] = "Bass";
        profile["Device"][0]["CustomEQHzValueInfo"][0][0]["value"] = 6;
        StoreJsonFile(f.folder / (f.UuidAt(0) + ".Json"), profile);

        f.list.ResetProfile();
        const Json::Value reset = f.ProfileAt(0);
        EXPECT_EQ(reset["profilename"].asString(), "mine");
        EXPECT_EQ(reset["profileUUID"].asString(), f.UuidAt(0));
        EXPECT_EQ(reset["Device"][0]["LightInfo"]["Light"].asInt(), 3);
        const bool kept = kind == DeviceKind::Headset;
        EXPECT_EQ(reset["Device"][0]["CustomEQNameInfo"][0]["Name"].asString(), kept ? "Bass" : "");
        EXPECT_EQ(reset["Device"][0]["CustomEQHzValueInfo"][0][0]["value"].asInt(), kept ? 6 : 0);
    }
}

TEST(ProfileList, ExportWritesTheSelectedProfileFile)
{
    ListFixture f;
    f.Seed({"a", "b"}, 1);
    EXPECT_TRUE(f.list.ExportProfile(f.dir / "out.json"));
    EXPECT_EQ(ReadJsonFile(f.dir / "out.json"), f.ProfileAt(1));
    EXPECT_FALSE(f.list.ExportProfile(f.dir / "no-such-folder" / "out.json"));
}

TEST(ProfileList, SelectionOutsideTheListFallsBackToTheFirstProfile)
{
    for (int select : {7, -2}) {
        ListFixture f;
        f.Seed({"a", "b"}, select);
        EXPECT_EQ(f.list.GetSelectedIndex(), 0);
        EXPECT_EQ(f.ListFile()["profileselect"].asInt(), 0);
    }
}

// List entries whose identifiers would name files outside the folder: no
// operation reads, writes or deletes anything outside it.
TEST(ProfileList, HostileIdentifiersTouchNothingOutsideTheFolder)
{
    ListFixture f;
    const std::filesystem::path outside = f.dir / "outside.Json";
    WriteText(outside, R"({"profilename": "victim", "Device": [{"LightInfo": {"Light": 1}}]})");
    const std::string before = ReadFileText(outside);
    Json::Value doc;
    const char* uuids[] = {"../outside", "/etc/passwd", "..", ""};
    for (Json::ArrayIndex i = 0; i < 4; ++i) {
        doc["profilelist"][i]["profilename"] = "bad" + std::to_string(i);
        doc["profilelist"][i]["profileUUID"] = uuids[i];
    }
    doc["profilelist"][4u]["profilename"] = "typed";
    doc["profilelist"][4u]["profileUUID"] = 5;
    doc["profileselect"] = 0;
    StoreJsonFile(f.folder / "ProfileList.ini", doc);

    f.list.LoadProfileList();
    EXPECT_TRUE(f.list.GetCurrentUuid().empty());
    EXPECT_EQ(f.list.GetProfileCount(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(f.list.GetProfileFileAt(i).empty()) << i;

    f.list.ResetProfile();
    EXPECT_EQ(f.list.RenameProfile(L"renamed"), 1);
    EXPECT_FALSE(f.list.ExportProfile(f.dir / "export.json"));
    EXPECT_TRUE(f.list.CopyProfile());
    f.list.DeleteProfile();

    EXPECT_EQ(ReadFileText(outside), before);
    EXPECT_FALSE(std::filesystem::exists(f.dir / "export.json"));
    EXPECT_EQ(f.ListFile()["profilelist"].size(), 5u) << "the entry went from the list, the copy came in";
    EXPECT_EQ(f.ListFile()["profilelist"][4u]["profilename"].asString(), "renamed copy");
    EXPECT_EQ(FileNames(f.dir.Path()), (std::vector<std::string>{"factory.Json", "mouse", "outside.Json"}));
}
