#include "profiles/KeyboardProfiledata.h"

#include "profiles/JsonAccess.h"

#include <algorithm>

namespace {

Json::Value ColorObject(const KeyColor& c)
{
    Json::Value v(Json::objectValue);
    v["Red"] = c.red;
    v["Green"] = c.green;
    v["Blue"] = c.blue;
    v["Alpha"] = c.alpha;
    return v;
}

// Groups are numbered by a byte of the lighting record and a keyboard has at
// most 512 LEDs; anything beyond comes from a damaged file and is not grown into
// the document.
constexpr int32_t kMaxGroup = 255;
constexpr int32_t kMaxColors = 512;

} // namespace

KeyboardSystemRecord CKeyboardProfiledata::ReadKeyboardSystem()
{
    const Json::Value& s = EntryMember("SystemStages");
    KeyboardSystemRecord r;
    r.repeat = JsonMemberField<uint16_t>(s, "Repeat");
    r.repeatDelay = JsonMemberField<uint16_t>(s, "RepeatDelay");
    r.key6Flag = JsonMemberField<uint16_t>(s, "Key6Flag");
    r.pollingRate = JsonMemberField<uint16_t>(s, "PollingRate");
    r.wFlag = JsonMemberField<uint16_t>(s, "WFlag");
    r.winFlag = JsonMemberField<uint16_t>(s, "WinFlag");
    m_system = r;
    return r;
}

void CKeyboardProfiledata::WriteKeyboardSystem(const KeyboardSystemRecord& r)
{
    m_system = r;
    Json::Value& s = EntrySlot("SystemStages");
    JsonSlot(s, "Repeat") = r.repeat;
    JsonSlot(s, "RepeatDelay") = r.repeatDelay;
    JsonSlot(s, "Key6Flag") = r.key6Flag;
    JsonSlot(s, "PollingRate") = r.pollingRate;
    JsonSlot(s, "WFlag") = r.wFlag;
    JsonSlot(s, "WinFlag") = r.winFlag;
}

AudioLightRecord CKeyboardProfiledata::ReadAudioLighting()
{
    const Json::Value& a = EntryMember("AudioLightInfo");
    AudioLightRecord r;
    r.audioMode = JsonMemberField<uint8_t>(a, "AudioMode");
    r.bkRed = JsonMemberField<uint8_t>(a, "BkColorR");
    r.bkGreen = JsonMemberField<uint8_t>(a, "BkColorG");
    r.bkBlue = JsonMemberField<uint8_t>(a, "BkColorB");
    r.fgRed = JsonMemberField<uint8_t>(a, "FgColorR");
    r.fgGreen = JsonMemberField<uint8_t>(a, "FgColorG");
    r.fgBlue = JsonMemberField<uint8_t>(a, "FgColorB");
    r.sevenColorFlag = JsonMemberFlag(a, "7ColorFlags");
    r.colorTypeFlag = JsonMemberFlag(a, "ColorTypeFlags");
    m_audio = r;
    return r;
}

void CKeyboardProfiledata::WriteAudioLighting(const AudioLightRecord& r)
{
    m_audio = r;
    Json::Value a(Json::objectValue);
    a["AudioMode"] = r.audioMode;
    a["BkColorR"] = r.bkRed;
    a["BkColorG"] = r.bkGreen;
    a["BkColorB"] = r.bkBlue;
    a["FgColorR"] = r.fgRed;
    a["FgColorG"] = r.fgGreen;
    a["FgColorB"] = r.fgBlue;
    a["7ColorFlags"] = r.sevenColorFlag;
    a["ColorTypeFlags"] = r.colorTypeFlag;
    EntrySlot("AudioLightInfo") = a;
}

std::vector<KeyColor> CKeyboardProfiledata::ReadCustomLightColors(int32_t group, int32_t count)
{
    m_colors.clear();
    if (group < 0 || group > kMaxGroup) {
        m_colors.assign(static_cast<size_t>(std::clamp(count, 0, kMaxColors)), KeyColor{});
        return m_colors;
    }
    count = std::min(count, kMaxColors);
    Json::Value& groups = JsonSlot(EntrySlot("CustomLightMode"), "LightColorInfo");
    Json::Value& row = JsonSlot(groups, static_cast<Json::ArrayIndex>(group));
    for (int32_t i = 0; i < count; ++i) {
        const auto at = static_cast<Json::ArrayIndex>(i);
        const Json::Value& e = JsonAt(row, at);
        if (!e.isObject()) {
            JsonSlot(row, at) = ColorObject({});
            m_colors.push_back({});
            continue;
        }
        m_colors.push_back({JsonMemberField<uint8_t>(e, "Red"), JsonMemberField<uint8_t>(e, "Green"),
            JsonMemberField<uint8_t>(e, "Blue"), JsonMemberField<uint8_t>(e, "Alpha")});
    }
    return m_colors;
}

void CKeyboardProfiledata::WriteCustomLightColors(const std::vector<KeyColor>& colors, int32_t group)
{
    m_colors = colors;
    if (group < 0 || group > kMaxGroup)
        return;
    Json::Value& groups = JsonSlot(EntrySlot("CustomLightMode"), "LightColorInfo");
    Json::Value& row = JsonSlot(groups, static_cast<Json::ArrayIndex>(group));
    for (Json::ArrayIndex i = 0; i < colors.size(); ++i)
        JsonSlot(row, i) = ColorObject(colors[i]);
}

int32_t CKeyboardProfiledata::ReadCustomLightGroup()
{
    m_group = JsonField<int32_t>(JsonMember(EntryMember("CustomLightMode"), "CustomLightModeGroupIndex"));
    return m_group;
}

void CKeyboardProfiledata::WriteCustomLightGroup(int32_t group)
{
    m_group = group;
    JsonSlot(EntrySlot("CustomLightMode"), "CustomLightModeGroupIndex") = group;
}
