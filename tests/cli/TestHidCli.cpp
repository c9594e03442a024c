// Runs the built gaming-device-cli against the emulator.
#include "CliRun.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

TEST(HidCli, ListShowsEverySupportedInterfaceInSlotOrder)
{
    const CliRun run = RunCliLine("--simulate headset,keyboard-receiver,mouse list");
    ASSERT_EQ(run.status, 0) << run.err;
    // A lone keyboard receiver looks like the keyboard: the first free keyboard rows take it.
    EXPECT_EQ(run.out,
              "0 1 0 320f:0000 sim:keyboard-receiver#vid_320f&pid_0000&mi_01&col04\n"
              "1 1 255 320f:0000 sim:keyboard-receiver#vid_320f&pid_0000&mi_01&col03\n"
              "4 2 0 320f:221c sim:mouse#vid_320f&pid_221c&mi_01&col04\n"
              "5 2 255 320f:221c sim:mouse#vid_320f&pid_221c&mi_01&col03\n"
              "10 7 0 0c76:1630 sim:headset#vid_0c76&pid_1630&mi_03\n");
}

TEST(HidCli, RawReadPrintsResultAndData)
{
    struct Case {
        const char* args;
        size_t dataBytes;
    };
    const Case cases[] = {
        {"--simulate mouse raw mouse CMD_READ_INFO", 34},
        {"--simulate mouse-receiver raw mouse-receiver CMD_READ_PARAMS 30 0x10", 30},
        {"--simulate keyboard,keyboard-receiver raw keyboard-receiver CMD_READ_POWER 4 0", 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const CliRun run = RunCliLine(c.args);
        EXPECT_EQ(run.status, 0) << run.err;
        std::istringstream lines(run.out);
        std::string result;
        std::string data;
        std::getline(lines, result);
        std::getline(lines, data);
        EXPECT_EQ(result, "result 1");
        ASSERT_TRUE(data.starts_with("data ")) << run.out;
        EXPECT_EQ(data.size() - 5, 2 * c.dataBytes);
    }
}

TEST(HidCli, RawReportsDeviceResults)
{
    const CliRun page = RunCliLine("--simulate mouse raw mouse CMD_WRITE_KEYMAP 1 0102");
    EXPECT_EQ(page.status, 1);
    EXPECT_EQ(page.out, "result -201\n");
    const CliRun link = RunCliLine("--simulate mouse raw mouse CMD_LINK_STATUS");
    EXPECT_EQ(link.status, 0);
    EXPECT_EQ(link.out, "result 1\n");
    const CliRun absent = RunCliLine("--simulate mouse raw keyboard CMD_CONFIG_BEGIN");
    EXPECT_EQ(absent.status, 1);
    EXPECT_NE(absent.err.find("no keyboard"), std::string::npos);
}

TEST(HidCli, BadArgumentsExitWithTwo)
{
    const char* cases[] = {
        "--simulate mouse raw",
        "--simulate mouse raw trackball CMD_READ_INFO",
        "--simulate mouse raw mouse CMD_UNKNOWN",
        "--simulate mouse raw mouse CMD_READ_PARAMS 10",
        "--simulate mouse raw mouse CMD_READ_PARAMS ten 0",
        "--simulate mouse raw mouse CMD_READ_POWER 57 0",
        "--simulate mouse raw mouse CMD_WRITE_PARAMS 0 abc",
        "--simulate mouse raw mouse CMD_WRITE_SHOOT 0g",
        "--simulate mouse list extra",
    };
    for (const char* args : cases) {
        SCOPED_TRACE(args);
        const CliRun run = RunCliLine(args);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.out.empty());
        EXPECT_FALSE(run.err.empty());
    }
}

} // namespace
