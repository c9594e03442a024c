#include "devices/VarnokHS6533Device.h"

#include "devices/PadLightingPreview.h"

#include <algorithm>
#include <cmath>

namespace {

struct LightRegister {
    uint8_t bank;
    uint8_t reg;
    int channel;  // 0 red, 1 green, 2 blue
    int firstLed;
    int leds;
};

constexpr std::array<LightRegister, CVarnokHS6533Device::kLightReports> kLightOrder = {{
    {0x22, 0xAA, 0, 0, 7}, {0x22, 0xAD, 0, 7, 6}, {0x44, 0xAA, 0, 0, 7}, {0x44, 0xAD, 0, 7, 6},
    {0x22, 0xAB, 1, 0, 7}, {0x22, 0xAE, 1, 7, 6}, {0x44, 0xAB, 1, 0, 7}, {0x44, 0xAE, 1, 7, 6},
    {0x22, 0xAC, 2, 0, 7}, {0x22, 0xAF, 2, 7, 6}, {0x44, 0xAC, 2, 0, 7}, {0x44, 0xAF, 2, 7, 6},
}};

constexpr int kCustomEq = CHs6533Profiledata::kCustomEqType;

uint8_t ChannelValue(uint8_t component, uint8_t level)
{
    const unsigned value = static_cast<unsigned>(component) * level / 256;
    return static_cast<uint8_t>(std::min<unsigned>(value, CVarnokHS6533Device::kChannelLimit));
}

int Percent(float scalar) { return static_cast<int>(std::lround(std::clamp(scalar, 0.0f, 1.0f) * 100.0f)); }

}  // namespace

CVarnokHS6533Device::CVarnokHS6533Device(HidBackend& backend)
    : CVarnokPadStyleDevice(backend, DeviceKind::Headset, "HD"), m_audioFolder(AudioConfigLibrary::DefaultFolder())
{
    RebuildPreview();
}

CVarnokHS6533Device::~CVarnokHS6533Device() { StopPreviewThread(); }

std::unique_ptr<LightingPreview> CVarnokHS6533Device::MakePreview(LedColourList& leds, LightingPreview::Clock clock)
{
    return std::make_unique<HeadsetLightingPreview>(leds, std::move(clock));
}

void CVarnokHS6533Device::InitPage()
{
    CVarnokUSBDevice::InitPage();
    StartAudio();
}

void CVarnokHS6533Device::Connect()
{
    LoadProfile();
    ReadAudioValues();
    RefreshPage();
    StartPreviewThread();
}

std::vector<std::array<uint8_t, CVarnokHS6533Device::kLightReportSize>> CVarnokHS6533Device::BuildLightReports() const
{
    std::vector<std::array<uint8_t, kLightReportSize>> reports;
    reports.reserve(kLightReports);
    for (const LightRegister& r : kLightOrder) {
        std::array<uint8_t, kLightReportSize> report{};
        report[0] = 0xFF;
        report[1] = r.bank;
        report[2] = r.reg;
        for (int i = 0; i < r.leds; ++i) {
            const LedColour c = LedColours().Get(static_cast<size_t>(r.firstLed + i));
            const uint8_t component = r.channel == 0 ? c.r : r.channel == 1 ? c.g : c.b;
            report[static_cast<size_t>(4 + i)] = ChannelValue(component, c.level);
        }
        reports.push_back(report);
    }
    return reports;
}

void CVarnokHS6533Device::PaintLights()
{
    if (LightControl() == 0)
        return;
    CVarnokUSBDevice::PaintLights();
    if (!ChannelA().IsOpen())
        return;
    for (const auto& report : BuildLightReports())
        ChannelA().Cable().SetOutputReport(report.data(), report.size());
}

void CVarnokHS6533Device::LoadProfileContents()
{
    CVarnokPadStyleDevice::LoadProfileContents();
    m_audio = m_profile.ReadHeadsetSystem();
    m_bands = m_audio.eqType == kCustomEq ? m_profile.ReadCustomEqBands(m_audio.customEqSelectIndex)
                                          : m_profile.ReadEqBands(m_audio.eqType);
    m_customNames = m_profile.ReadCustomEqNames();
}

