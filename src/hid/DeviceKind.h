#pragma once

#include <cstdint>

// What a supported HID interface belongs to. Device objects carry Keyboard,
// Mouse, MousePad or Headset; the receiver kinds name the 2.4G link.
enum class DeviceKind : uint16_t {
    None = 0,
    Keyboard = 1,
    Mouse = 2,
    MousePad = 3,
    MouseReceiver = 6,
    Headset = 7,
    KeyboardReceiver = 9,
};
