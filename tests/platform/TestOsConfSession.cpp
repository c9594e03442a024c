#include "HeadsetMixer.h"
#include "MixerControl.h"
#include "OsConfSession.h"
#include "platform/AudioConfigLibrary.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

// A mixer control that remembers what was set on it.
class MemoryControl final : public MixerControl {
public:
    DbRange range{-20.0, 10.0, 0.5};
    double db = -4.5;
    float scalar = 0.25f;
    bool muted = false;
    int lastChannel = 99;
    int writes = 0;

    std::optional<DbRange> Range() override { return range; }
    std::optional<double> GetDb(int channel) override { return lastChannel = channel, db; }
    bool SetDb(int channel, double value) override { return Wrote(channel), db = value, true; }
    std::optional<float> GetScalar(int channel) override { return lastChannel = channel, scalar; }
    bool SetScalar(int channel, float value) override { return Wrote(channel), scalar = value, true; }
    std::optional<bool> GetMuted() override { return muted; }
    bool SetMuted(bool value) override { return Wrote(-1), muted = value, true; }

private:
    void Wrote(int channel)
    {
        lastChannel = channel;
        ++writes;
    }
};

class MemoryMixer final : public HeadsetMixer {
public:
    MemoryMixer(MemoryControl* microphone, MemoryControl* monitor) : m_microphone(microphone), m_monitor(monitor) {}
    MixerControl* Microphone() override { return m_microphone; }
    MixerControl* Monitor() override { return m_monitor; }
    void Refresh() override {}

private:
    MemoryControl* m_microphone;
    MemoryControl* m_monitor;
};

using Buffer = std::array<std::uint8_t, OSCONF_VALUE_BUFFER_SIZE>;

std::string Text(const Buffer& buffer)
{
    return std::string(reinterpret_cast<const char*>(buffer.data()));
}

template <typename T>
T Word(const Buffer& buffer)
{
    T word{};
    std::memcpy(&word, buffer.data(), sizeof word);
    return word;
}

template <typename T>
Buffer WithWord(T word)
{
    Buffer buffer{};
    std::memcpy(buffer.data(), &word, sizeof word);
    return buffer;
}

Buffer WithText(const std::string& text)
{
    Buffer buffer{};
    std::memcpy(buffer.data(), text.data(), text.size());
    return buffer;
}

class OsConfSessionTest : public ::testing::Test {
protected:
    OsConfSessionTest()
        : session([this] { return std::make_unique<MemoryMixer>(&microphone, withMonitor ? &monitor : nullptr); })
    {
    }

    void SetUp() override { Start(); }

    void Start()
    {
        ASSERT_EQ(session.CreateDeviceList(), 0);
        ASSERT_EQ(session.DeviceById(OSCONF_FLOW_PLAYBACK, 0, &playback), 0);
        ASSERT_EQ(session.DeviceById(OSCONF_FLOW_RECORDING, 0, &recording), 0);
    }

    std::int32_t Call(const OsConfEndpoint& endpoint, const char* name, Buffer& value, std::int32_t set,
                      std::optional<std::int32_t> channel = std::nullopt)
    {
        std::array<std::int32_t, OSCONF_CHANNEL_WORDS> words{channel.value_or(0)};
        return session.PropertyControl(endpoint, name, value.data(), channel ? words.data() : nullptr, set);
    }

    MemoryControl microphone;
    MemoryControl monitor;
    bool withMonitor = true;
    OsConfSession session;
    OsConfEndpoint playback{};
    OsConfEndpoint recording{};
};

TEST(OsConfSessionNoCard, ListsNoEndpointsAndFailsCalls)
{
    OsConfSession session([] { return std::unique_ptr<HeadsetMixer>(); });
    ASSERT_EQ(session.CreateDeviceList(), 0);
    for (const std::int32_t flow : {OSCONF_FLOW_PLAYBACK, OSCONF_FLOW_RECORDING}) {
        std::int32_t count = -1;
        EXPECT_EQ(session.DeviceCount(flow, &count), 0);
        EXPECT_EQ(count, 0);
        OsConfEndpoint record{};
        EXPECT_NE(session.DeviceById(flow, 0, &record), 0);
    }
    Buffer value{};
    EXPECT_NE(session.PropertyControl({2, OSCONF_KIND_MICROPHONE, 1, 0}, "MuteControl", value.data(), nullptr, 0), 0);
}