void CVarnokHS6533Device::StartAudio()
{
    if (m_audioStarted)
        return;
    m_audioStarted = true;
    m_library = std::make_unique<AudioConfigLibrary>(m_audioFolder);
    if (!m_library->Loaded())
        return;
    if (m_library->Init() != 0)
        ShowMessage("ConfLibInit called failed!");
    m_library->CreateDeviceList();
    const auto playback = m_library->Endpoints(AudioFlow::Playback);
    if (playback.empty())
        return;
    m_playback = ChoosePlaybackEndpoint(playback);
    const auto recording = m_library->Endpoints(AudioFlow::Recording);
    m_recording = ChooseRecordingEndpoint(recording);
    bool featuresOk = true;
    for (auto [endpoint, features] : {std::pair{&m_playback, &m_playbackFeatures},
                                      std::pair{&m_recording, &m_recordingFeatures}}) {
        if (!endpoint->has_value())
            continue;
        const auto text = m_library->GetText(**endpoint, "GetSupportFeature");
        const auto parsed = text ? ParseSupportFeature(*text) : std::nullopt;
        if (parsed)
            *features = *parsed;
        else
            featuresOk = false;
    }
    if (!featuresOk)
        ShowMessage("UpdateAPOAvailable failed!");
    ProbeProperties();
    ReadAudioValues();
}

void CVarnokHS6533Device::ProbeProperties()
{
    AudioConfigLibrary& lib = *m_library;
    auto probe = [&](const std::optional<OsConfEndpoint>& endpoint, const std::string& name, ChannelWords channel) {
        if (endpoint && !lib.Get(*endpoint, name, channel))
            lib.SetInt(*endpoint, name, 0, channel);
    };
    // A volume whose read fails is left alone: setting it to 0 would silence the microphone or the monitor.
    auto probeVolume = [&](const std::optional<OsConfEndpoint>& endpoint, const std::string& name, ChannelWords channel) {
        if (endpoint)
            lib.Get(*endpoint, name, channel);
    };
    if (m_playback) {
        static constexpr std::array<int32_t, 3> kSurround{4, -1, 0};
        if (!lib.GetText(*m_playback, "VirtualSurroundEffectControl", kSurround))
            lib.SetInt(*m_playback, "VirtualSurroundEffectControl", 0, kSurround);
    }
    probe(m_recording, "Enable_ENC_LFX", {});
    probeVolume(m_recording, "VolumeControl", kAllChannels);
    probe(m_playback, "Enable_EQ_GFX", {});
    for (int band = 1; band <= CHs6533Profiledata::kBandCount; ++band)
        probe(m_playback, "EQ_Slider" + std::to_string(band), {});
    for (const char* name : {"Enable_RFX_GFX", "RFX_ENVIRONMENT", "RFX_ROOMSIZE"})
        probe(m_playback, name, {});
    probe(m_recording, "MuteControl", {});
    probeVolume(m_recording, "VolumeScalarControl", kAllChannels);
    probeVolume(m_recording, "AAVolumeControl", kFirstChannel);
    probe(m_recording, "AAMuteControl", {});
    probeVolume(m_recording, "AAVolumeScalarControl", kFirstChannel);
    probe(m_recording, "Enable_MAGICVOICE", {});
    probe(m_recording, "MagicVoice_Selection", {});
}

std::optional<double> CVarnokHS6533Device::Decimal(const OsConfEndpoint& endpoint, const char* name,
                                                   ChannelWords channel)
{
    const auto value = m_library->GetDecimal(endpoint, name, channel);
    if (value)
        if (auto* observer = PageObserver())
            observer->AudioValue(name, *value);
    return value;
}

void CVarnokHS6533Device::ReadAudioValues()
{
    if (!m_library || !m_recording)
        return;
    AudioConfigLibrary& lib = *m_library;
    const OsConfEndpoint& rec = *m_recording;
    Decimal(rec, "GetMaxVol");
    Decimal(rec, "GetMinVol");
    Decimal(rec, "GetVolStep");
    Decimal(rec, "VolumeControl", kAllChannels);
    if (const auto muted = lib.GetInt(rec, "MuteControl"))
        m_audio.micInSelect = *muted == 0 ? 1 : 0;
    if (const auto scalar = lib.GetFloat(rec, "VolumeScalarControl", kAllChannels))
        m_audio.micInValue = Percent(*scalar);
    if (Decimal(rec, "GetAAMaxVol")) {
        Decimal(rec, "GetAAMinVol");
        Decimal(rec, "GetAAVolStep");
        Decimal(rec, "AAVolumeControl", kFirstChannel);
        if (const auto muted = lib.GetInt(rec, "AAMuteControl"))
            m_audio.micMonitorSelect = *muted == 0 ? 1 : 0;
        if (const auto scalar = lib.GetFloat(rec, "AAVolumeScalarControl", kFirstChannel))
            m_audio.micMonitorValue = Percent(*scalar);
    }
    if (VoiceChangerSupported())
        if (const auto on = lib.GetInt(rec, "Enable_MAGICVOICE"))
            m_audio.magicEnable = *on != 0 ? 1 : 0;
}

