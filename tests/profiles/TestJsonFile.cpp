#include "ProfileTestSupport.h"

#include "profiles/JsonFile.h"
#include "platform/PlainFileName.h"
#include "profiles/TextConvert.h"

#include <gtest/gtest.h>

#include <csignal>
#include <set>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

TEST(JsonFile, StoresStyledTextThatReadsBack)
{
    TempFolder dir;
    Json::Value value;
    value["b"] = 2;
    value["a"]["name"] = "配置一";
    StoreJsonFile(dir / "x.Json", value);

    EXPECT_EQ(ReadJsonFile(dir / "x.Json"), value);
    const std::string text = ReadFileText(dir / "x.Json");
    EXPECT_EQ(text, "{\n   \"a\" : \n   {\n      \"name\" : \"配置一\"\n   },\n   \"b\" : 2\n}\n");
    EXPECT_EQ(FileNames(dir.Path()), std::vector<std::string>{"x.Json"}) << "no temporary file is left behind";
}

TEST(JsonFile, UnreadableFilesReadAsNull)
{
    TempFolder dir;
    WriteText(dir / "empty.json", "");
    WriteText(dir / "broken.json", "{\"a\": ");
    std::filesystem::create_directory(dir / "folder.json");
    for (const char* name : {"missing.json", "empty.json", "broken.json", "folder.json"})
        EXPECT_TRUE(ReadJsonFile(dir / name).isNull()) << name;

    WriteText(dir / "comments.json", "// shipped\n{ /* the list */ \"a\": 1 }\n");
    EXPECT_EQ(ReadJsonFile(dir / "comments.json")["a"].asInt(), 1);
}

TEST(JsonFile, ReplacingKeepsThePermissionsOfTheOldFile)
{
    TempFolder dir;
    StoreJsonFile(dir / "p.Json", Json::Value(1));
    std::filesystem::permissions(dir / "p.Json", std::filesystem::perms(0640));
    StoreJsonFile(dir / "p.Json", Json::Value(2));
    EXPECT_EQ(std::filesystem::status(dir / "p.Json").permissions(), std::filesystem::perms(0640));
    EXPECT_EQ(ReadJsonFile(dir / "p.Json").asInt(), 2);
}

// A save that runs out of space half-way: the child process may write only a
// few bytes per file, as on a full disk, and the old profile must stay whole.
TEST(JsonFile, SaveCutShortLeavesTheOldFileWhole)
{
    TempFolder dir;
    const auto file = dir / "profile.Json";
    Json::Value old;
    old["profilename"] = "profile1";
    StoreJsonFile(file, old);
    const std::string before = ReadFileText(file);

    Json::Value large;
    for (Json::ArrayIndex i = 0; i < 2000; ++i)
        large["Device"][0]["KeyList"][i]["Assignment"] = i;

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{64, 64};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const bool replaced = StoreJsonFileChecked(file, large);
        const int status = StoreJsonFile(file, large);
        ::_exit(!replaced && status == 0 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the cut-short save is reported as not replaced, StoreJsonFile still says 0";

    EXPECT_EQ(ReadFileText(file), before);
    EXPECT_EQ(ReadJsonFile(file), old);
    EXPECT_EQ(FileNames(dir.Path()), std::vector<std::string>{"profile.Json"});
}

TEST(JsonFile, StrayTemporaryFileFromACrashDoesNotHideTheProfile)
{
    TempFolder dir;
    StoreJsonFile(dir / "a.Json", Json::Value("kept"));
    WriteText(dir / ".a.Json.123.0.0000abcd", "{\"half");
    EXPECT_EQ(ReadJsonFile(dir / "a.Json").asString(), "kept");
}

TEST(JsonFile, TimeStampNamesHaveTheListFormat)
{
    const std::string name = MakeTimeStampName();
    EXPECT_TRUE(IsTimeStampName(name)) << name;

    std::set<std::string> made;
    for (int i = 0; i < 5; ++i)
        made.insert(MakeUniqueTimeStampName([&](const std::string& n) { return made.count(n) > 0; }));
    EXPECT_EQ(made.size(), 5u) << "names made in one millisecond still differ";
}

TEST(JsonFile, PlainFileNames)
{
    struct Case {
        const char* name;
        bool plain;
    } cases[] = {
        {"2022_11_01_09_05_07_042", true}, {"a.b", true}, {"", false}, {".", false}, {"..", false},
        {"../x", false}, {"/etc/passwd", false}, {"a/b", false}, {"a\\b", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsPlainFileName(c.name), c.plain) << c.name;
    EXPECT_FALSE(IsPlainFileName(std::string_view("a\0b", 3)));
}

TEST(TextConvert, WideTextRoundTripsAndComparesWithoutCase)
{
    EXPECT_EQ(WideToUtf8(Utf8ToWide("Profil é 配置")), "Profil é 配置");
    EXPECT_TRUE(EqualsIgnoringCase(L"PROFILE1", L"profile1"));
    EXPECT_TRUE(EqualsIgnoringCase(L"ÉTÉ", L"été"));
    EXPECT_FALSE(EqualsIgnoringCase(L"profile1", L"profile10"));
    EXPECT_TRUE(IsBlank(L" \t "));
    EXPECT_FALSE(IsBlank(L" a "));
}
