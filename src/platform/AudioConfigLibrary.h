#pragma once

#include "platform/osConfLib.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

// Words of the channel buffer of a property call; empty means no channel buffer.
using ChannelWords = std::span<const std::int32_t>;
inline constexpr std::array<std::int32_t, 1> kAllChannels{OSCONF_CHANNEL_ALL};
inline constexpr std::array<std::int32_t, 1> kFirstChannel{0};

using PropertyBuffer = std::array<std::uint8_t, OSCONF_VALUE_BUFFER_SIZE>;

enum class AudioFlow : std::int32_t { Playback = OSCONF_FLOW_PLAYBACK, Recording = OSCONF_FLOW_RECORDING };

// The three numbers kept from the "GetSupportFeature" answer (fields 0, 4 and 6).
struct SupportFeatures {
    std::int64_t field0 = 0;
    std::int64_t field4 = 0;
    std::int64_t field6 = 0;
    bool operator==(const SupportFeatures&) const = default;
};

// Parses the comma-separated "GetSupportFeature" answer: at least seven fields,
// fields 0, 4 and 6 decimal integers. Anything else is no answer.
std::optional<SupportFeatures> ParseSupportFeature(std::string_view text);

// The playback endpoint to use: the first speaker endpoint that is active, else
// the first endpoint of kind 12, else of kind 7, else of kind 4.
std::optional<OsConfEndpoint> ChoosePlaybackEndpoint(std::span<const OsConfEndpoint> endpoints);

// The recording endpoint to use: the first microphone endpoint.
std::optional<OsConfEndpoint> ChooseRecordingEndpoint(std::span<const OsConfEndpoint> endpoints);

// The audio configuration library, loaded at run time from <folder>/libosConfLib.so.
// When the file or any of its exports is missing the library is not loaded and
// every call below fails without reaching it.
class AudioConfigLibrary {
public:
    static constexpr const char* kFileName = "libosConfLib.so";

    // "SDK" in the folder of the running executable.
    static std::filesystem::path DefaultFolder();

    explicit AudioConfigLibrary(const std::filesystem::path& folder = DefaultFolder());
    ~AudioConfigLibrary();

    AudioConfigLibrary(const AudioConfigLibrary&) = delete;
    AudioConfigLibrary& operator=(const AudioConfigLibrary&) = delete;

    bool Loaded() const { return m_handle != nullptr; }
    // Why loading failed, in words; empty when loaded.
    const std::string& LoadError() const { return m_loadError; }

    // ConfLibInit; its result, or -1 when the library is not loaded. After a
    // successful start ConfLibUnInit is called on destruction.
    int Init();
    int CreateDeviceList();
    std::optional<int> DeviceCount(AudioFlow flow);
    std::optional<OsConfEndpoint> Device(AudioFlow flow, int index);
    // Every endpoint of a flow in the library's order (count, then each by index
    // up to the first one the library cannot give).
    std::vector<OsConfEndpoint> Endpoints(AudioFlow flow);

    // One property call: `value` goes to the library as it is and holds the
    // answer afterwards. True when the library answered 0.
    bool CallProperty(const OsConfEndpoint& endpoint, const std::string& name, PropertyBuffer& value,
                      ChannelWords channel, bool set);

    // Get: clears the buffers and returns the value buffer of a successful call.
    std::optional<PropertyBuffer> Get(const OsConfEndpoint& endpoint, const std::string& name,
                                      ChannelWords channel = {});
    // Set: clears the buffers, puts `bytes` at the start of the value buffer.
    bool Set(const OsConfEndpoint& endpoint, const std::string& name, std::span<const std::uint8_t> bytes,
             ChannelWords channel = {});

    std::optional<std::int32_t> GetInt(const OsConfEndpoint& endpoint, const std::string& name,
                                       ChannelWords channel = {});
    bool SetInt(const OsConfEndpoint& endpoint, const std::string& name, std::int32_t value,
                ChannelWords channel = {});
    std::optional<float> GetFloat(const OsConfEndpoint& endpoint, const std::string& name,
                                  ChannelWords channel = {});
    bool SetFloat(const OsConfEndpoint& endpoint, const std::string& name, float value, ChannelWords channel = {});
    std::optional<std::string> GetText(const OsConfEndpoint& endpoint, const std::string& name,
                                       ChannelWords channel = {});
    bool SetText(const OsConfEndpoint& endpoint, const std::string& name, const std::string& value,
                 ChannelWords channel = {});
    // A text value holding a decimal number ("-12.5").
    std::optional<double> GetDecimal(const OsConfEndpoint& endpoint, const std::string& name,
                                     ChannelWords channel = {});
    bool SetDecimal(const OsConfEndpoint& endpoint, const std::string& name, double value,
                    ChannelWords channel = {});

private:
    struct Exports {
        OsConfInitFn init = nullptr;
        OsConfGetDeviceByIdFn getDeviceById = nullptr;
        OsConfPropertyControlFn propertyControl = nullptr;
        OsConfRegisterCallbackFn registerCallback = nullptr;
        OsConfGetDeviceCountFn getDeviceCount = nullptr;
        OsConfCreateDeviceListFn createDeviceList = nullptr;
        OsConfUnInitFn unInit = nullptr;
        OsConfShowAsioPanelFn showAsioPanel = nullptr;
        OsConfPlayTestSoundFn playTestSound = nullptr;
        OsConfStopTestSoundFn stopTestSound = nullptr;
        OsConfCloseTestSoundFn closeTestSound = nullptr;
    };

    bool ResolveExports();
    void Unload();

    void* m_handle = nullptr;
    Exports m_exports;
    std::string m_loadError;
    bool m_started = false;
};
