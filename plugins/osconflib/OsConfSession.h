#pragma once

#include "HeadsetMixer.h"
#include "platform/osConfLib.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// The library's state between ConfLibInit and ConfLibUnInit: the endpoint list
// of the headset card and the property calls on it. Not thread-safe itself.
class OsConfSession {
public:
    // Results of the calls besides 0 (success).
    static constexpr std::int32_t kBadArgument = -1;
    static constexpr std::int32_t kUnsupported = -2;
    static constexpr std::int32_t kMixerFailed = -3;

    // Answer of "GetSupportFeature": seven fields, no voice changer.
    static constexpr const char* kSupportFeature = "0,0,0,0,0,0,0";

    // Opens the headset card's mixer; nothing when no headset card is present.
    using MixerOpener = std::function<std::unique_ptr<HeadsetMixer>()>;

    explicit OsConfSession(MixerOpener opener);

    std::int32_t CreateDeviceList();
    std::int32_t DeviceCount(std::int32_t flow, std::int32_t* count) const;
    std::int32_t DeviceById(std::int32_t flow, std::int32_t index, OsConfEndpoint* record) const;
    std::int32_t PropertyControl(const OsConfEndpoint& endpoint, const char* property, void* value,
                                 const std::int32_t* channel, std::int32_t set);

private:
    const std::vector<OsConfEndpoint>* List(std::int32_t flow) const;
    bool IsEndpoint(const OsConfEndpoint& endpoint, const std::vector<OsConfEndpoint>& list) const;

    MixerOpener m_opener;
    std::unique_ptr<HeadsetMixer> m_mixer;
    std::vector<OsConfEndpoint> m_playback;
    std::vector<OsConfEndpoint> m_recording;
};
