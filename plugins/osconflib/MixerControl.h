#pragma once

#include <optional>

// One volume control of the headset card: a volume with a dB scale and a
// mute switch. Channel -1 means all channels for a set and the first channel
// for a get; 0 and up name one channel.
class MixerControl {
public:
    struct DbRange {
        double min = 0;
        double max = 0;
        double step = 0;
    };

    virtual ~MixerControl() = default;

    virtual std::optional<DbRange> Range() = 0;
    virtual std::optional<double> GetDb(int channel) = 0;
    virtual bool SetDb(int channel, double db) = 0;
    // Position between the lowest (0) and the highest (1) volume.
    virtual std::optional<float> GetScalar(int channel) = 0;
    virtual bool SetScalar(int channel, float scalar) = 0;
    virtual std::optional<bool> GetMuted() = 0;
    virtual bool SetMuted(bool muted) = 0;
};
