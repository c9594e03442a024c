#include "profiles/MacroEvent.h"

#include "profiles/JsonAccess.h"

uint32_t ParseDelayText(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    uint64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + static_cast<uint64_t>(text[i] - '0');
        if (value > UINT32_MAX)
            return UINT32_MAX;
    }
    return static_cast<uint32_t>(value);
}

std::string DelayText(const Json::Value& delay)
{
    if (delay.isString())
        return delay.asString();
    if (delay.isIntegral() && !delay.isBool())
        return std::to_string(JsonInt(delay));
    return {};
}

MacroEvent MacroEventFromJson(const Json::Value& event)
{
    MacroEvent e;
    e.type = JsonInt(JsonMember(event, "Type"));
    e.action = JsonText(JsonMember(event, "Action"));
    e.button = JsonInt(JsonMember(event, "Button"));
    e.delay = ParseDelayText(DelayText(JsonMember(event, "Delay")));
    return e;
}

std::array<uint8_t, 4> PackMacroEvent(const MacroEvent& event)
{
    const auto type = static_cast<uint8_t>(event.type);
    return {static_cast<uint8_t>(event.delay & 0xFF), static_cast<uint8_t>((event.delay >> 8) & 0xFF),
        static_cast<uint8_t>(event.action == "down" ? (type | 0x80) : type), static_cast<uint8_t>(event.button)};
}

std::array<uint8_t, 4> PackMacroEvent(const Json::Value& event) { return PackMacroEvent(MacroEventFromJson(event)); }
