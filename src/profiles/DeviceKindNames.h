#pragma once

#include "hid/DeviceKind.h"

#include <array>
#include <optional>
#include <string_view>

// The file names that belong to each device kind.
struct DeviceKindNames {
    DeviceKind kind;
    std::string_view commandName;   // the kind as the command line names it
    std::string_view folderName;    // folder in the application data root; factory file base name
    std::string_view lightBaseName; // light configuration file base name
    std::string_view macroListFile; // macro list file in the kind's folder
};

inline constexpr std::array<DeviceKindNames, 4> kDeviceKindNames = {{
    {DeviceKind::Mouse, "mouse", "mouse", "mirva_light", "macro.config"},
    {DeviceKind::Keyboard, "keyboard", "keyboard", "mirva_light", "macro.config"},
    {DeviceKind::MousePad, "mousepad", "MousePad", "mirva_light", "mirva_macro.config"},
    {DeviceKind::Headset, "headset", "HD", "mirva_light", "mirva_macro.config"},
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

constexpr std::optional<DeviceKind> KindByCommandName(std::string_view name)
{
    for (const auto& row : kDeviceKindNames) {
        if (row.commandName == name)
            return row.kind;
    }
    return std::nullopt;
}
