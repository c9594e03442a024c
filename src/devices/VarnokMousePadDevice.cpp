#include "devices/VarnokMousePadDevice.h"

#include "devices/PadLightingPreview.h"

CVarnokMousePadDevice::CVarnokMousePadDevice(HidBackend& backend)
    : CVarnokPadStyleDevice(backend, DeviceKind::MousePad, "MousePad")
{
    RebuildPreview();
}

CVarnokMousePadDevice::~CVarnokMousePadDevice() { StopPreviewThread(); }

std::unique_ptr<LightingPreview> CVarnokMousePadDevice::MakePreview(LedColourList& leds, LightingPreview::Clock clock)
{
    return std::make_unique<PadLightingPreview>(leds, std::move(clock));
}
