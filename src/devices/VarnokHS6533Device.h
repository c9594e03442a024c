#pragma once

#include "devices/VarnokPadStyleDevice.h"
#include "platform/AudioConfigLibrary.h"
#include "profiles/Hs6533Profiledata.h"

#include <filesystem>
#include <memory>
#include <optional>

// The USB headset: pad-style lighting whose LED colours go out as twelve
// 17-byte output reports on every paint, and the audio settings through the
// audio configuration library.
class CVarnokHS6533Device : public CVarnokPadStyleDevice {
public:
    static constexpr size_t kLightReportSize = 17;
    static constexpr uint8_t kChannelLimit = 247;
    static constexpr int kLightReports = 12;

    explicit CVarnokHS6533Device(HidBackend& backend);
    ~CVarnokHS6533Device() override;

    const char* ClassName() const override { return "VarnokHS6533Device"; }
    CBasicProfiledata* ProfileData() override { return &m_profile; }
    CHs6533Profiledata& Profile() { return m_profile; }

    void InitPage() override;
    void Connect() override;
    void PaintLights() override;

    // The twelve light reports of the LED colour list, in sending order.
    std::vector<std::array<uint8_t, kLightReportSize>> BuildLightReports() const;

    // Where the audio library is loaded from (default: "SDK" beside the executable).
    void SetAudioLibraryFolder(const std::filesystem::path& folder) { m_audioFolder = folder; }
    // Loads the library once, initialises it and chooses the endpoints.
    void StartAudio();
    bool AudioReady() const { return m_recording.has_value() || m_playback.has_value(); }
    // Reads the microphone and monitor values into the settings.
    void ReadAudioValues();
    const HeadsetSystemRecord& AudioSettings() const { return m_audio; }
    bool VoiceChangerSupported() const { return (m_recordingFeatures.field0 & 0x20000) != 0; }

    // Setters; each stores the settings into the profile and saves it.
    void SetMicrophoneEnabled(bool enabled);
    void SetMicrophoneVolume(int volume);
    void SetMonitorEnabled(bool enabled);
    void SetMonitorVolume(int volume);
    void SetVoiceChangerEnabled(bool enabled);
    void SetVoiceChangerType(int type);
    void SetEqualiserBand(int band, int value);
    void SetEqualiserOption(int option);
    void SelectCustomEqualiser(int index);
    const std::vector<int32_t>& Bands() const { return m_bands; }

protected:
    std::unique_ptr<LightingPreview> MakePreview(LedColourList& leds, LightingPreview::Clock clock) override;
    const PreviewSchedule* Schedule() const override { return &PreviewSchedule::Headset(); }
    // Lighting, then the headset system record and the equaliser.
    void LoadProfileContents() override;

private:
    void ProbeProperties();
    void StoreAudio();
    void ApplyBands(const std::vector<int32_t>& bands);
    std::optional<double> Decimal(const OsConfEndpoint& endpoint, const char* name, ChannelWords channel = {});

    CHs6533Profiledata m_profile;
    std::filesystem::path m_audioFolder;
    std::unique_ptr<AudioConfigLibrary> m_library;
    bool m_audioStarted = false;
    std::optional<OsConfEndpoint> m_playback;
    std::optional<OsConfEndpoint> m_recording;
    SupportFeatures m_playbackFeatures;
    SupportFeatures m_recordingFeatures;
    HeadsetSystemRecord m_audio;
    std::vector<int32_t> m_bands;
    std::vector<std::wstring> m_customNames;
};
