#include "profiles/BasicProfiledata.h"

#include "profiles/JsonAccess.h"
#include "profiles/JsonFile.h"

namespace {

std::vector<KeyEntry> KeysOf(const Json::Value& entry)
{
    std::vector<KeyEntry> keys;
    const Json::Value& list = JsonMember(entry, "KeyList");
    for (Json::ArrayIndex i = 0; i < JsonSize(list); ++i) {
        const Json::Value& key = list[i];
        const auto current = static_cast<uint32_t>(JsonInt(JsonMember(key, "Assignment")));
        const auto factory = static_cast<uint32_t>(JsonInt(JsonMember(key, "DefaultAssignment")));
        KeyEntry e{};
        e[0] = e[6] = static_cast<uint8_t>(i & 0xFF);
        e[1] = e[7] = static_cast<uint8_t>((i >> 8) & 0xFF);
        e[2] = static_cast<uint8_t>(current >> 16);
        e[3] = static_cast<uint8_t>(current >> 8);
        e[4] = static_cast<uint8_t>(current);
        e[8] = static_cast<uint8_t>(factory >> 16);
        e[9] = static_cast<uint8_t>(factory >> 8);
        e[10] = static_cast<uint8_t>(factory);
        keys.push_back(e);
    }
    return keys;
}

void StoreKeys(Json::Value& entry, const std::vector<KeyEntry>& keys)
{
    Json::Value& list = JsonSlot(entry, "KeyList");
    for (Json::ArrayIndex i = 0; i < keys.size(); ++i)
        JsonSlot(JsonSlot(list, i), "Assignment") = PackedAssignment(keys[i]);
}

} // namespace

void CBasicProfiledata::Save() { WriteDeviceEntry(m_entry, m_profileFile); }

void CBasicProfiledata::WriteDeviceEntry(const Json::Value& value, const std::filesystem::path& path)
{
    if (path.empty())
        return;
    Json::Value file = ReadJsonFile(path);
    JsonSlot(JsonSlot(file, "Device"), DeviceSlot()) = value;
    StoreJsonFile(path, file);
}

void CBasicProfiledata::SaveScratchTo(const std::filesystem::path& path) { WriteDeviceEntry(m_scratch, path); }

void CBasicProfiledata::WriteValueToFile(const Json::Value& value, const std::filesystem::path& path)
{
    if (!path.empty())
        StoreJsonFile(path, value);
}

void CBasicProfiledata::SetProfileFile(const std::filesystem::path& path)
{
    if (!path.empty())
        m_profileFile = path;
}

void CBasicProfiledata::SetDefaultFile(const std::filesystem::path& path)
{
    if (!path.empty())
        m_defaultFile = path;
}

Json::ArrayIndex CBasicProfiledata::DeviceSlot() const
{
    return m_deviceIndex < 0 ? 0 : static_cast<Json::ArrayIndex>(m_deviceIndex);
}

const Json::Value& CBasicProfiledata::EntryMember(const char* key) const { return JsonMember(m_entry, key); }

Json::Value& CBasicProfiledata::EntrySlot(const char* key) { return JsonSlot(m_entry, key); }

Json::Value CBasicProfiledata::LoadEntry(const std::filesystem::path& path)
{
    Json::Value file = ReadJsonFile(path);
    Json::Value entry = JsonAt(JsonMember(file, "Device"), DeviceSlot());
    if (!entry.isObject()) {
        entry = JsonAt(JsonMember(ReadJsonFile(m_defaultFile), "Device"), DeviceSlot());
        if (!entry.isObject())
            entry = Json::Value();
        JsonSlot(JsonSlot(file, "Device"), DeviceSlot()) = entry;
        if (!path.empty())
            StoreJsonFile(path, file);
    }
    return entry;
}

Json::Value CBasicProfiledata::LoadDeviceEntry(const std::filesystem::path& path)
{
    m_entry = LoadEntry(path);
    return m_entry;
}

Json::Value CBasicProfiledata::LoadScratchEntry(const std::filesystem::path& path)
{
    m_scratch = LoadEntry(path);
    return m_scratch;
}

std::vector<KeyEntry> CBasicProfiledata::ReadKeyList()
{
    m_keys = KeysOf(m_entry);
    return m_keys;
}

void CBasicProfiledata::WriteKeyList(const std::vector<KeyEntry>& keys)
{
    m_keys = keys;
    StoreKeys(m_entry, keys);
}

std::vector<KeyEntry> CBasicProfiledata::ReadScratchKeyList()
{
    m_scratchKeys = KeysOf(m_scratch);
    return m_scratchKeys;
}

void CBasicProfiledata::WriteScratchKeyList(const std::vector<KeyEntry>& keys)
{
    m_scratchKeys = keys;
    StoreKeys(m_scratch, keys);
}

