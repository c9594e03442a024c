#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// The products the emulator can show. A receiver is the same physical product
// as its cable variant, reached over the 2.4G link.
enum class SimProductKind { Mouse, MouseReceiver, Keyboard, KeyboardReceiver, MousePad, Headset };

constexpr std::array<SimProductKind, 6> kAllSimProductKinds = {
    SimProductKind::Mouse,           SimProductKind::MouseReceiver, SimProductKind::Keyboard,
    SimProductKind::KeyboardReceiver, SimProductKind::MousePad,     SimProductKind::Headset,
};

// The physical product whose memory a kind talks to; a receiver shares its
// cable product's memory.
enum class SimMemoryFamily { Mouse, Keyboard, MousePad, Headset };

constexpr std::array<SimMemoryFamily, 4> kAllSimMemoryFamilies = {
    SimMemoryFamily::Mouse, SimMemoryFamily::Keyboard, SimMemoryFamily::MousePad, SimMemoryFamily::Headset};

struct SimProductIdentity {
    uint16_t vendorId;
    uint16_t productId;
    uint16_t version;
    uint16_t interfaceNumber;
};

// "mouse", "mouse-receiver", "keyboard", "keyboard-receiver", "mousepad", "headset".
std::string_view SimKindName(SimProductKind kind);
std::optional<SimProductKind> SimKindFromName(std::string_view name);

SimProductIdentity SimKindIdentity(SimProductKind kind);
SimMemoryFamily SimKindFamily(SimProductKind kind);
bool SimKindIsReceiver(SimProductKind kind);

// "mouse", "keyboard", "mousepad", "headset": the key of a memory in the state file.
std::string_view SimFamilyName(SimMemoryFamily family);
