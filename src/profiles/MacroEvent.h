#pragma once

#include <json/value.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// One macro or recoil event: {"Type", "Action", "Button", "Delay"}.
struct MacroEvent {
    int64_t type = 0;
    std::string action; // "down" or "up"
    int64_t button = 0;
    uint32_t delay = 0; // milliseconds, before reduction to 16 bits
};

// The leading decimal digits of a text (leading blanks skipped); 0 when there
// are none. Values beyond 32 bits stop at 4294967295.
uint32_t ParseDelayText(std::string_view text);
// "Delay" as text: a string as it stands, an integer as its decimal text.
std::string DelayText(const Json::Value& delay);

MacroEvent MacroEventFromJson(const Json::Value& event);

// The four device bytes: delay low, delay high, type with bit 7 set for an
// exact "down", button.
std::array<uint8_t, 4> PackMacroEvent(const MacroEvent& event);
std::array<uint8_t, 4> PackMacroEvent(const Json::Value& event);
