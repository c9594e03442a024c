#include "sim/SimHidBackend.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

class SimStateTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = std::filesystem::temp_directory_path()
                 / ("gd-sim-state-" + std::to_string(::getpid()) + "-"
                    + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string Write(const std::string& name, const std::string& text)
    {
        const auto path = (folder / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    std::filesystem::path folder;
};

TEST_F(SimStateTest, RoundTripKeepsEveryMemory)
{
    const auto file = (folder / "state.json").string();
    std::vector<uint8_t> keys;
    {
        SimHidBackend sim;
        sim.Memory(SimProductKind::MouseReceiver).Write(SimRegion::Params, 5, std::vector<uint8_t>{7, 7}.data(), 2);
        auto& colors = sim.Memory(SimProductKind::Keyboard);
        colors.Write(SimRegion::KeyColors, 4095, std::vector<uint8_t>{0xEE}.data(), 1);
        sim.Memory(SimProductKind::Headset).Write(SimRegion::Lights, 0, std::vector<uint8_t>{0x11}.data(), 1);
        keys = sim.Memory(SimProductKind::Keyboard).Bytes(SimRegion::Keymap);
        std::string error;
        ASSERT_TRUE(sim.SaveState(file, &error)) << error;
    }
    EXPECT_FALSE(std::filesystem::exists(file + ".tmp"));
    SimHidBackend sim({SimProductKind::Mouse});
    std::string error;
    ASSERT_TRUE(sim.LoadState(file, &error)) << error;
    EXPECT_EQ(sim.Memory(SimProductKind::Mouse).At(SimRegion::Params, 6), 7);
    EXPECT_EQ(sim.Memory(SimProductKind::KeyboardReceiver).At(SimRegion::KeyColors, 4095), 0xEE);
    EXPECT_EQ(sim.Memory(SimProductKind::Headset).At(SimRegion::Lights, 0), 0x11);
    EXPECT_EQ(sim.Memory(SimProductKind::Keyboard).Bytes(SimRegion::Keymap), keys);
}

TEST_F(SimStateTest, CorruptOrHostileFilesAreRefusedAndChangeNothing)
{
    const std::string params1024(2048, 'a');
    struct Case {
        const char* name;
        std::string text;
        const char* inError;
    };
    const Case cases[] = {
        {"not json", "{ \"version\": 1, \"memories\": ", "not valid JSON"},
        {"array root", "[1, 2, 3]", "state object"},
        {"no version", R"({"memories": {}})", "version"},
        {"other version", R"({"version": 2, "memories": {}})", "version"},
        {"version as text", R"({"version": "1", "memories": {}})", "version"},
        {"memories not an object", R"({"version": 1, "memories": []})", "memories"},
        {"unknown product", R"({"version": 1, "memories": {"toaster": {}}})", "toaster"},
        {"unknown area", R"({"version": 1, "memories": {"mouse": {"flash": "00"}}})", "flash"},
        {"area the product lacks", R"({"version": 1, "memories": {"mouse": {"ledmap": "00"}}})", "ledmap"},
        {"wrong size", R"({"version": 1, "memories": {"mouse": {"power": "0000"}}})", "2 bytes, not 6"},
        {"not hex", R"({"version": 1, "memories": {"mouse": {"power": "zz0000000000"}}})", "hexadecimal"},
        {"odd length", R"({"version": 1, "memories": {"mouse": {"power": "00000000000"}}})", "hexadecimal"},
        {"number area", R"({"version": 1, "memories": {"mouse": {"power": 5}}})", "hexadecimal"},
        {"duplicate key", R"({"version": 1, "version": 1, "memories": {}})", "not valid JSON"},
        {"deep nesting", std::string(100000, '['), "not valid JSON"},
        {"huge", std::string(2 << 20, ' '), "larger"},
        // Valid first area, bad second one: nothing may be applied.
        {"half good", R"({"version": 1, "memories": {"mouse": {"params": ")" + params1024 + R"(", "power": "00"}}})",
         "power"},
    };
    SimHidBackend sim;
    const auto before = sim.Memory(SimProductKind::Mouse).Bytes(SimRegion::Params);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        EXPECT_FALSE(sim.LoadState(Write("bad.json", c.text), &error));
        EXPECT_NE(error.find(c.inError), std::string::npos) << error;
    }
    EXPECT_EQ(sim.Memory(SimProductKind::Mouse).Bytes(SimRegion::Params), before);

    std::string error;
    EXPECT_FALSE(sim.LoadState((folder / "missing.json").string(), &error));
    EXPECT_NE(error.find("cannot be opened"), std::string::npos) << error;
    EXPECT_FALSE(sim.SaveState((folder / "no-such-folder" / "state.json").string(), &error));
    EXPECT_NE(error.find("cannot be written"), std::string::npos) << error;
}

TEST_F(SimStateTest, PartialFileLoadsOnlyWhatItNames)
{
    SimHidBackend sim;
    const auto keys = sim.Memory(SimProductKind::Mouse).Bytes(SimRegion::Keymap);
    std::string error;
    ASSERT_TRUE(sim.LoadState(Write("power.json", R"({"version": 1, "memories": {"mouse": {"power": "010203040506"}}})"),
                              &error))
        << error;
    EXPECT_EQ(sim.Memory(SimProductKind::Mouse).Bytes(SimRegion::Power), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(sim.Memory(SimProductKind::Mouse).Bytes(SimRegion::Keymap), keys);
}

} // namespace
