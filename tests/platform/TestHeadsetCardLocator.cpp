#include "HeadsetCardLocator.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

namespace {

class HeadsetCardLocatorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        root = std::filesystem::temp_directory_path()
               / ("gd-asound-" + std::to_string(::getpid()) + "-"
                  + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root);
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    void AddCard(int number, const std::string& id, const std::string& usbId)
    {
        const auto folder = root / ("card" + std::to_string(number));
        std::filesystem::create_directories(folder);
        std::ofstream(folder / "id") << id << '\n';
        if (!usbId.empty())
            std::ofstream(folder / "usbid") << usbId << '\n';
    }

    std::filesystem::path root;
};

TEST_F(HeadsetCardLocatorTest, FindsTheHeadsetByUsbIdOrTheCardAnOverrideNames)
{
    AddCard(0, "PCH", "");
    AddCard(1, "Webcam", "046d:0825");
    AddCard(10, "Other", "0c76:1630");
    AddCard(3, "Headset", "0c76:1630");
    std::filesystem::create_directories(root / "cards-extra");
    const HeadsetCardLocator locator(root);

    struct Case {
        const char* override;
        std::optional<int> card;
    };
    const Case cases[] = {
        {"", 3},           // the lowest-numbered card with the headset's USB id
        {"1", 1},          {"hw:0", 0}, {"Webcam", 1},
        {"9", std::nullopt}, {"NoSuchCard", std::nullopt}, {"-1", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(locator.Find(c.override), c.card) << '"' << c.override << '"';
}

TEST_F(HeadsetCardLocatorTest, NoHeadsetOrNoFolderFindsNothing)
{
    AddCard(0, "PCH", "");
    AddCard(1, "Webcam", "046d:0825");
    EXPECT_FALSE(HeadsetCardLocator(root).Find("").has_value());
    EXPECT_FALSE(HeadsetCardLocator(root / "missing").Find("").has_value());
    EXPECT_FALSE(HeadsetCardLocator(root / "missing").Find("0").has_value());
}

} // namespace
