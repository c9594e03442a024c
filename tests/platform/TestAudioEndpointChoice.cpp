#include "platform/AudioConfigLibrary.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(AudioEndpointChoice, PlaybackPrefersActiveSpeakersThenKinds12_7_4)
{
    struct Case {
        const char* what;
        std::vector<OsConfEndpoint> endpoints;
        std::optional<std::int32_t> chosenId;
    };
    const std::vector<Case> cases{
        {"active speakers win over earlier kinds", {{1, 12, 1, 0}, {2, 1, 0, 0}, {3, 1, 1, 0}}, 3},
        {"inactive speakers fall back to kind 12", {{1, 1, 0, 0}, {2, 4, 1, 0}, {3, 12, 0, 0}}, 3},
        {"kind 12 before kind 7 whatever the order", {{1, 7, 1, 0}, {2, 4, 1, 0}, {3, 12, 0, 0}}, 3},
        {"kind 7 before kind 4 whatever the order", {{1, 4, 1, 0}, {2, 7, 0, 0}}, 2},
        {"only kind 4: the first of them", {{5, 4, 0, 0}, {6, 4, 1, 0}}, 5},
        {"only inactive speakers and others", {{1, 1, 0, 0}, {2, 2, 1, 0}, {3, 9, 1, 0}}, std::nullopt},
        {"empty list", {}, std::nullopt},
    };
    for (const auto& c : cases) {
        const auto chosen = ChoosePlaybackEndpoint(c.endpoints);
        ASSERT_EQ(chosen.has_value(), c.chosenId.has_value()) << c.what;
        if (chosen) {
            EXPECT_EQ(chosen->id, *c.chosenId) << c.what;
        }
    }
}

TEST(AudioEndpointChoice, RecordingTakesTheFirstMicrophone)
{
    const std::vector<OsConfEndpoint> endpoints{{1, 3, 1, 0}, {8, 2, 0, 0}, {9, 2, 1, 0}};
    ASSERT_TRUE(ChooseRecordingEndpoint(endpoints).has_value());
    EXPECT_EQ(ChooseRecordingEndpoint(endpoints)->id, 8);
    const std::vector<OsConfEndpoint> none{{1, 1, 1, 0}};
    EXPECT_FALSE(ChooseRecordingEndpoint(none).has_value());
}

TEST(SupportFeatureParse, KeepsFields0_4_6AndRejectsShortOrNonNumericAnswers)
{
    struct Case {
        const char* text;
        std::optional<SupportFeatures> expected;
    };
    const std::vector<Case> cases{
        {"1,2,3,4,5,6,7", SupportFeatures{1, 5, 7}},
        {"131072,0,0,0,4,0,6,8,9", SupportFeatures{131072, 4, 6}},
        {" 12 ,x,,, 3 ,,-4 ", SupportFeatures{12, 3, -4}},
        {"1,2,3,4,5,6", std::nullopt},
        {"", std::nullopt},
        {"on,0,0,0,0,0,0", std::nullopt},
        {"1,0,0,0,5x,0,0", std::nullopt},
        {"1,0,0,0,0,0,", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseSupportFeature(c.text), c.expected) << '"' << c.text << '"';
}

} // namespace
