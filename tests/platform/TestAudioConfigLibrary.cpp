#include "FakeOsConfControl.h"
#include "platform/AudioConfigLibrary.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <vector>

namespace {

const OsConfEndpoint kMicrophone{42, OSCONF_KIND_MICROPHONE, 1, 0x5A5A};

class AudioConfigLibraryTest : public ::testing::Test {
protected:
    FakeOsConfControl fake{FAKE_OSCONF_DIR};
};

bool AllZero(const std::uint8_t* bytes, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] != 0)
            return false;
    }
    return true;
}

TEST_F(AudioConfigLibraryTest, LoadsTheLibraryAndListsEndpointsInItsOrder)
{
    const std::vector<OsConfEndpoint> playback{{1, 4, 0, 0}, {2, 1, 1, 9}, {3, 12, 1, 0}};
    for (const auto& endpoint : playback)
        fake.AddEndpoint(OSCONF_FLOW_PLAYBACK, endpoint);
    fake.AddEndpoint(OSCONF_FLOW_RECORDING, kMicrophone);

    AudioConfigLibrary library(FAKE_OSCONF_DIR);
    ASSERT_TRUE(library.Loaded()) << library.LoadError();
    EXPECT_TRUE(library.LoadError().empty());
    EXPECT_EQ(library.Init(), 0);
    EXPECT_EQ(library.CreateDeviceList(), 0);

    const auto listed = library.Endpoints(AudioFlow::Playback);
    ASSERT_EQ(listed.size(), playback.size());
    for (std::size_t i = 0; i < listed.size(); ++i) {
        EXPECT_EQ(listed[i].id, playback[i].id);
        EXPECT_EQ(listed[i].kind, playback[i].kind);
        EXPECT_EQ(listed[i].state, playback[i].state);
        EXPECT_EQ(listed[i].reserved, playback[i].reserved);
    }
    const auto recording = library.Endpoints(AudioFlow::Recording);
    ASSERT_EQ(recording.size(), 1u);
    EXPECT_EQ(recording[0].id, kMicrophone.id);
    EXPECT_FALSE(library.Device(AudioFlow::Recording, 1).has_value());
}

