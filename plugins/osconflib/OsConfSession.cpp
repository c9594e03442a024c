#include "OsConfSession.h"

#include "DecimalText.h"
#include "MixerControl.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

constexpr OsConfEndpoint kPlaybackEndpoint{1, OSCONF_KIND_SPEAKERS, OSCONF_STATE_ACTIVE, 0};
constexpr OsConfEndpoint kRecordingEndpoint{2, OSCONF_KIND_MICROPHONE, OSCONF_STATE_ACTIVE, 0};

enum class Quantity { MaxDb, MinDb, StepDb, Db, Scalar, Mute };

// The properties the mixer answers, all on the recording endpoint.
struct MixerProperty {
    std::string_view name;
    bool monitor;
    Quantity quantity;
};

constexpr MixerProperty kMixerProperties[] = {
    {"GetMaxVol", false, Quantity::MaxDb},
    {"GetMinVol", false, Quantity::MinDb},
    {"GetVolStep", false, Quantity::StepDb},
    {"VolumeControl", false, Quantity::Db},
    {"VolumeScalarControl", false, Quantity::Scalar},
    {"MuteControl", false, Quantity::Mute},
    {"GetAAMaxVol", true, Quantity::MaxDb},
    {"GetAAMinVol", true, Quantity::MinDb},
    {"GetAAVolStep", true, Quantity::StepDb},
    {"AAVolumeControl", true, Quantity::Db},
    {"AAVolumeScalarControl", true, Quantity::Scalar},
    {"AAMuteControl", true, Quantity::Mute},
};

const MixerProperty* FindMixerProperty(std::string_view name)
{
    const auto found = std::find_if(std::begin(kMixerProperties), std::end(kMixerProperties),
                                    [name](const MixerProperty& p) { return p.name == name; });
    return found == std::end(kMixerProperties) ? nullptr : found;
}

bool SameEndpoint(const OsConfEndpoint& a, const OsConfEndpoint& b)
{
    return a.id == b.id && a.kind == b.kind && a.state == b.state && a.reserved == b.reserved;
}

// Writes an answer into the caller's value buffer, cleared first.
class ValueBuffer {
public:
    explicit ValueBuffer(void* value) : m_bytes(static_cast<char*>(value)) {}

    std::int32_t PutText(const std::string& text)
    {
        if (text.size() >= OSCONF_VALUE_BUFFER_SIZE)
            return OsConfSession::kMixerFailed;
        std::memset(m_bytes, 0, OSCONF_VALUE_BUFFER_SIZE);
        std::memcpy(m_bytes, text.data(), text.size());
        return 0;
    }
    template <typename T>
    std::int32_t PutWord(T word)
    {
        static_assert(sizeof(T) == 4);
        std::memset(m_bytes, 0, OSCONF_VALUE_BUFFER_SIZE);
        std::memcpy(m_bytes, &word, sizeof word);
        return 0;
    }
    template <typename T>
    T Word() const
    {
        T word{};
        std::memcpy(&word, m_bytes, sizeof word);
        return word;
    }
    std::optional<double> Decimal() const { return ParseDecimal(m_bytes, OSCONF_VALUE_BUFFER_SIZE); }

private:
    char* m_bytes;
};

std::int32_t Answer(bool ok)
{
    return ok ? 0 : OsConfSession::kMixerFailed;
}

std::int32_t GetQuantity(MixerControl& control, Quantity quantity, int channel, ValueBuffer& value)
{
    switch (quantity) {
    case Quantity::MaxDb:
    case Quantity::MinDb:
    case Quantity::StepDb: {
        const auto range = control.Range();
        if (!range)
            return OsConfSession::kMixerFailed;
        const double db = quantity == Quantity::MaxDb ? range->max
                          : quantity == Quantity::MinDb ? range->min
                                                        : range->step;
        return value.PutText(FormatDecimal(db));
    }
    case Quantity::Db: {
        const auto db = control.GetDb(channel);
        return db ? value.PutText(FormatDecimal(*db)) : OsConfSession::kMixerFailed;
    }
    case Quantity::Scalar: {
        const auto scalar = control.GetScalar(channel);
        return scalar ? value.PutWord(*scalar) : OsConfSession::kMixerFailed;
    }
    case Quantity::Mute: {
        const auto muted = control.GetMuted();
        return muted ? value.PutWord(std::int32_t{*muted ? 1 : 0}) : OsConfSession::kMixerFailed;
    }
    }
    return OsConfSession::kUnsupported;
}

