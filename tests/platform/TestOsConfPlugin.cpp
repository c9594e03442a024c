// The project's own build of the library, loaded the way the program loads it.
// The test machine has no headset card.
#include "HeadsetCardLocator.h"
#include "platform/AudioConfigLibrary.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

bool HeadsetPresent()
{
    return HeadsetCardLocator().FindFromEnvironment().has_value();
}

TEST(OsConfPlugin, ResolvesAllExportsAndWithoutAHeadsetListsNothing)
{
    if (HeadsetPresent())
        GTEST_SKIP() << "a headset card is present on this machine";
    AudioConfigLibrary library(OSCONF_PLUGIN_DIR);
    ASSERT_TRUE(library.Loaded()) << library.LoadError();
    ASSERT_EQ(library.Init(), 0);
    EXPECT_EQ(library.CreateDeviceList(), 0);
    EXPECT_EQ(library.DeviceCount(AudioFlow::Playback), 0);
    EXPECT_EQ(library.DeviceCount(AudioFlow::Recording), 0);
    EXPECT_FALSE(library.Device(AudioFlow::Recording, 0).has_value());

    const OsConfEndpoint guessed{2, OSCONF_KIND_MICROPHONE, OSCONF_STATE_ACTIVE, 0};
    EXPECT_FALSE(library.GetText(guessed, "GetSupportFeature").has_value());
    EXPECT_FALSE(library.GetDecimal(guessed, "GetMaxVol").has_value());
    EXPECT_FALSE(library.SetInt(guessed, "MuteControl", 1));
    EXPECT_FALSE(library.SetFloat(guessed, "VolumeScalarControl", 0.5f, kAllChannels));
}

TEST(OsConfPlugin, CallsBeforeStartFailAndARestartBeginsAfresh)
{
    if (HeadsetPresent())
        GTEST_SKIP() << "a headset card is present on this machine";
    AudioConfigLibrary library(OSCONF_PLUGIN_DIR);
    ASSERT_TRUE(library.Loaded()) << library.LoadError();
    EXPECT_NE(library.CreateDeviceList(), 0);
    EXPECT_FALSE(library.DeviceCount(AudioFlow::Playback).has_value());
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(library.Init(), 0);
        EXPECT_EQ(library.CreateDeviceList(), 0);
        EXPECT_EQ(library.DeviceCount(AudioFlow::Recording), 0);
    }
}

// Sets an environment variable for one test.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : m_name(name) { ::setenv(name, value, 1); }
    ~ScopedEnvironment() { ::unsetenv(m_name); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* m_name;
};

TEST(OsConfPlugin, AnOverrideNamingAMissingCardListsNothing)
{
    const ScopedEnvironment override(HeadsetCardLocator::kOverrideVariable, "NoSuchCard");
    AudioConfigLibrary library(OSCONF_PLUGIN_DIR);
    ASSERT_TRUE(library.Loaded()) << library.LoadError();
    ASSERT_EQ(library.Init(), 0);
    EXPECT_EQ(library.CreateDeviceList(), 0);
    EXPECT_EQ(library.DeviceCount(AudioFlow::Playback), 0);
}

} // namespace
