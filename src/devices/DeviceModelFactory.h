#pragma once

#include "hid/DeviceKind.h"

#include <functional>
#include <memory>

class CVarnokUSBDevice;
class HidBackend;

// A device model with the handler its readers hand device codes to.
struct DeviceModel {
    std::unique_ptr<CVarnokUSBDevice> device;
    std::function<void(int code)> onCode;
};

// Makes the model of a device kind (Keyboard, Mouse, MousePad, Headset).
using DeviceModelFactory = std::function<DeviceModel(DeviceKind kind, HidBackend& backend)>;
