#include "platform/AudioConfigLibrary.h"

#include <dlfcn.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

namespace {

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// A whole decimal number, blanks around it allowed.
template <typename T>
std::optional<T> ParseNumber(std::string_view text)
{
    text = Trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// More endpoints than any machine has: a count above it is a broken answer.
constexpr int kMaxEndpoints = 256;

std::optional<OsConfEndpoint> FirstOfKind(std::span<const OsConfEndpoint> endpoints, std::int32_t kind)
{
    const auto found = std::find_if(endpoints.begin(), endpoints.end(),
                                    [kind](const OsConfEndpoint& e) { return e.kind == kind; });
    if (found == endpoints.end())
        return std::nullopt;
    return *found;
}

// Looks one export up; a missing one is recorded in `error`.
template <typename Fn>
void Resolve(void* handle, const char* name, Fn& target, std::string& error)
{
    void* symbol = ::dlsym(handle, name);
    if (!symbol) {
        if (error.empty())
            error = std::string("The audio library has no function \"") + name + "\".";
        return;
    }
    // POSIX guarantees that a data pointer from dlsym converts to a function pointer.
    target = reinterpret_cast<Fn>(symbol);
}

} // namespace

std::optional<SupportFeatures> ParseSupportFeature(std::string_view text)
{
    std::vector<std::string_view> fields;
    for (;;) {
        const auto comma = text.find(',');
        fields.push_back(text.substr(0, comma));
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    if (fields.size() < 7)
        return std::nullopt;
    const auto field0 = ParseNumber<std::int64_t>(fields[0]);
    const auto field4 = ParseNumber<std::int64_t>(fields[4]);
    const auto field6 = ParseNumber<std::int64_t>(fields[6]);
    if (!field0 || !field4 || !field6)
        return std::nullopt;
    return SupportFeatures{*field0, *field4, *field6};
}

std::optional<OsConfEndpoint> ChoosePlaybackEndpoint(std::span<const OsConfEndpoint> endpoints)
{
    const auto active = std::find_if(endpoints.begin(), endpoints.end(), [](const OsConfEndpoint& e) {
        return e.kind == OSCONF_KIND_SPEAKERS && e.state == OSCONF_STATE_ACTIVE;
    });
    if (active != endpoints.end())
        return *active;
    for (const std::int32_t kind : {OSCONF_KIND_DIGITAL_OUT, OSCONF_KIND_HEADPHONES, OSCONF_KIND_HEADSET_OUT}) {
        if (auto endpoint = FirstOfKind(endpoints, kind))
            return endpoint;
    }
    return std::nullopt;
}

std::optional<OsConfEndpoint> ChooseRecordingEndpoint(std::span<const OsConfEndpoint> endpoints)
{
    return FirstOfKind(endpoints, OSCONF_KIND_MICROPHONE);
}

std::filesystem::path AudioConfigLibrary::DefaultFolder()
{
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return "SDK";
    return executable.parent_path() / "SDK";
}

AudioConfigLibrary::AudioConfigLibrary(const std::filesystem::path& folder)
{
    const auto path = folder / kFileName;
    m_handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
        const char* reason = ::dlerror();
        m_loadError = "The audio library " + path.string() + " could not be loaded";
        m_loadError += reason ? std::string(": ") + reason : std::string(".");
        return;
    }
    if (!ResolveExports())
        Unload();
}

AudioConfigLibrary::~AudioConfigLibrary()
{
    if (m_started && m_exports.unInit)
        m_exports.unInit();
    Unload();
}

bool AudioConfigLibrary::ResolveExports()
{
    std::string error;
    Resolve(m_handle, "ConfLibInit", m_exports.init, error);
    Resolve(m_handle, "GetDeviceById", m_exports.getDeviceById, error);
    Resolve(m_handle, "PropertyControl", m_exports.propertyControl, error);
    Resolve(m_handle, "RegisterCallbackFunction", m_exports.registerCallback, error);
    Resolve(m_handle, "GetDeviceCount", m_exports.getDeviceCount, error);
    Resolve(m_handle, "CreateDeviceList", m_exports.createDeviceList, error);
    Resolve(m_handle, "ConfLibUnInit", m_exports.unInit, error);
    Resolve(m_handle, "ShowAsioPanel", m_exports.showAsioPanel, error);
    Resolve(m_handle, "PlayTestSound", m_exports.playTestSound, error);
    Resolve(m_handle, "StopTestSound", m_exports.stopTestSound, error);
    Resolve(m_handle, "CloseTestSound", m_exports.closeTestSound, error);
    m_loadError = error;
    return error.empty();
}

void AudioConfigLibrary::Unload()
{
    if (m_handle)
        ::dlclose(m_handle);
    m_handle = nullptr;
    m_exports = {};
    m_started = false;
}

int AudioConfigLibrary::Init()
{
    if (!Loaded())
        return -1;
    const int result = m_exports.init();
    if (result == 0)
        m_started = true;
    return result;
}

int AudioConfigLibrary::CreateDeviceList()
{
    return Loaded() ? m_exports.createDeviceList() : -1;
}

std::optional<int> AudioConfigLibrary::DeviceCount(AudioFlow flow)
{
    if (!Loaded())
        return std::nullopt;
    std::int32_t count = 0;
    if (m_exports.getDeviceCount(static_cast<std::int32_t>(flow), 0, &count) != 0 || count < 0)
        return std::nullopt;
    return count;
}

std::optional<OsConfEndpoint> AudioConfigLibrary::Device(AudioFlow flow, int index)
{
    if (!Loaded())
        return std::nullopt;
    OsConfEndpoint record{};
    if (m_exports.getDeviceById(static_cast<std::int32_t>(flow), index, &record) != 0)
        return std::nullopt;
    return record;
}

std::vector<OsConfEndpoint> AudioConfigLibrary::Endpoints(AudioFlow flow)
{
    std::vector<OsConfEndpoint> endpoints;
    const int count = std::min(DeviceCount(flow).value_or(0), kMaxEndpoints);
    for (int index = 0; index < count; ++index) {
        auto record = Device(flow, index);
        if (!record)
            break;
        endpoints.push_back(*record);
    }
    return endpoints;
}

bool AudioConfigLibrary::CallProperty(const OsConfEndpoint& endpoint, const std::string& name,
                                      PropertyBuffer& value, ChannelWords channel, bool set)
{
    if (!Loaded() || channel.size() > OSCONF_CHANNEL_WORDS)
        return false;
    std::array<std::int32_t, OSCONF_CHANNEL_WORDS> channelBuffer{};
    std::copy(channel.begin(), channel.end(), channelBuffer.begin());
    return m_exports.propertyControl(endpoint.id, endpoint.kind, endpoint.state, endpoint.reserved, name.c_str(),
                                     value.data(), channel.empty() ? nullptr : channelBuffer.data(),
                                     set ? OSCONF_PROPERTY_SET : OSCONF_PROPERTY_GET)
           == 0;
}

std::optional<PropertyBuffer> AudioConfigLibrary::Get(const OsConfEndpoint& endpoint, const std::string& name,
                                                      ChannelWords channel)
{
    PropertyBuffer value{};
    if (!CallProperty(endpoint, name, value, channel, false))
        return std::nullopt;
    return value;
}

bool AudioConfigLibrary::Set(const OsConfEndpoint& endpoint, const std::string& name,
                             std::span<const std::uint8_t> bytes, ChannelWords channel)
{
    PropertyBuffer value{};
    if (bytes.size() > value.size())
        return false;
    std::copy(bytes.begin(), bytes.end(), value.begin());
    return CallProperty(endpoint, name, value, channel, true);
}

std::optional<std::int32_t> AudioConfigLibrary::GetInt(const OsConfEndpoint& endpoint, const std::string& name,
                                                       ChannelWords channel)
{
    const auto value = Get(endpoint, name, channel);
    if (!value)
        return std::nullopt;
    std::int32_t result = 0;
    std::memcpy(&result, value->data(), sizeof result);
    return result;
}

bool AudioConfigLibrary::SetInt(const OsConfEndpoint& endpoint, const std::string& name, std::int32_t value,
                                ChannelWords channel)
{
    std::array<std::uint8_t, sizeof value> bytes{};
    std::memcpy(bytes.data(), &value, sizeof value);
    return Set(endpoint, name, bytes, channel);
}

std::optional<float> AudioConfigLibrary::GetFloat(const OsConfEndpoint& endpoint, const std::string& name,
                                                  ChannelWords channel)
{
    const auto value = Get(endpoint, name, channel);
    if (!value)
        return std::nullopt;
    float result = 0;
    std::memcpy(&result, value->data(), sizeof result);
    return result;
}

bool AudioConfigLibrary::SetFloat(const OsConfEndpoint& endpoint, const std::string& name, float value,
                                  ChannelWords channel)
{
    static_assert(sizeof(float) == 4);
    std::array<std::uint8_t, sizeof value> bytes{};
    std::memcpy(bytes.data(), &value, sizeof value);
    return Set(endpoint, name, bytes, channel);
}

std::optional<std::string> AudioConfigLibrary::GetText(const OsConfEndpoint& endpoint, const std::string& name,
                                                       ChannelWords channel)
{
    const auto value = Get(endpoint, name, channel);
    if (!value)
        return std::nullopt;
    // A library that fills all 1024 bytes without a terminator is cut at the buffer's end.
    const auto* text = reinterpret_cast<const char*>(value->data());
    return std::string(text, ::strnlen(text, value->size()));
}

bool AudioConfigLibrary::SetText(const OsConfEndpoint& endpoint, const std::string& name, const std::string& value,
                                 ChannelWords channel)
{
    // The terminator must fit as well.
    if (value.size() >= OSCONF_VALUE_BUFFER_SIZE)
        return false;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(value.data());
    return Set(endpoint, name, std::span<const std::uint8_t>(bytes, value.size()), channel);
}

std::optional<double> AudioConfigLibrary::GetDecimal(const OsConfEndpoint& endpoint, const std::string& name,
                                                     ChannelWords channel)
{
    const auto text = GetText(endpoint, name, channel);
    if (!text)
        return std::nullopt;
    const auto value = ParseNumber<double>(*text);
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    return value;
}

bool AudioConfigLibrary::SetDecimal(const OsConfEndpoint& endpoint, const std::string& name, double value,
                                    ChannelWords channel)
{
    // Locale-independent: a decimal point whatever LC_NUMERIC says.
    std::array<char, 64> text{};
    const auto [end, error] = std::to_chars(text.data(), text.data() + text.size() - 1, value,
                                            std::chars_format::fixed, 2);
    if (error != std::errc())
        return false;
    return SetText(endpoint, name, std::string(text.data(), end), channel);
}
