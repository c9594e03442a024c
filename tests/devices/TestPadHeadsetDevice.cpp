#include "ModelTestSupport.h"

#include "devices/VarnokHS6533Device.h"
#include "devices/VarnokMousePadDevice.h"
#include "hid/ReportFrame.h"

#ifdef FAKE_OSCONF_DIR
#include "FakeOsConfControl.h"
#endif

#include <gtest/gtest.h>

#include <cstring>

using namespace modeltest;

namespace {

class PadDeviceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        data.SetEffectCodes({0, 7, 3, 9, 1, 2, 4, 5, 6, 8});
        AttachDevice(pad, sim, SimProductKind::MousePad, data, &page, 15);
        pad.LoadProfile();
    }

    SimMemory& Memory() { return sim.Memory(SimProductKind::MousePad); }

    std::vector<uint8_t> Written()
    {
        std::vector<uint8_t> out(PadProfileBlock::kSize);
        EXPECT_TRUE(Memory().Read(SimRegion::Params, 0, out.data(), out.size()));
        return out;
    }

    void SetLight(uint8_t effect, uint8_t speed)
    {
        LightInfoRecord info = pad.ProfileData()->ReadLightInfo();
        info.selectItem = effect;
        info.speed = speed;
        info.red = 1;
        info.green = 2;
        info.blue = 3;
        pad.ProfileData()->WriteLightInfo(info);
        pad.LoadLighting();
    }

    DataSandbox data;
    SimHidBackend sim{{SimProductKind::MousePad}};
    RecordingObserver page;
    CVarnokMousePadDevice pad{sim};
};

TEST_F(PadDeviceTest, WriteEchoesTheBytesLastRead)
{
    std::vector<uint8_t> block(26, 0);
    block[1] = 9;  // index 3
    block[3] = 1;  // speed 3
    block[4] = 0x44;
    for (size_t i = 9; i <= 20; ++i)
        block[i] = static_cast<uint8_t>(0x90 + i);
    ASSERT_TRUE(Memory().Write(SimRegion::Params, 0, block.data(), block.size()));
    pad.Connect();
    pad.StopPreviewThread();
    ASSERT_EQ(pad.ReadProfileBlock(), 0);
    EXPECT_EQ(pad.Block().EffectIndex(), 3);
    EXPECT_EQ(pad.Block().Speed(), 3);

    SetLight(1, 4);
    ASSERT_EQ(pad.WriteProfileBlock(0, 0, 1, 0, 0), 1);
    const auto written = Written();
    EXPECT_EQ(written[1], 7);  // code of index 1
    EXPECT_EQ(written[3], 0);  // 4 - speed
    EXPECT_EQ(written[4], 0x44);
    EXPECT_EQ((std::vector<uint8_t>(written.begin() + 5, written.begin() + 9)), (std::vector<uint8_t>{1, 1, 2, 3}));
    for (size_t i = 9; i <= 20; ++i)
        EXPECT_EQ(written[i], 0x90 + i) << "byte " << i;
    // The stored block keeps the index and the speed.
    EXPECT_EQ(pad.Block().EffectIndex(), 1);
    EXPECT_EQ(pad.Block().Speed(), 4);
}

TEST_F(PadDeviceTest, BeforeAnyReadEchoedBytesAreZeroAndRepeatedWritesMatch)
{
    std::vector<uint8_t> junk(21, 0x5A);
    ASSERT_TRUE(Memory().Write(SimRegion::Params, 0, junk.data(), junk.size()));
    SetLight(3, 2);
    ASSERT_EQ(pad.WriteProfileBlock(0, 0, 1, 0, 0), 1);
    const auto first = Written();
    EXPECT_EQ(first[4], 0);
    for (size_t i = 9; i <= 20; ++i)
        EXPECT_EQ(first[i], 0) << "byte " << i;
    ASSERT_EQ(pad.WriteProfileBlock(0, 0, 1, 0, 0), 1);
    EXPECT_EQ(Written(), first);
    EXPECT_EQ(first[1], 9);
}

TEST_F(PadDeviceTest, RefreshReportsTheProfileNumberAndAClosedChannelWritesNothing)
{
    const uint8_t active = 1;
    ASSERT_TRUE(Memory().Write(SimRegion::Params, 0, &active, 1));
    pad.RefreshFromDevice();
    EXPECT_EQ(page.profileNumber, 1);

    DeviceAttach::Detach(pad.ChannelA());
    page.profileNumber = -1;
    pad.RefreshFromDevice();
    EXPECT_EQ(page.profileNumber, -1);
    EXPECT_EQ(pad.WriteProfileBlock(0, 0, 1, 0, 0), 0);
}