LightInfoRecord CBasicProfiledata::ReadLightInfo()
{
    const Json::Value& info = EntryMember("LightInfo");
    if (!info.isObject()) {
        m_lightInfo = m_fallbackLightInfo;
        return m_lightInfo;
    }
    LightInfoRecord r;
    r.selectItem = JsonMemberField<uint8_t>(info, "SelectItem");
    r.light = JsonMemberField<uint8_t>(info, "Light");
    r.speed = JsonMemberField<uint8_t>(info, "Speed");
    r.fx = JsonMemberField<uint8_t>(info, "Fx");
    r.multiColor = JsonMemberFlag(info, "MultiColor");
    r.red = JsonMemberField<uint8_t>(info, "Red");
    r.green = JsonMemberField<uint8_t>(info, "Green");
    r.blue = JsonMemberField<uint8_t>(info, "Blue");
    r.clColor = JsonMemberField<uint8_t>(info, "CLcolor");
    r.zzccLedMode = JsonMemberField<uint8_t>(info, "ZZCCLedMode");
    r.customGroup = JsonMemberField<uint8_t>(info, "CustomGroup");
    r.oldLedMode = JsonMemberField<uint8_t>(info, "OldLedmode");
    m_lightInfo = r;
    return r;
}

void CBasicProfiledata::WriteLightInfo(const LightInfoRecord& r)
{
    m_lightInfo = r;
    Json::Value info(Json::objectValue);
    info["SelectItem"] = r.selectItem;
    info["Light"] = r.light;
    info["Speed"] = r.speed;
    info["Fx"] = r.fx;
    info["MultiColor"] = r.multiColor ? 1 : 0;
    info["Red"] = r.red;
    info["Green"] = r.green;
    info["Blue"] = r.blue;
    info["CLcolor"] = r.clColor;
    info["ZZCCLedMode"] = r.zzccLedMode;
    info["CustomGroup"] = r.customGroup;
    info["OldLedmode"] = r.oldLedMode;
    EntrySlot("LightInfo") = info;
}

std::vector<LightInfoRecord> CBasicProfiledata::ReadLightList()
{
    m_lightList.clear();
    const Json::Value& list = EntryMember("LightList");
    for (Json::ArrayIndex i = 0; i < JsonSize(list); ++i) {
        const Json::Value& e = list[i];
        LightInfoRecord r;
        if (e.isObject()) {
            r.selectItem = JsonMemberField<uint8_t>(e, "LEDREGMode");
            r.light = JsonMemberField<uint8_t>(e, "LEDBrightness");
            r.speed = JsonMemberField<uint8_t>(e, "LEDSpeed");
            r.fx = JsonMemberFlag(e, "LEDDirection");
            r.multiColor = JsonMemberFlag(e, "LEDMultiColor");
            r.red = JsonMemberField<uint8_t>(e, "red");
            r.green = JsonMemberField<uint8_t>(e, "green");
            r.blue = JsonMemberField<uint8_t>(e, "blue");
            r.present = 1;
        }
        m_lightList.push_back(r);
    }
    return m_lightList;
}

Json::Value CBasicProfiledata::LoadLightConfig(const std::filesystem::path& path)
{
    m_lightConfig = ReadJsonFile(path);
    return m_lightConfig;
}

std::vector<CustomEffectStep> CBasicProfiledata::ReadCustomEffect()
{
    m_customSteps.clear();
    const Json::Value& row = JsonAt(JsonMember(m_lightConfig, "LightInfo"), DeviceSlot());
    const std::string guid = JsonText(JsonMember(JsonAt(row, m_lightInfo.selectItem), "Guid"));
    if (!guid.empty()) {
        const Json::Value steps = JsonMember(ReadJsonFile(guid + ".light"), "LEDEffectList");
        for (Json::ArrayIndex i = 0; i < JsonSize(steps); ++i) {
            const Json::Value& e = steps[i];
            CustomEffectStep s;
            s.mode = JsonMemberField<uint8_t>(e, "LEDREGMode");
            s.brightness = JsonMemberField<uint8_t>(e, "LEDBrightness");
            s.speed = JsonMemberField<uint8_t>(e, "LEDSpeed");
            s.direction = JsonMemberField<uint8_t>(e, "LEDDirection");
            s.multiColor = JsonMemberField<uint8_t>(e, "LEDMultiColor");
            s.red = JsonMemberField<uint8_t>(e, "red");
            s.green = JsonMemberField<uint8_t>(e, "green");
            s.blue = JsonMemberField<uint8_t>(e, "blue");
            s.time = JsonMemberField<int32_t>(e, "Time");
            s.cycles = JsonMemberField<int32_t>(e, "Cyle");
            m_customSteps.push_back(s);
        }
    }
    return m_customSteps;
}
