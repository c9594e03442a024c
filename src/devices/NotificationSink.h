#pragma once

#include <cstdint>

// What the codes of a device's notification readers turn into. Called on the
// reader's own thread.
class NotificationSink {
public:
    virtual ~NotificationSink() = default;
    // Every code a report carried, before it is acted on.
    virtual void CodeReceived(uint16_t /*code*/) {}
    // Arm the refresh timer (1002) of the device's selector schedule.
    virtual void ArmRefresh(int ms) = 0;
    // A key press for the reactive light effect.
    virtual void ReactiveTrigger() = 0;
    // The device code handler of the model.
    virtual void DeviceCode(uint16_t code) = 0;
};