TEST_F(OsConfSessionTest, ListsOneActiveSpeakerAndOneMicrophoneThatTheProgramChooses)
{
    std::int32_t count = 0;
    ASSERT_EQ(session.DeviceCount(OSCONF_FLOW_PLAYBACK, &count), 0);
    EXPECT_EQ(count, 1);
    ASSERT_EQ(session.DeviceCount(OSCONF_FLOW_RECORDING, &count), 0);
    EXPECT_EQ(count, 1);
    EXPECT_EQ(ChoosePlaybackEndpoint(std::array{playback})->id, playback.id);
    EXPECT_EQ(ChooseRecordingEndpoint(std::array{recording})->id, recording.id);
    EXPECT_NE(session.DeviceCount(2, &count), 0);
    EXPECT_NE(session.DeviceCount(OSCONF_FLOW_PLAYBACK, nullptr), 0);
}

TEST_F(OsConfSessionTest, SupportFeatureHasSevenFieldsAndNoVoiceChanger)
{
    for (const auto& endpoint : {playback, recording}) {
        Buffer value{};
        ASSERT_EQ(Call(endpoint, "GetSupportFeature", value, OSCONF_PROPERTY_GET), 0);
        const auto features = ParseSupportFeature(Text(value));
        ASSERT_TRUE(features.has_value()) << Text(value);
        EXPECT_EQ(features->field0 & 0x20000, 0);
    }
}