void CVarnokHS6533Device::StoreAudio()
{
    m_profile.WriteHeadsetSystem(m_audio);
    SaveProfileData();
}

void CVarnokHS6533Device::SetMicrophoneEnabled(bool enabled)
{
    if (!m_library || !m_recording || !m_library->SetInt(*m_recording, "MuteControl", enabled ? 0 : 1))
        return;
    m_audio.micInSelect = enabled ? 1 : 0;
    StoreAudio();
}

void CVarnokHS6533Device::SetMicrophoneVolume(int volume)
{
    volume = std::clamp(volume, 0, 100);
    if (m_library && m_recording
        && m_library->SetFloat(*m_recording, "VolumeScalarControl", static_cast<float>(volume) / 100.0f,
                               kAllChannels))
        Decimal(*m_recording, "VolumeControl", kAllChannels);
    m_audio.micInValue = volume;
    StoreAudio();
}

void CVarnokHS6533Device::SetMonitorEnabled(bool enabled)
{
    if (!m_library || !m_recording || !m_library->SetInt(*m_recording, "AAMuteControl", enabled ? 0 : 1))
        return;
    m_audio.micMonitorSelect = enabled ? 1 : 0;
    StoreAudio();
}

void CVarnokHS6533Device::SetMonitorVolume(int volume)
{
    volume = std::clamp(volume, 0, 100);
    if (m_library && m_recording
        && m_library->SetFloat(*m_recording, "AAVolumeScalarControl", static_cast<float>(volume) / 100.0f,
                               kFirstChannel))
        Decimal(*m_recording, "AAVolumeControl", kFirstChannel);
    m_audio.micMonitorValue = volume;
    StoreAudio();
}

void CVarnokHS6533Device::SetVoiceChangerEnabled(bool enabled)
{
    if (m_library && m_recording) {
        m_library->SetInt(*m_recording, "Enable_MAGICVOICE", enabled ? 1 : 0);
        if (enabled)
            m_library->SetInt(*m_recording, "Enable_MICECHO", 0);
    }
    m_audio.magicEnable = enabled ? 1 : 0;
    StoreAudio();
}

void CVarnokHS6533Device::SetVoiceChangerType(int type)
{
    if (type < 1)
        return;
    if (m_library && m_recording)
        m_library->SetInt(*m_recording, "MagicVoice_Selection", type - 1);
    m_audio.magicType = type;
    StoreAudio();
}

void CVarnokHS6533Device::ApplyBands(const std::vector<int32_t>& bands)
{
    m_bands = bands;
    m_bands.resize(CHs6533Profiledata::kBandCount, 0);
    if (!m_library || !m_playback)
        return;
    m_library->SetInt(*m_playback, "Enable_EQ_GFX", 1);
    for (int band = 0; band < CHs6533Profiledata::kBandCount; ++band)
        m_library->SetInt(*m_playback, "EQ_Slider" + std::to_string(band + 1), m_bands[static_cast<size_t>(band)]);
}

void CVarnokHS6533Device::SetEqualiserBand(int band, int value)
{
    if (band < 0 || band >= CHs6533Profiledata::kBandCount)
        return;
    m_audio.eqType = kCustomEq;
    m_bands.resize(CHs6533Profiledata::kBandCount, 0);
    m_bands[static_cast<size_t>(band)] = value;
    if (m_library && m_playback)
        m_library->SetInt(*m_playback, "EQ_Slider" + std::to_string(band + 1), value);
    StoreAudio();
}

void CVarnokHS6533Device::SetEqualiserOption(int option)
{
    m_audio.eqType = option;
    ApplyBands(option == kCustomEq ? m_profile.ReadCustomEqBands(m_audio.customEqSelectIndex)
                                   : m_profile.ReadEqBands(option));
    StoreAudio();
}

void CVarnokHS6533Device::SelectCustomEqualiser(int index)
{
    m_audio.customEqSelectIndex = index;
    ApplyBands(m_profile.ReadCustomEqBands(index));
    StoreAudio();
}
