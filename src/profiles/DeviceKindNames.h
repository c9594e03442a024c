#pragma once

#include "hid/DeviceKind.h"

#include <array>
#include <string_view>

// The file names that belong to each device kind.
struct DeviceKindNames {
    DeviceKind kind;
    std::string_view folderName;    // folder in the application data root; factory file base name
    std::string_view lightBaseName; // light configuration file base name
    std::string_view macroListFile; // macro list file in the kind's folder
};

inline constexpr std::array<DeviceKindNames, 4> kDeviceKindNames = {{
    {DeviceKind::Mouse, "mouse", "mirva_light", "macro.config"},
    {DeviceKind::Keyboard, "keyboard", "mirva_light", "macro.config"},
    {DeviceKind::MousePad, "MousePad", "mirva_light", "mirva_macro.config"},
    {DeviceKind::Headset, "HD", "mirva_light", "mirva_macro.config"},
}};

// The row of a device kind; a receiver kind uses the row of its product.
constexpr const DeviceKindNames& NamesOf(DeviceKind kind)
{
    if (kind == DeviceKind::MouseReceiver)
        kind = DeviceKind::Mouse;
    if (kind == DeviceKind::KeyboardReceiver)
        kind = DeviceKind::Keyboard;
    for (const auto& row : kDeviceKindNames) {
        if (row.kind == kind)
            return row;
    }
    return kDeviceKindNames[0];
}
