#pragma once

#include "profiles/BasicProfiledata.h"

// Keyboard sections: "SystemStages", "AudioLightInfo", "CustomLightMode".
class CKeyboardProfiledata : public CBasicProfiledata {
public:
    KeyboardSystemRecord ReadKeyboardSystem();
    void WriteKeyboardSystem(const KeyboardSystemRecord& record);

    AudioLightRecord ReadAudioLighting();
    void WriteAudioLighting(const AudioLightRecord& record);

    // Colours of one custom group; missing positions up to count are filled
    // with zero colours in the document as well.
    std::vector<KeyColor> ReadCustomLightColors(int32_t group, int32_t count);
    void WriteCustomLightColors(const std::vector<KeyColor>& colors, int32_t group);
    int32_t ReadCustomLightGroup();
    void WriteCustomLightGroup(int32_t group);

private:
    KeyboardSystemRecord m_system;
    AudioLightRecord m_audio;
    std::vector<KeyColor> m_colors;
    int32_t m_group = 0;
};