std::int32_t SetQuantity(MixerControl& control, Quantity quantity, int channel, const ValueBuffer& value)
{
    switch (quantity) {
    case Quantity::MaxDb:
    case Quantity::MinDb:
    case Quantity::StepDb:
        return OsConfSession::kUnsupported;
    case Quantity::Db: {
        const auto db = value.Decimal();
        return db ? Answer(control.SetDb(channel, *db)) : OsConfSession::kBadArgument;
    }
    case Quantity::Scalar: {
        const auto scalar = value.Word<float>();
        if (!(scalar >= 0.0f && scalar <= 1.0f))
            return OsConfSession::kBadArgument;
        return Answer(control.SetScalar(channel, scalar));
    }
    case Quantity::Mute: {
        const auto muted = value.Word<std::int32_t>();
        if (muted != 0 && muted != 1)
            return OsConfSession::kBadArgument;
        return Answer(control.SetMuted(muted == 1));
    }
    }
    return OsConfSession::kUnsupported;
}

} // namespace

OsConfSession::OsConfSession(MixerOpener opener) : m_opener(std::move(opener)) {}

std::int32_t OsConfSession::CreateDeviceList()
{
    m_playback.clear();
    m_recording.clear();
    m_mixer.reset();
    m_mixer = m_opener ? m_opener() : nullptr;
    if (m_mixer) {
        m_playback.push_back(kPlaybackEndpoint);
        m_recording.push_back(kRecordingEndpoint);
    }
    return 0;
}

const std::vector<OsConfEndpoint>* OsConfSession::List(std::int32_t flow) const
{
    if (flow == OSCONF_FLOW_PLAYBACK)
        return &m_playback;
    if (flow == OSCONF_FLOW_RECORDING)
        return &m_recording;
    return nullptr;
}

bool OsConfSession::IsEndpoint(const OsConfEndpoint& endpoint, const std::vector<OsConfEndpoint>& list) const
{
    return std::any_of(list.begin(), list.end(), [&](const OsConfEndpoint& e) { return SameEndpoint(e, endpoint); });
}

std::int32_t OsConfSession::DeviceCount(std::int32_t flow, std::int32_t* count) const
{
    const auto* list = List(flow);
    if (!list || !count)
        return kBadArgument;
    *count = static_cast<std::int32_t>(list->size());
    return 0;
}

std::int32_t OsConfSession::DeviceById(std::int32_t flow, std::int32_t index, OsConfEndpoint* record) const
{
    const auto* list = List(flow);
    if (!list || !record || index < 0 || static_cast<std::size_t>(index) >= list->size())
        return kBadArgument;
    *record = (*list)[static_cast<std::size_t>(index)];
    return 0;
}

std::int32_t OsConfSession::PropertyControl(const OsConfEndpoint& endpoint, const char* property, void* value,
                                            const std::int32_t* channel, std::int32_t set)
{
    if (!property || !value || (set != OSCONF_PROPERTY_GET && set != OSCONF_PROPERTY_SET))
        return kBadArgument;
    const bool recording = IsEndpoint(endpoint, m_recording);
    if (!recording && !IsEndpoint(endpoint, m_playback))
        return kBadArgument;

    // strnlen keeps an unterminated name from being read past a sane length.
    const std::string_view name(property, ::strnlen(property, 256));
    ValueBuffer buffer(value);
    if (name == "GetSupportFeature")
        return set == OSCONF_PROPERTY_GET ? buffer.PutText(kSupportFeature) : kUnsupported;

    // Equaliser, voice changer, surround and unknown names end here: this card has no DSP.
    const MixerProperty* row = recording ? FindMixerProperty(name) : nullptr;
    if (!row)
        return kUnsupported;
    MixerControl* control = row->monitor ? m_mixer->Monitor() : m_mixer->Microphone();
    if (!control)
        return kUnsupported;
    m_mixer->Refresh();
    const int channelWord = channel ? channel[0] : OSCONF_CHANNEL_ALL;
    return set == OSCONF_PROPERTY_SET ? SetQuantity(*control, row->quantity, channelWord, buffer)
                                      : GetQuantity(*control, row->quantity, channelWord, buffer);
}
