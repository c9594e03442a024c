#pragma once

#include "AlsaMixerControl.h"
#include "HeadsetMixer.h"

#include <alsa/asoundlib.h>

#include <memory>
#include <optional>
#include <string>

// The ALSA mixer of one card, with the microphone's capture control and the
// microphone's playback (monitor) control picked out of its elements.
class AlsaMixer final : public HeadsetMixer {
public:
    // The mixer of a control device such as "hw:2"; nothing when it cannot be opened.
    static std::unique_ptr<AlsaMixer> Open(const std::string& device);

    struct CloseMixer {
        void operator()(snd_mixer_t* mixer) const { snd_mixer_close(mixer); }
    };
    using MixerHandle = std::unique_ptr<snd_mixer_t, CloseMixer>;

    // Takes a loaded mixer.
    explicit AlsaMixer(MixerHandle mixer);

    MixerControl* Microphone() override;
    MixerControl* Monitor() override;
    void Refresh() override;

private:
    MixerHandle m_mixer;
    std::optional<AlsaMixerControl> m_microphone;
    std::optional<AlsaMixerControl> m_monitor;
};