TEST_F(AudioConfigLibraryTest, ACountBeyondTheListStopsAtTheFirstMissingEndpoint)
{
    fake.AddEndpoint(OSCONF_FLOW_PLAYBACK, {1, 1, 1, 0});
    fake.AddEndpoint(OSCONF_FLOW_PLAYBACK, {2, 4, 1, 0});
    fake.SetReportedCount(OSCONF_FLOW_PLAYBACK, 2'000'000'000);
    fake.SetReportedCount(OSCONF_FLOW_RECORDING, -3);
    AudioConfigLibrary library(FAKE_OSCONF_DIR);
    EXPECT_EQ(library.Endpoints(AudioFlow::Playback).size(), 2u);
    EXPECT_FALSE(library.DeviceCount(AudioFlow::Recording).has_value());
    EXPECT_TRUE(library.Endpoints(AudioFlow::Recording).empty());
}

TEST_F(AudioConfigLibraryTest, UnInitOnDestructionOnlyAfterASuccessfulStart)
{
    struct Case {
        std::int32_t initResult;
        int unInits;
    };
    for (const Case c : {Case{0, 1}, Case{5, 0}}) {
        fake.Reset();
        fake.SetInitResult(c.initResult);
        {
            AudioConfigLibrary library(FAKE_OSCONF_DIR);
            EXPECT_EQ(library.Init(), c.initResult);
        }
        EXPECT_EQ(fake.InitCount(), 1);
        EXPECT_EQ(fake.UnInitCount(), c.unInits) << "init result " << c.initResult;
    }
}

TEST(AudioConfigLibraryMissing, MissingFileIsNotLoadedAndEveryCallFails)
{
    const auto folder = std::filesystem::path(FAKE_OSCONF_DIR) / "no-such-folder";
    AudioConfigLibrary library(folder);
    EXPECT_FALSE(library.Loaded());
    EXPECT_NE(library.LoadError().find((folder / "libosConfLib.so").string()), std::string::npos);
    EXPECT_EQ(library.Init(), -1);
    EXPECT_EQ(library.CreateDeviceList(), -1);
    EXPECT_FALSE(library.DeviceCount(AudioFlow::Playback).has_value());
    EXPECT_TRUE(library.Endpoints(AudioFlow::Recording).empty());
    EXPECT_FALSE(library.GetInt(kMicrophone, "MuteControl").has_value());
    EXPECT_FALSE(library.SetFloat(kMicrophone, "VolumeScalarControl", 0.5f, kAllChannels));
}

TEST(AudioConfigLibraryMissing, MissingExportIsNotLoadedAndNothingIsCalled)
{
    FakeOsConfControl partial(FAKE_OSCONF_PARTIAL_DIR);
    partial.AddEndpoint(OSCONF_FLOW_RECORDING, kMicrophone);
    partial.SetAnswer("MuteControl", 0, nullptr, 0);
    {
        AudioConfigLibrary library(FAKE_OSCONF_PARTIAL_DIR);
        EXPECT_FALSE(library.Loaded());
        EXPECT_NE(library.LoadError().find("CloseTestSound"), std::string::npos) << library.LoadError();
        EXPECT_EQ(library.Init(), -1);
        EXPECT_TRUE(library.Endpoints(AudioFlow::Recording).empty());
        EXPECT_FALSE(library.SetInt(kMicrophone, "MuteControl", 1));
    }
    EXPECT_EQ(partial.ExportCallCount(), 0);
}

// What reaches the library for each kind of call: the value buffer (the given
// bytes, then zeros up to 1024) and the channel buffer (absent, or the words).
TEST_F(AudioConfigLibraryTest, PropertyCallsSendClearedBuffersWithTheValueAndChannel)
{
    struct Case {
        const char* what;
        std::function<bool(AudioConfigLibrary&)> call;
        const char* property;
        std::int32_t set;
        std::vector<std::uint8_t> value;
        std::vector<std::int32_t> channel; // empty: no channel buffer
    };
    const float half = 0.5f;
    std::vector<std::uint8_t> halfBytes(4);
    std::memcpy(halfBytes.data(), &half, 4);
    const std::array<std::int32_t, 3> surround{4, -1, 0};
    const std::vector<Case> cases{
        {"get int, no channel", [](auto& l) { return l.GetInt(kMicrophone, "MuteControl").has_value(); },
         "MuteControl", 0, {}, {}},
        {"set int", [](auto& l) { return l.SetInt(kMicrophone, "MuteControl", 1); }, "MuteControl", 1,
         {1, 0, 0, 0}, {}},
        {"set negative int", [](auto& l) { return l.SetInt(kMicrophone, "EQ_Slider3", -6); }, "EQ_Slider3", 1,
         {0xFA, 0xFF, 0xFF, 0xFF}, {}},
        {"set float, all channels",
         [](auto& l) { return l.SetFloat(kMicrophone, "VolumeScalarControl", 0.5f, kAllChannels); },
         "VolumeScalarControl", 1, halfBytes, {-1}},
        {"get float, first channel",
         [](auto& l) { return l.GetFloat(kMicrophone, "AAVolumeScalarControl", kFirstChannel).has_value(); },
         "AAVolumeScalarControl", 0, {}, {0}},
        {"set text", [](auto& l) { return l.SetText(kMicrophone, "VolumeControl", "-12.5", kAllChannels); },
         "VolumeControl", 1, {'-', '1', '2', '.', '5'}, {-1}},
        {"set decimal", [](auto& l) { return l.SetDecimal(kMicrophone, "AAVolumeControl", 3.0, kFirstChannel); },
         "AAVolumeControl", 1, {'3', '.', '0', '0'}, {0}},
        {"get text, three channel words",
         [&](auto& l) { return l.GetText(kMicrophone, "VirtualSurroundEffectControl", surround).has_value(); },
         "VirtualSurroundEffectControl", 0, {}, {4, -1, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fake.Reset();
        fake.SetAnswer(c.property, 0, nullptr, 0);
        AudioConfigLibrary library(FAKE_OSCONF_DIR);
        ASSERT_TRUE(c.call(library));
        ASSERT_EQ(fake.PropertyCallCount(), 1);
        const FakeOsConfCall call = fake.LastCall();
        EXPECT_STREQ(call.property, c.property);
        EXPECT_EQ(call.endpoint.id, kMicrophone.id);
        EXPECT_EQ(call.endpoint.kind, kMicrophone.kind);
        EXPECT_EQ(call.endpoint.state, kMicrophone.state);
        EXPECT_EQ(call.endpoint.reserved, kMicrophone.reserved);
        EXPECT_EQ(call.set, c.set);
        EXPECT_EQ(std::vector<std::uint8_t>(call.value, call.value + c.value.size()), c.value);
        EXPECT_TRUE(AllZero(call.value + c.value.size(), OSCONF_VALUE_BUFFER_SIZE - c.value.size()));
        EXPECT_EQ(call.hasChannel, c.channel.empty() ? 0 : 1);
        if (!c.channel.empty()) {
            EXPECT_EQ(std::vector<std::int32_t>(call.channel, call.channel + c.channel.size()), c.channel);
            for (std::size_t w = c.channel.size(); w < OSCONF_CHANNEL_WORDS; ++w)
                EXPECT_EQ(call.channel[w], 0);
        }
    }
}

TEST_F(AudioConfigLibraryTest, GetsReadTheAnswerAndFailWhenTheLibraryDoes)
{
    const std::int32_t muted = 1;
    const float level = 0.25f;
    const char range[] = " -46.5 ";
    const char garbage[] = "loud";
    const char notFinite[] = "nan";
    fake.SetAnswer("MuteControl", 0, &muted, sizeof muted);
    fake.SetAnswer("VolumeScalarControl", 0, &level, sizeof level);
    fake.SetAnswer("GetMinVol", 0, range, sizeof range);
    fake.SetAnswer("GetMaxVol", 0, garbage, sizeof garbage);
    fake.SetAnswer("GetVolStep", 0, notFinite, sizeof notFinite);
    fake.SetAnswer("Enable_EQ_GFX", 7, &muted, sizeof muted);

    AudioConfigLibrary library(FAKE_OSCONF_DIR);
    EXPECT_EQ(library.GetInt(kMicrophone, "MuteControl"), 1);
    EXPECT_EQ(library.GetFloat(kMicrophone, "VolumeScalarControl", kAllChannels), 0.25f);
    EXPECT_EQ(library.GetText(kMicrophone, "GetMinVol"), " -46.5 ");
    EXPECT_EQ(library.GetDecimal(kMicrophone, "GetMinVol"), -46.5);
    EXPECT_FALSE(library.GetDecimal(kMicrophone, "GetMaxVol").has_value());
    EXPECT_FALSE(library.GetDecimal(kMicrophone, "GetVolStep").has_value());
    EXPECT_FALSE(library.GetInt(kMicrophone, "Enable_EQ_GFX").has_value()) << "non-zero result is a failure";
    EXPECT_FALSE(library.SetInt(kMicrophone, "Enable_EQ_GFX", 1));
    EXPECT_FALSE(library.GetInt(kMicrophone, "NoSuchProperty").has_value());
}

TEST_F(AudioConfigLibraryTest, TextWithoutTerminatorStopsAtTheBufferEnd)
{
    const std::vector<char> full(OSCONF_VALUE_BUFFER_SIZE, 'x');
    fake.SetAnswer("GetSupportFeature", 0, full.data(), static_cast<std::int32_t>(full.size()));
    AudioConfigLibrary library(FAKE_OSCONF_DIR);
    const auto text = library.GetText(kMicrophone, "GetSupportFeature");
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->size(), static_cast<std::size_t>(OSCONF_VALUE_BUFFER_SIZE));
}

TEST_F(AudioConfigLibraryTest, ValuesThatDoNotFitTheBuffersAreNotSent)
{
    fake.SetAnswer("VolumeControl", 0, nullptr, 0);
    AudioConfigLibrary library(FAKE_OSCONF_DIR);
    EXPECT_TRUE(library.SetText(kMicrophone, "VolumeControl", std::string(OSCONF_VALUE_BUFFER_SIZE - 1, '1')));
    EXPECT_FALSE(library.SetText(kMicrophone, "VolumeControl", std::string(OSCONF_VALUE_BUFFER_SIZE, '1')));
    const std::array<std::int32_t, OSCONF_CHANNEL_WORDS + 1> tooManyWords{};
    EXPECT_FALSE(library.SetInt(kMicrophone, "VolumeControl", 1, tooManyWords));
    EXPECT_EQ(fake.PropertyCallCount(), 1);
}

} // namespace
