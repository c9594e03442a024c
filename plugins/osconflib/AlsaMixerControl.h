#pragma once

#include "MixerControl.h"

#include <alsa/asoundlib.h>

// A MixerControl over one simple element of an ALSA mixer, in its capture or
// its playback direction. The element belongs to the mixer that outlives this.
class AlsaMixerControl final : public MixerControl {
public:
    enum class Direction { Capture, Playback };

    AlsaMixerControl(snd_mixer_elem_t* element, Direction direction);

    std::optional<DbRange> Range() override;
    std::optional<double> GetDb(int channel) override;
    bool SetDb(int channel, double db) override;
    std::optional<float> GetScalar(int channel) override;
    bool SetScalar(int channel, float scalar) override;
    std::optional<bool> GetMuted() override;
    bool SetMuted(bool muted) override;

    // The capture or playback functions of alsa-lib for one direction.
    struct Api;

private:
    // The element channel a get reads (-1: the first one present).
    std::optional<snd_mixer_selem_channel_id_t> ReadChannel(int channel) const;
    bool ValidWriteChannel(int channel) const;
    bool VolumeRange(long& min, long& max) const;

    snd_mixer_elem_t* m_element;
    const Api& m_api;
};