TEST_F(PadDeviceTest, LightingEditReachesTheProfileTheStoredBlockAndThePad)
{
    LightInfoRecord edit = pad.GetLightInfoRecord();
    edit.selectItem = 3;  // code 9
    edit.speed = 1;
    edit.light = 2;
    edit.red = 50;
    pad.ApplyLightingEdit(edit);

    EXPECT_EQ(pad.ProfileData()->ReadLightInfo().selectItem, 3);
    CBasicProfiledata saved;
    saved.LoadDeviceEntry(pad.GetProfilePath());
    EXPECT_EQ(saved.ReadLightInfo().red, 50);
    EXPECT_EQ(pad.Block().EffectIndex(), 3);
    EXPECT_EQ(pad.Block().Speed(), 1);
    const auto written = Written();
    EXPECT_EQ(written[1], 9);
    EXPECT_EQ(written[2], 2);
    EXPECT_EQ(written[3], 3);  // 4 - speed
    EXPECT_EQ(written[6], 50);
}

TEST_F(PadDeviceTest, PreviewTakesEffectAndSpeedFromTheStoredBlock)
{
    SetLight(4, 1);
    ASSERT_NE(pad.Preview(), nullptr);
    EXPECT_EQ(pad.Preview()->LightState().selectItem, 4);
    EXPECT_EQ(pad.Preview()->LightState().speed, 1);
    EXPECT_EQ(pad.Preview()->LightState().red, 1);
}

TEST_F(PadDeviceTest, PresentPerLedRecordsDriveTheirLedsAfterAPass)
{
    std::vector<LightInfoRecord> records(15);
    records[3].present = 1;
    records[3].selectItem = 1;  // static
    records[3].light = 4;
    records[3].red = 200;
    records[5].present = 1;
    records[5].selectItem = 4;  // off
    pad.SetLedCount(15);
    pad.SetLedRecords(records);
    pad.SetLedColour(5, 0xFF00FF00u);
    pad.SetLedColour(7, 0xFF0000FFu);  // no record present: left alone
    CVarnokUSBDevice& device = pad;
    EXPECT_TRUE(device.AfterPreviewPass());
    EXPECT_EQ(pad.LedColours().Get(3), (LedColour{200, 0, 0, PreviewTables::Level(4)}));
    EXPECT_EQ(pad.GetLedColour(5), 0u);
    EXPECT_EQ(pad.GetLedColour(7), 0xFF0000FFu);

    pad.SetLedRecords({});
    EXPECT_FALSE(device.AfterPreviewPass());
}

class HeadsetDeviceTest : public ::testing::Test {
protected:
    void Attach() { AttachDevice(headset, sim, SimProductKind::Headset, data, &page, 13); }

    uint8_t Light(uint8_t bank, uint8_t reg, size_t channel)
    {
        const size_t offset = ((bank == 0x44 ? 6u : 0u) + (reg - 0xAAu)) * 7u + channel;
        return sim.Memory(SimProductKind::Headset).At(SimRegion::Lights, offset);
    }

    size_t LightReportsSent()
    {
        size_t n = 0;
        for (const auto& e : sim.Product(SimProductKind::Headset).Trace().Entries(SimDirection::HostToDevice))
            if (e.length == CVarnokHS6533Device::kLightReportSize && e.bytes[0] == 0xFF)
                ++n;
        return n;
    }

    DataSandbox data;
    SimHidBackend sim{{SimProductKind::Headset}};
    RecordingObserver page;
    CVarnokHS6533Device headset{sim};
};

TEST_F(HeadsetDeviceTest, PaintSendsTwelveReportsLimitedTo247)
{
    Attach();
    headset.SetLedColour(0, 0xFF0000FFu);   // red 255 at level 255
    headset.SetLedColour(6, 0x80004000u);   // green 64 at level 128
    headset.SetLedColour(7, 0xFFFF0000u);   // blue 255 at level 255
    headset.SetLedColour(12, 0xFF0000C8u);  // red 200 at level 255
    headset.PaintLights();
    for (int wait = 0; wait < 300 && LightReportsSent() < 12; ++wait)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(LightReportsSent(), 12u);

    const auto reports = headset.BuildLightReports();
    ASSERT_EQ(reports.size(), 12u);
    EXPECT_EQ((std::vector<uint8_t>{reports[0][0], reports[0][1], reports[0][2]}),
              (std::vector<uint8_t>{0xFF, 0x22, 0xAA}));
    EXPECT_EQ((std::vector<uint8_t>{reports[11][1], reports[11][2]}), (std::vector<uint8_t>{0x44, 0xAF}));
    for (uint8_t bank : {uint8_t{0x22}, uint8_t{0x44}}) {
        SCOPED_TRACE(testing::Message() << "bank " << std::hex << int(bank));
        EXPECT_EQ(Light(bank, 0xAA, 0), 247);
        EXPECT_EQ(Light(bank, 0xAB, 6), 32);
        EXPECT_EQ(Light(bank, 0xAF, 0), 247);   // LED 7 is the first of the second register
        EXPECT_EQ(Light(bank, 0xAD, 5), 199);   // LED 12
        EXPECT_EQ(Light(bank, 0xAD, 6), 0);     // no seventh LED there
    }
}

TEST_F(HeadsetDeviceTest, NoReportsWithoutLightControl)
{
    Attach();
    headset.SetLightControl(0);
    headset.PaintLights();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(LightReportsSent(), 0u);
}

