#include "CliRun.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// gaming-device-cli against emulated products whose memories persist between
// runs in a state file, on a fresh data root with the shipped data.
class DeviceCliTest : public ::testing::Test {
protected:
    CliRun Run(const std::vector<std::string>& args)
    {
        std::vector<std::string> all = {"--simulate", "mouse,mouse-receiver,mousepad,headset", "--sim-state",
                                        (dir / "state").string()};
        const std::vector<std::string> data = dir.DataOptions();
        all.insert(all.end(), data.begin(), data.end());
        all.insert(all.end(), {"--screen", "2560x1440"});
        all.insert(all.end(), args.begin(), args.end());
        return RunCli(all);
    }

    // "name value" lines of a successful connect.
    std::map<std::string, std::string> Connect(const std::string& target)
    {
        const CliRun r = Run({"connect", target});
        EXPECT_EQ(r.status, 0) << r.err;
        std::map<std::string, std::string> fields;
        std::istringstream in(r.out);
        for (std::string name, value; in >> name >> value;)
            fields[name] = value;
        return fields;
    }

    CliFolder dir;
};

TEST_F(DeviceCliTest, ConnectPrintsInformationAndProfileBlock)
{
    const auto mouse = Connect("mouse");
    ASSERT_TRUE(mouse.count("info"));
    EXPECT_EQ(mouse.at("info").size(), 68u);
    EXPECT_EQ(mouse.at("info").substr(10, 2), "0b");  // eleven keys
    EXPECT_EQ(mouse.at("speed"), "2");
    EXPECT_EQ(mouse.at("polling"), "3");
    const auto pad = Connect("mousepad");
    EXPECT_TRUE(pad.count("effect"));
    EXPECT_FALSE(pad.count("polling"));
}

TEST_F(DeviceCliTest, SettingsReachTheDeviceAndReadBack)
{
    struct Case {
        std::vector<std::string> set;
        std::string target;
        std::map<std::string, std::string> expected;
    };
    const std::vector<Case> cases = {
        {{"set", "mouse", "light", "3", "2", "1", "10", "20", "30"}, "mouse",
         {{"effect", "3"}, {"light", "2"}, {"speed", "1"}, {"red", "10"}, {"blue", "30"}}},
        {{"set", "mouse", "dpi", "1", "33"}, "mouse", {{"dpi1-x", "33"}}},
        {{"set", "mouse", "dpi-active", "4"}, "mouse-receiver", {{"dpi-active", "4"}}},
        {{"set", "mouse", "polling", "1"}, "mouse", {{"polling", "1"}}},
        {{"set", "mousepad", "light", "5", "3", "0", "1", "2", "3"}, "mousepad",
         {{"effect", "5"}, {"light", "3"}, {"speed", "0"}, {"green", "2"}}},
        {{"set", "headset", "light", "2", "4", "4", "255", "0", "0"}, "headset", {{"effect", "2"}, {"speed", "4"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.set[1] + " " + c.set[2]);
        const CliRun r = Run(c.set);
        ASSERT_EQ(r.status, 0) << r.err;
        const auto fields = Connect(c.target);
        for (const auto& [name, value] : c.expected)
            EXPECT_EQ(fields.count(name) ? fields.at(name) : "missing", value) << name;
    }
}

TEST_F(DeviceCliTest, KeyWriteAndApplyReportMacroOverflow)
{
    // A macro too large for the emulated mouse's 4096 bytes: 16 + 6 + 4 x 1100 = 4422.
    const auto folder = dir / "data" / "mouse";
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "macro.config") << R"({"MacroInfo": [{"MacroName": "big", "Guid": "big"}]})";
    std::ofstream mac(folder / "big.mac");
    mac << R"({"Events": [)";
    for (int e = 0; e < 1100; ++e)
        mac << (e ? "," : "") << R"({"Type": 1, "Action": "down", "Button": 1, "Delay": 1})";
    mac << "]}";
    mac.close();
    const std::string overflow = "message message_text_16 " + std::to_string((4422 - 4096) / 4 + 1) + "\n";

    CliRun r = Run({"set", "mouse", "key", "2", "0x70", "0", "0"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, overflow);
    r = Run({"apply", "mouse"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, overflow);
}

TEST_F(DeviceCliTest, KeyWriteWithAMissingMacroSendsTheDefault)
{
    const CliRun r = Run({"set", "mouse", "key", "2", "0x70", "3", "0"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
}

TEST_F(DeviceCliTest, UsageErrors)
{
    const std::vector<std::vector<std::string>> cases = {
        {"connect"},
        {"connect", "toaster"},
        {"set", "mouse", "light", "1", "9", "0", "0", "0", "0"},
        {"set", "mousepad", "dpi", "1", "2"},
        {"set", "mouse", "polling"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(args.size() > 1 ? args[1] : args[0]);
        const CliRun r = Run(args);
        EXPECT_NE(r.status, 0);
        EXPECT_FALSE(r.err.empty());
    }
}

}  // namespace
