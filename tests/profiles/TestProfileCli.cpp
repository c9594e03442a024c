#include "CliRun.h"
#include "ProfileTestSupport.h"

#include "profiles/JsonFile.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// gaming-device-cli on a fresh data root, with the shipped factory data.
struct CliFixture {
    CliFolder dir;
    std::filesystem::path root = dir.DataRoot();

    CliRun Run(const std::vector<std::string>& args) const
    {
        std::vector<std::string> all = dir.DataOptions();
        all.insert(all.end(), args.begin(), args.end());
        return RunCli(all);
    }
    std::vector<std::string> Lines(const std::vector<std::string>& args) const
    {
        const CliRun r = Run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        std::vector<std::string> lines;
        std::istringstream in(r.out);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
};

} // namespace

TEST(ProfileCli, FirstListCreatesProfile1FromTheFactoryFile)
{
    CliFixture f;
    const auto lines = f.Lines({"profile", "mouse", "list"});
    ASSERT_EQ(lines.size(), 1u);
    ASSERT_TRUE(lines[0].starts_with("0 * profile1 ")) << lines[0];
    const std::string uuid = lines[0].substr(13);
    ASSERT_TRUE(IsTimeStampName(uuid)) << lines[0];
    const Json::Value profile = ReadJsonFile(f.root / "mouse" / (uuid + ".Json"));
    EXPECT_EQ(profile["profilename"].asString(), "profile1");
    EXPECT_EQ(profile["Device"][0]["KeyList"].size(), 11u);
    EXPECT_EQ(f.Lines({"profile", "mouse", "list"}), lines) << "the second run reads the same list";
}

TEST(ProfileCli, ProfileOperations)
{
    CliFixture f;
    EXPECT_EQ(f.Lines({"profile", "keyboard", "add"}), std::vector<std::string>{"profile2"});
    EXPECT_EQ(f.Lines({"profile", "keyboard", "rename", "Game"}), std::vector<std::string>{"result 1"})
        << "the add marked profile2 selected";
    EXPECT_EQ(f.Lines({"profile", "keyboard", "rename", "PROFILE1"}), std::vector<std::string>{"result 0"});
    EXPECT_EQ(f.Lines({"profile", "keyboard", "rename", "  "}), std::vector<std::string>{"result 2"});
    EXPECT_EQ(f.Lines({"profile", "keyboard", "copy"}), std::vector<std::string>{"Game copy"});

    const auto exported = f.dir / "game.json";
    f.Lines({"profile", "keyboard", "export", exported.string()});
    EXPECT_EQ(ReadJsonFile(exported)["profilename"].asString(), "Game");
    EXPECT_EQ(f.Lines({"profile", "keyboard", "import", exported.string()}), std::vector<std::string>{"game(1)"})
        << "\"game\" is taken by \"Game\"";

    f.Lines({"profile", "keyboard", "select", "0"});
    const auto list = f.Lines({"profile", "keyboard", "list"});
    ASSERT_EQ(list.size(), 4u);
    EXPECT_TRUE(list[0].starts_with("0 * profile1 "));
    EXPECT_TRUE(list[1].starts_with("1 - Game "));
    EXPECT_TRUE(list[2].starts_with("2 - Game copy "));
    EXPECT_TRUE(list[3].starts_with("3 - game(1) "));

    f.Lines({"profile", "keyboard", "delete"});
    EXPECT_EQ(f.Lines({"profile", "keyboard", "list"}).size(), 3u);
    f.Lines({"profile", "keyboard", "reset"});

    WriteText(f.dir / "plain.json", R"({"Device": []})");
    const CliRun refused = f.Run({"profile", "keyboard", "import", (f.dir / "plain.json").string()});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("not a profile file"), std::string::npos);
    EXPECT_EQ(f.Run({"profile", "keyboard", "select", "9"}).status, 2);
    EXPECT_EQ(f.Run({"profile", "lamp", "list"}).status, 2);
}

TEST(ProfileCli, MacroOperationsAndDeletionAcrossProfiles)
{
    CliFixture f;
    EXPECT_EQ(f.Lines({"macro", "mouse", "add"}), std::vector<std::string>{"macro_1"});
    EXPECT_EQ(f.Lines({"macro", "mouse", "add"}), std::vector<std::string>{"macro_2"});
    EXPECT_EQ(f.Lines({"macro", "mouse", "rename", "1", "MACRO_1"}), std::vector<std::string>{"result 0"});
    EXPECT_EQ(f.Lines({"macro", "mouse", "rename", "1", "Jump"}), std::vector<std::string>{"result 1"});

    WriteText(f.dir / "in.mac", R"({"Events": [{"Type": 1, "Action": "up", "Button": 1, "Delay": "70000"},
        {"Type": 4, "Action": "down", "Button": 3, "Delay": 5}]})");
    EXPECT_EQ(f.Lines({"macro", "mouse", "import", (f.dir / "in.mac").string()}), std::vector<std::string>{"macro_2"});
    EXPECT_EQ(f.Lines({"macro", "mouse", "pack", "2"}), (std::vector<std::string>{"70 11 01 01", "05 00 84 03"}));
    f.Lines({"macro", "mouse", "export", "2", (f.dir / "out.mac").string()});
    EXPECT_EQ(ReadFileText(f.dir / "out.mac"), ReadFileText(f.dir / "in.mac"));

    const auto macros = f.Lines({"macro", "mouse", "list"});
    ASSERT_EQ(macros.size(), 3u);
    EXPECT_TRUE(macros[1].starts_with("1 Jump "));

    // Two profiles, each with keys on macros 1 and 2.
    f.Lines({"profile", "mouse", "add"});
    const auto profiles = f.Lines({"profile", "mouse", "list"});
    ASSERT_EQ(profiles.size(), 2u);
    const auto folder = f.root / "mouse";
    std::vector<std::filesystem::path> files;
    for (const auto& line : profiles)
        files.push_back(folder / (line.substr(line.rfind(' ') + 1) + ".Json"));
    for (const auto& file : files) {
        Json::Value p = ReadJsonFile(file);
        p["Device"][0]["KeyList"][0]["Assignment"] = 0x700100;
        p["Device"][0]["KeyList"][1]["Assignment"] = 0x710200;
        StoreJsonFile(file, p);
    }

    EXPECT_EQ(f.Run({"macro", "mouse", "delete", "1"}).status, 2) << "needs --yes";
    EXPECT_EQ(f.Lines({"macro", "mouse", "delete", "1", "--yes"}), std::vector<std::string>{"deleted Jump"});
    for (const auto& file : files) {
        const Json::Value keys = ReadJsonFile(file)["Device"][0]["KeyList"];
        EXPECT_EQ(keys[0]["Assignment"].asInt(), keys[0]["DefaultAssignment"].asInt()) << file;
        EXPECT_EQ(keys[1]["Assignment"].asInt(), 0x710100) << file;
    }
    EXPECT_EQ(f.Lines({"macro", "mouse", "list"}).size(), 2u);
}
