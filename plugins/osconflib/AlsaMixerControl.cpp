#include "AlsaMixerControl.h"

#include <algorithm>
#include <cmath>

struct AlsaMixerControl::Api {
    int (*hasChannel)(snd_mixer_elem_t*, snd_mixer_selem_channel_id_t);
    int (*volumeRange)(snd_mixer_elem_t*, long*, long*);
    int (*dbRange)(snd_mixer_elem_t*, long*, long*);
    int (*getVolume)(snd_mixer_elem_t*, snd_mixer_selem_channel_id_t, long*);
    int (*setVolume)(snd_mixer_elem_t*, snd_mixer_selem_channel_id_t, long);
    int (*setVolumeAll)(snd_mixer_elem_t*, long);
    int (*getDb)(snd_mixer_elem_t*, snd_mixer_selem_channel_id_t, long*);
    int (*setDb)(snd_mixer_elem_t*, snd_mixer_selem_channel_id_t, long, int);
    int (*setDbAll)(snd_mixer_elem_t*, long, int);
    int (*hasSwitch)(snd_mixer_elem_t*);
    int (*getSwitch)(snd_mixer_elem_t*, snd_mixer_selem_channel_id_t, int*);
    int (*setSwitchAll)(snd_mixer_elem_t*, int);
};

namespace {

const AlsaMixerControl::Api kCaptureApi{
    snd_mixer_selem_has_capture_channel,   snd_mixer_selem_get_capture_volume_range,
    snd_mixer_selem_get_capture_dB_range,  snd_mixer_selem_get_capture_volume,
    snd_mixer_selem_set_capture_volume,    snd_mixer_selem_set_capture_volume_all,
    snd_mixer_selem_get_capture_dB,        snd_mixer_selem_set_capture_dB,
    snd_mixer_selem_set_capture_dB_all,    snd_mixer_selem_has_capture_switch,
    snd_mixer_selem_get_capture_switch,    snd_mixer_selem_set_capture_switch_all,
};

const AlsaMixerControl::Api kPlaybackApi{
    snd_mixer_selem_has_playback_channel,  snd_mixer_selem_get_playback_volume_range,
    snd_mixer_selem_get_playback_dB_range, snd_mixer_selem_get_playback_volume,
    snd_mixer_selem_set_playback_volume,   snd_mixer_selem_set_playback_volume_all,
    snd_mixer_selem_get_playback_dB,       snd_mixer_selem_set_playback_dB,
    snd_mixer_selem_set_playback_dB_all,   snd_mixer_selem_has_playback_switch,
    snd_mixer_selem_get_playback_switch,   snd_mixer_selem_set_playback_switch_all,
};

// alsa-lib keeps dB values in hundredths of a dB.
constexpr double kDbUnit = 100.0;

} // namespace

AlsaMixerControl::AlsaMixerControl(snd_mixer_elem_t* element, Direction direction)
    : m_element(element), m_api(direction == Direction::Capture ? kCaptureApi : kPlaybackApi)
{
}

std::optional<snd_mixer_selem_channel_id_t> AlsaMixerControl::ReadChannel(int channel) const
{
    if (channel >= 0) {
        if (channel > SND_MIXER_SCHN_LAST)
            return std::nullopt;
        const auto id = static_cast<snd_mixer_selem_channel_id_t>(channel);
        if (!m_api.hasChannel(m_element, id))
            return std::nullopt;
        return id;
    }
    if (channel != -1)
        return std::nullopt;
    for (int c = 0; c <= SND_MIXER_SCHN_LAST; ++c) {
        const auto id = static_cast<snd_mixer_selem_channel_id_t>(c);
        if (m_api.hasChannel(m_element, id))
            return id;
    }
    return std::nullopt;
}

bool AlsaMixerControl::ValidWriteChannel(int channel) const
{
    return channel == -1 || ReadChannel(channel).has_value();
}

bool AlsaMixerControl::VolumeRange(long& min, long& max) const
{
    return m_api.volumeRange(m_element, &min, &max) == 0 && max > min;
}

std::optional<MixerControl::DbRange> AlsaMixerControl::Range()
{
    long minDb = 0;
    long maxDb = 0;
    long minRaw = 0;
    long maxRaw = 0;
    if (m_api.dbRange(m_element, &minDb, &maxDb) != 0 || !VolumeRange(minRaw, maxRaw))
        return std::nullopt;
    const double min = static_cast<double>(minDb) / kDbUnit;
    const double max = static_cast<double>(maxDb) / kDbUnit;
    return DbRange{min, max, (max - min) / static_cast<double>(maxRaw - minRaw)};
}

std::optional<double> AlsaMixerControl::GetDb(int channel)
{
    const auto id = ReadChannel(channel);
    long value = 0;
    if (!id || m_api.getDb(m_element, *id, &value) != 0)
        return std::nullopt;
    return static_cast<double>(value) / kDbUnit;
}

bool AlsaMixerControl::SetDb(int channel, double db)
{
    const auto range = Range();
    if (!range || !std::isfinite(db) || !ValidWriteChannel(channel))
        return false;
    const long value = std::lround(std::clamp(db, range->min, range->max) * kDbUnit);
    if (channel == -1)
        return m_api.setDbAll(m_element, value, 0) == 0;
    return m_api.setDb(m_element, static_cast<snd_mixer_selem_channel_id_t>(channel), value, 0) == 0;
}

std::optional<float> AlsaMixerControl::GetScalar(int channel)
{
    const auto id = ReadChannel(channel);
    long min = 0;
    long max = 0;
    long value = 0;
    if (!id || !VolumeRange(min, max) || m_api.getVolume(m_element, *id, &value) != 0)
        return std::nullopt;
    return static_cast<float>(static_cast<double>(value - min) / static_cast<double>(max - min));
}

bool AlsaMixerControl::SetScalar(int channel, float scalar)
{
    long min = 0;
    long max = 0;
    if (!(scalar >= 0.0f && scalar <= 1.0f) || !VolumeRange(min, max) || !ValidWriteChannel(channel))
        return false;
    const long value = min + std::lround(static_cast<double>(scalar) * static_cast<double>(max - min));
    if (channel == -1)
        return m_api.setVolumeAll(m_element, value) == 0;
    return m_api.setVolume(m_element, static_cast<snd_mixer_selem_channel_id_t>(channel), value) == 0;
}

std::optional<bool> AlsaMixerControl::GetMuted()
{
    const auto id = ReadChannel(-1);
    int on = 0;
    if (!id || !m_api.hasSwitch(m_element) || m_api.getSwitch(m_element, *id, &on) != 0)
        return std::nullopt;
    return on == 0;
}

bool AlsaMixerControl::SetMuted(bool muted)
{
    return m_api.hasSwitch(m_element) && m_api.setSwitchAll(m_element, muted ? 0 : 1) == 0;
}
