#pragma once

#include "devices/DeviceModelFactory.h"

// The models of the four kinds, with their device code handlers.
class DefaultDeviceModelFactory {
public:
    static DeviceModel Create(DeviceKind kind, HidBackend& backend);
};
