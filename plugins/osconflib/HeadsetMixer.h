#pragma once

class MixerControl;

// The mixer of the headset card: the microphone's capture control and its
// monitor (the microphone mixed into the headphones). Either may be absent.
class HeadsetMixer {
public:
    virtual ~HeadsetMixer() = default;

    virtual MixerControl* Microphone() = 0;
    virtual MixerControl* Monitor() = 0;
    // Takes in changes made by other programs since the last call.
    virtual void Refresh() = 0;
};