TEST_F(HeadsetDeviceTest, MissingAudioLibraryLeavesLightingWorking)
{
    headset.SetAudioLibraryFolder(data.AppData() / "no-such-sdk");
    Attach();
    headset.InitPage();
    EXPECT_FALSE(headset.AudioReady());
    headset.SetMicrophoneEnabled(false);
    headset.Connect();
    headset.StopPreviewThread();
    EXPECT_TRUE(page.messages.empty());
}

#ifdef FAKE_OSCONF_DIR
class HeadsetAudioTest : public HeadsetDeviceTest {
protected:
    void SetUp() override
    {
        fake.AddEndpoint(OSCONF_FLOW_PLAYBACK, {1, OSCONF_KIND_HEADSET_OUT, 1, 0});
        fake.AddEndpoint(OSCONF_FLOW_RECORDING, {2, OSCONF_KIND_MICROPHONE, 1, 0});
        Text("GetSupportFeature", "131072,0,0,0,4,0,6");
        Int("MuteControl", 1);
        Float("VolumeScalarControl", 0.25f);
        Text("VolumeControl", "-12.50");
        headset.SetAudioLibraryFolder(FAKE_OSCONF_DIR);
        Attach();
    }

    void Text(const char* name, const std::string& text) { fake.SetAnswer(name, 0, text.c_str(), int32_t(text.size() + 1)); }
    void Int(const char* name, int32_t v) { fake.SetAnswer(name, 0, &v, sizeof v); }
    void Float(const char* name, float v) { fake.SetAnswer(name, 0, &v, sizeof v); }

    // The value of the last set of a property.
    std::optional<FakeOsConfCall> LastSet(const std::string& name)
    {
        std::optional<FakeOsConfCall> found;
        for (int i = 0; i < fake.PropertyCallCount(); ++i) {
            FakeOsConfCall call{};
            fake.GetPropertyCall(i, &call);
            if (call.set && name == call.property)
                found = call;
        }
        return found;
    }
    static int32_t Word(const FakeOsConfCall& call)
    {
        int32_t v = 0;
        std::memcpy(&v, call.value, sizeof v);
        return v;
    }

    FakeOsConfControl fake{FAKE_OSCONF_DIR};
};

TEST_F(HeadsetAudioTest, StartChoosesEndpointsAndReadsMicrophone)
{
    headset.InitPage();
    ASSERT_TRUE(headset.AudioReady());
    EXPECT_TRUE(headset.VoiceChangerSupported());
    EXPECT_EQ(headset.AudioSettings().micInSelect, 0);  // muted
    EXPECT_EQ(headset.AudioSettings().micInValue, 25);
    EXPECT_TRUE(page.messages.empty());
    // A probe whose get fails is set to 0.
    const auto probe = LastSet("Enable_ENC_LFX");
    ASSERT_TRUE(probe.has_value());
    EXPECT_EQ(probe->endpoint.id, 2);
    EXPECT_EQ(Word(*probe), 0);
    // ... but a volume that cannot be read is not set to silence.
    for (const char* volume : {"VolumeControl", "VolumeScalarControl", "AAVolumeControl", "AAVolumeScalarControl"})
        EXPECT_FALSE(LastSet(volume).has_value()) << volume;
}

TEST_F(HeadsetAudioTest, SettersReachTheLibraryAndTheProfile)
{
    headset.InitPage();
    headset.SetVoiceChangerType(1);
    ASSERT_TRUE(LastSet("MagicVoice_Selection").has_value());
    EXPECT_EQ(Word(*LastSet("MagicVoice_Selection")), 0);

    headset.SetVoiceChangerEnabled(true);
    EXPECT_EQ(Word(*LastSet("Enable_MAGICVOICE")), 1);
    ASSERT_TRUE(LastSet("Enable_MICECHO").has_value());
    EXPECT_EQ(Word(*LastSet("Enable_MICECHO")), 0);

    headset.SetMicrophoneVolume(60);
    const auto volume = LastSet("VolumeScalarControl");
    ASSERT_TRUE(volume.has_value());
    float scalar = 0;
    std::memcpy(&scalar, volume->value, sizeof scalar);
    EXPECT_FLOAT_EQ(scalar, 0.6f);
    EXPECT_EQ(volume->channel[0], -1);
    EXPECT_EQ(headset.Profile().ReadHeadsetSystem().micInValue, 60);

    headset.SetEqualiserBand(2, 5);
    EXPECT_EQ(headset.AudioSettings().eqType, CHs6533Profiledata::kCustomEqType);
    EXPECT_EQ(Word(*LastSet("EQ_Slider3")), 5);
}

TEST_F(HeadsetAudioTest, FailedMuteSetStoresNothing)
{
    headset.InitPage();
    fake.SetAnswer("MuteControl", -1, nullptr, 0);
    headset.SetMicrophoneEnabled(true);
    EXPECT_EQ(headset.AudioSettings().micInSelect, 0);
}

TEST_F(HeadsetAudioTest, InitFailureAndShortFeatureAnswerAreShown)
{
    fake.SetInitResult(5);
    Text("GetSupportFeature", "1,2,3");
    headset.InitPage();
    EXPECT_EQ(page.messages, (std::vector<std::string>{"ConfLibInit called failed!", "UpdateAPOAvailable failed!"}));
}
#endif

}  // namespace
