#include "AlsaMixer.h"
#include "MixerControl.h"
#include "OsConfSession.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

// Points alsa-lib at a configuration that only knows the "gdtest" control
// plugin (before the first ALSA call of the process) and opens its mixer.
class AlsaMixerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_config = std::filesystem::temp_directory_path() / ("gd-alsa-" + std::to_string(::getpid()) + ".conf");
        std::ofstream(s_config) << "ctl_type.gdtest { lib \"" << ALSA_TEST_CTL << "\" }\n"
                                << "ctl.gdtest { type gdtest }\n";
        ::setenv("ALSA_CONFIG_PATH", s_config.c_str(), 1);
    }
    static void TearDownTestSuite()
    {
        ::unsetenv("ALSA_CONFIG_PATH");
        std::filesystem::remove(s_config);
    }

    void SetUp() override
    {
        plugin.reset(::dlopen(ALSA_TEST_CTL, RTLD_NOW | RTLD_LOCAL));
        ASSERT_TRUE(plugin) << ::dlerror();
        value = reinterpret_cast<long (*)(const char*, unsigned)>(::dlsym(plugin.get(), "GdTestCtl_Value"));
        auto reset = reinterpret_cast<void (*)()>(::dlsym(plugin.get(), "GdTestCtl_Reset"));
        ASSERT_TRUE(value && reset);
        reset();
        mixer = AlsaMixer::Open("gdtest");
        ASSERT_TRUE(mixer);
        ASSERT_TRUE(mixer->Microphone());
        ASSERT_TRUE(mixer->Monitor());
    }

    struct Close {
        void operator()(void* handle) const { ::dlclose(handle); }
    };
    static inline std::filesystem::path s_config;
    std::unique_ptr<void, Close> plugin;
    long (*value)(const char*, unsigned) = nullptr;
    std::unique_ptr<AlsaMixer> mixer;
};

TEST_F(AlsaMixerTest, MicrophoneIsTheMicCaptureControlWithItsDbScale)
{
    MixerControl& mic = *mixer->Microphone();
    const auto range = mic.Range();
    ASSERT_TRUE(range);
    EXPECT_DOUBLE_EQ(range->min, -16.0);
    EXPECT_DOUBLE_EQ(range->max, 16.0);
    EXPECT_DOUBLE_EQ(range->step, 1.0);
    EXPECT_EQ(mic.GetDb(-1), 0.0);
    EXPECT_EQ(mic.GetMuted(), false);

    ASSERT_TRUE(mic.SetDb(-1, -4.0));
    EXPECT_EQ(value("Mic Capture Volume", 0), 12);
    EXPECT_EQ(mic.GetScalar(-1), 0.375f);
    ASSERT_TRUE(mic.SetDb(-1, 40.0)) << "beyond the range is the top of the range";
    EXPECT_EQ(value("Mic Capture Volume", 0), 32);
    ASSERT_TRUE(mic.SetScalar(-1, 0.5f));
    EXPECT_EQ(value("Mic Capture Volume", 0), 16);
    EXPECT_FALSE(mic.SetScalar(-1, 1.5f));
    EXPECT_FALSE(mic.GetDb(1).has_value()) << "a mono control has no second channel";

    ASSERT_TRUE(mic.SetMuted(true));
    EXPECT_EQ(value("Mic Capture Switch", 0), 0);
    EXPECT_EQ(mic.GetMuted(), true);
    EXPECT_EQ(value("Headphone Playback Volume", 0), 50) << "the headphone volume is never touched";
}

TEST_F(AlsaMixerTest, MonitorIsTheMicPlaybackControlPerChannel)
{
    MixerControl& monitor = *mixer->Monitor();
    EXPECT_EQ(monitor.GetMuted(), true);
    EXPECT_EQ(monitor.GetDb(0), -21.0);
    EXPECT_EQ(monitor.GetDb(1), -11.0);
    EXPECT_EQ(monitor.GetDb(-1), -21.0) << "all channels read as the first one";
    EXPECT_FALSE(monitor.GetDb(2).has_value());
    EXPECT_FALSE(monitor.SetDb(5, -3.0));

    ASSERT_TRUE(monitor.SetScalar(0, 1.0f));
    EXPECT_EQ(value("Mic Playback Volume", 0), 31);
    EXPECT_EQ(value("Mic Playback Volume", 1), 20);
    ASSERT_TRUE(monitor.SetDb(-1, -1.0));
    EXPECT_EQ(value("Mic Playback Volume", 0), 30);
    EXPECT_EQ(value("Mic Playback Volume", 1), 30);
    ASSERT_TRUE(monitor.SetMuted(false));
    EXPECT_EQ(value("Mic Playback Switch", 0), 1);
    EXPECT_EQ(value("Mic Playback Switch", 1), 1);
}

TEST_F(AlsaMixerTest, PropertyCallsReachTheCard)
{
    AlsaMixer* opened = mixer.release();
    OsConfSession session([opened] { return std::unique_ptr<HeadsetMixer>(opened); });
    ASSERT_EQ(session.CreateDeviceList(), 0);
    OsConfEndpoint recording{};
    ASSERT_EQ(session.DeviceById(OSCONF_FLOW_RECORDING, 0, &recording), 0);

    std::array<char, OSCONF_VALUE_BUFFER_SIZE> buffer{};
    std::int32_t allChannels[OSCONF_CHANNEL_WORDS] = {-1};
    std::strcpy(buffer.data(), "-6.0");
    ASSERT_EQ(session.PropertyControl(recording, "VolumeControl", buffer.data(), allChannels, 1), 0);
    EXPECT_EQ(value("Mic Capture Volume", 0), 10);
    buffer.fill(0);
    ASSERT_EQ(session.PropertyControl(recording, "GetAAMinVol", buffer.data(), nullptr, 0), 0);
    EXPECT_STREQ(buffer.data(), "-31");
}

TEST(AlsaMixerOpen, AMissingDeviceOpensNothing)
{
    EXPECT_FALSE(AlsaMixer::Open("hw:99"));
}

} // namespace
