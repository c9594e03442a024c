#include "AlsaMixer.h"

#include <string>
#include <string_view>

namespace {

bool NameHas(snd_mixer_elem_t* element, std::string_view word)
{
    const char* name = snd_mixer_selem_get_name(element);
    return name && std::string_view(name).find(word) != std::string_view::npos;
}

} // namespace

std::unique_ptr<AlsaMixer> AlsaMixer::Open(const std::string& device)
{
    snd_mixer_t* raw = nullptr;
    if (snd_mixer_open(&raw, 0) != 0 || !raw)
        return nullptr;
    MixerHandle mixer(raw);
    if (snd_mixer_attach(mixer.get(), device.c_str()) != 0 || snd_mixer_selem_register(mixer.get(), nullptr, nullptr) != 0
        || snd_mixer_load(mixer.get()) != 0)
        return nullptr;
    return std::make_unique<AlsaMixer>(std::move(mixer));
}

AlsaMixer::AlsaMixer(MixerHandle mixer) : m_mixer(std::move(mixer))
{
    snd_mixer_elem_t* anyCapture = nullptr;
    for (auto* element = snd_mixer_first_elem(m_mixer.get()); element; element = snd_mixer_elem_next(element)) {
        if (!snd_mixer_selem_is_active(element))
            continue;
        if (snd_mixer_selem_has_capture_volume(element)) {
            if (!anyCapture)
                anyCapture = element;
            if (!m_microphone && NameHas(element, "Mic"))
                m_microphone.emplace(element, AlsaMixerControl::Direction::Capture);
        }
        // The monitor is the microphone's own playback volume (sidetone), never the headphone volume.
        if (!m_monitor && snd_mixer_selem_has_playback_volume(element)
            && (NameHas(element, "Mic") || NameHas(element, "Sidetone")))
            m_monitor.emplace(element, AlsaMixerControl::Direction::Playback);
    }
    if (!m_microphone && anyCapture)
        m_microphone.emplace(anyCapture, AlsaMixerControl::Direction::Capture);
}

MixerControl* AlsaMixer::Microphone()
{
    return m_microphone ? &*m_microphone : nullptr;
}

MixerControl* AlsaMixer::Monitor()
{
    return m_monitor ? &*m_monitor : nullptr;
}

void AlsaMixer::Refresh()
{
    snd_mixer_handle_events(m_mixer.get());
}
