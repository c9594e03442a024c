#pragma once

#include "hid/DeviceKind.h"

#include <cstdint>
#include <string>

// How one link's reader handles the codes: 0x0401 and 0x0402 ask for a
// re-read of the device, 0x0403 is a key press, codes above go to the
// device's code handler; lower codes are not acted on.
struct NotificationPolicy {
    enum class Action { Ignore, Refresh, Reactive, DeviceCode };

    static constexpr uint16_t kRefreshCode = 0x0401;
    static constexpr uint16_t kRefreshCodeB = 0x0402;
    static constexpr uint16_t kReactiveCode = 0x0403;

    int refreshMs = 50;            // for the codes that arm the refresh timer
    bool refreshOnB = true;        // 0x0402 arms it too
    Action onReactiveCode = Action::DeviceCode;
    bool codesAbove = true;        // codes above 0x0403 reach the code handler
    std::string exitLine = "MS 设备同步线程设定退出";

    // The policy of a link kind: mouse cable, mouse receiver, keyboard links, mouse pad.
    static NotificationPolicy ForLink(DeviceKind link);
    Action ActionFor(uint16_t code) const;
};
