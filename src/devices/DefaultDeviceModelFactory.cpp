#include "devices/DefaultDeviceModelFactory.h"

#include "devices/VarnokHS6533Device.h"
#include "devices/VarnokMouseDevice.h"
#include "devices/VarnokMousePadDevice.h"
#include "devices/VarnokKeyboardDevice.h"

namespace {

template <typename Model>
DeviceModel WithCodeHandler(HidBackend& backend)
{
    auto model = std::make_unique<Model>(backend);
    Model* raw = model.get();
    return DeviceModel{std::move(model), [raw](int code) { raw->OnDeviceCode(code); }};
}

} // namespace

DeviceModel DefaultDeviceModelFactory::Create(DeviceKind kind, HidBackend& backend)
{
    switch (kind) {
    case DeviceKind::Mouse:
    case DeviceKind::MouseReceiver: return WithCodeHandler<CVarnokMouseDevice>(backend);
    case DeviceKind::Keyboard:
    case DeviceKind::KeyboardReceiver:
        return WithCodeHandler<CVarnokKeyboardDevice>(backend);
    // The pad's reader acts on no device code; the headset has no reader.
    case DeviceKind::MousePad: return DeviceModel{std::make_unique<CVarnokMousePadDevice>(backend), {}};
    case DeviceKind::Headset: return DeviceModel{std::make_unique<CVarnokHS6533Device>(backend), {}};
    default: return {};
    }
}