TEST_F(OsConfSessionTest, GetsAnswerFromTheMicrophoneOrTheMonitor)
{
    monitor.range = {-30.0, 0.0, 1.0};
    monitor.db = -7.0;
    monitor.scalar = 0.75f;
    monitor.muted = true;
    struct Case {
        const char* name;
        std::optional<std::int32_t> channel;
        std::string text;        // expected text, or
        std::optional<float> scalar; // expected float, or
        std::optional<std::int32_t> word;
    };
    const std::vector<Case> cases{
        {"GetMaxVol", {}, "10", {}, {}},
        {"GetMinVol", {}, "-20", {}, {}},
        {"GetVolStep", {}, "0.5", {}, {}},
        {"VolumeControl", -1, "-4.5", {}, {}},
        {"VolumeScalarControl", -1, "", 0.25f, {}},
        {"MuteControl", {}, "", {}, 0},
        {"GetAAMaxVol", {}, "0", {}, {}},
        {"GetAAMinVol", {}, "-30", {}, {}},
        {"GetAAVolStep", {}, "1", {}, {}},
        {"AAVolumeControl", 0, "-7", {}, {}},
        {"AAVolumeScalarControl", 0, "", 0.75f, {}},
        {"AAMuteControl", {}, "", {}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Buffer value;
        value.fill(0xEE);
        ASSERT_EQ(Call(recording, c.name, value, OSCONF_PROPERTY_GET, c.channel), 0);
        if (c.scalar)
            EXPECT_EQ(Word<float>(value), *c.scalar);
        else if (c.word)
            EXPECT_EQ(Word<std::int32_t>(value), *c.word);
        else
            EXPECT_EQ(Text(value), c.text);
        EXPECT_EQ(value.back(), 0) << "the rest of the buffer is cleared";
    }
}

TEST_F(OsConfSessionTest, SetsReachTheRightControlWithTheChannel)
{
    Buffer value = WithText("-12.25");
    ASSERT_EQ(Call(recording, "VolumeControl", value, OSCONF_PROPERTY_SET, -1), 0);
    EXPECT_EQ(microphone.db, -12.25);
    EXPECT_EQ(microphone.lastChannel, -1);

    value = WithWord(0.5f);
    ASSERT_EQ(Call(recording, "AAVolumeScalarControl", value, OSCONF_PROPERTY_SET, 0), 0);
    EXPECT_EQ(monitor.scalar, 0.5f);
    EXPECT_EQ(monitor.lastChannel, 0);

    value = WithWord(std::int32_t{1});
    ASSERT_EQ(Call(recording, "MuteControl", value, OSCONF_PROPERTY_SET), 0);
    EXPECT_TRUE(microphone.muted);
    EXPECT_FALSE(monitor.muted);

    value = WithWord(std::int32_t{1});
    EXPECT_NE(Call(recording, "GetMaxVol", value, OSCONF_PROPERTY_SET), 0) << "ranges are read-only";
}

TEST_F(OsConfSessionTest, DspAndUnknownPropertiesFailOnBothEndpoints)
{
    const char* names[] = {"Enable_EQ_GFX", "EQ_Slider1", "EQ_Slider10", "Enable_MAGICVOICE", "Enable_MICECHO",
                           "MagicVoice_Selection", "Enable_ENC_LFX", "VirtualSurroundEffectControl",
                           "Enable_RFX_GFX", "RFX_ENVIRONMENT", "RFX_ROOMSIZE", "NoSuchProperty", ""};
    for (const char* name : names) {
        for (const auto& endpoint : {playback, recording}) {
            for (const std::int32_t set : {OSCONF_PROPERTY_GET, OSCONF_PROPERTY_SET}) {
                Buffer value{};
                EXPECT_NE(Call(endpoint, name, value, set), 0) << name;
            }
        }
    }
    Buffer value{};
    EXPECT_NE(Call(playback, "MuteControl", value, OSCONF_PROPERTY_GET), 0) << "the microphone is on the recording side";
    EXPECT_EQ(microphone.writes + monitor.writes, 0);
}

TEST_F(OsConfSessionTest, BadArgumentsFailAndLeaveTheMixerAlone)
{
    Buffer value = WithWord(std::int32_t{1});
    OsConfEndpoint stale = recording;
    stale.state = 0;
    EXPECT_NE(Call(stale, "MuteControl", value, OSCONF_PROPERTY_SET), 0);
    EXPECT_NE(session.PropertyControl(recording, nullptr, value.data(), nullptr, OSCONF_PROPERTY_SET), 0);
    EXPECT_NE(session.PropertyControl(recording, "MuteControl", nullptr, nullptr, OSCONF_PROPERTY_SET), 0);
    EXPECT_NE(Call(recording, "MuteControl", value, 2), 0);

    struct Case {
        const char* name;
        Buffer value;
    };
    const std::vector<Case> badValues{
        {"MuteControl", WithWord(std::int32_t{2})},
        {"AAMuteControl", WithWord(std::int32_t{-1})},
        {"VolumeScalarControl", WithWord(1.5f)},
        {"VolumeScalarControl", WithWord(std::numeric_limits<float>::quiet_NaN())},
        {"VolumeControl", WithText("loud")},
        {"VolumeControl", WithText("")},
        {"AAVolumeControl", WithText("inf")},
    };
    for (auto c : badValues)
        EXPECT_NE(Call(recording, c.name, c.value, OSCONF_PROPERTY_SET, -1), 0) << c.name;

    Buffer unterminated;
    unterminated.fill(' ');
    unterminated[0] = '-';
    unterminated[1] = '3';
    EXPECT_EQ(Call(recording, "VolumeControl", unterminated, OSCONF_PROPERTY_SET, -1), 0)
        << "a text without terminator is read only up to the buffer's end";
    EXPECT_EQ(microphone.db, -3.0);
    EXPECT_EQ(microphone.writes, 1);
    EXPECT_EQ(monitor.writes, 0);
}

TEST_F(OsConfSessionTest, MonitorPropertiesFailWhenTheCardHasNoMonitor)
{
    withMonitor = false;
    Start();
    Buffer value{};
    EXPECT_NE(Call(recording, "GetAAMaxVol", value, OSCONF_PROPERTY_GET), 0);
    EXPECT_NE(Call(recording, "AAMuteControl", value, OSCONF_PROPERTY_GET), 0);
    EXPECT_EQ(Call(recording, "GetMaxVol", value, OSCONF_PROPERTY_GET), 0);
}

} // namespace
