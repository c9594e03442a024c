#include "sim/SimProductKind.h"

std::string_view SimKindName(SimProductKind kind)
{
    switch (kind) {
    case SimProductKind::Mouse: return "mouse";
    case SimProductKind::MouseReceiver: return "mouse-receiver";
    case SimProductKind::Keyboard: return "keyboard";
    case SimProductKind::KeyboardReceiver: return "keyboard-receiver";
    case SimProductKind::MousePad: return "mousepad";
    case SimProductKind::Headset: return "headset";
    }
    return "unknown";
}

std::optional<SimProductKind> SimKindFromName(std::string_view name)
{
    for (SimProductKind kind : kAllSimProductKinds) {
        if (SimKindName(kind) == name)
            return kind;
    }
    return std::nullopt;
}

SimProductIdentity SimKindIdentity(SimProductKind kind)
{
    switch (kind) {
    case SimProductKind::Mouse: return {0x320F, 0x221C, 0x0105, 1};
    case SimProductKind::MouseReceiver: return {0x320F, 0x222F, 0x0102, 1};
    case SimProductKind::Keyboard: return {0x320F, 0x0000, 0x0107, 1};
    case SimProductKind::KeyboardReceiver: return {0x320F, 0x0000, 0x0103, 1};
    case SimProductKind::MousePad: return {0x320F, 0x1004, 0x0101, 1};
    case SimProductKind::Headset: return {0x0C76, 0x1630, 0x0100, 3};
    }
    return {};
}

SimMemoryFamily SimKindFamily(SimProductKind kind)
{
    switch (kind) {
    case SimProductKind::Mouse:
    case SimProductKind::MouseReceiver: return SimMemoryFamily::Mouse;
    case SimProductKind::Keyboard:
    case SimProductKind::KeyboardReceiver: return SimMemoryFamily::Keyboard;
    case SimProductKind::MousePad: return SimMemoryFamily::MousePad;
    case SimProductKind::Headset: return SimMemoryFamily::Headset;
    }
    return SimMemoryFamily::Mouse;
}

bool SimKindIsReceiver(SimProductKind kind)
{
    return kind == SimProductKind::MouseReceiver || kind == SimProductKind::KeyboardReceiver;
}

std::string_view SimFamilyName(SimMemoryFamily family)
{
    switch (family) {
    case SimMemoryFamily::Mouse: return "mouse";
    case SimMemoryFamily::Keyboard: return "keyboard";
    case SimMemoryFamily::MousePad: return "mousepad";
    case SimMemoryFamily::Headset: return "headset";
    }
    return "unknown";
}
