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

uint8_t Byte(const Json::Value& object, const char* key) { return JsonField<uint8_t>(JsonMember(object, key)); }
uint8_t Flag(const Json::Value& object, const char* key) { return JsonFlag(JsonMember(object, key)) ? 1 : 0; }

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
    r.selectItem = Byte(info, "SelectItem");
    r.light = Byte(info, "Light");
    r.speed = Byte(info, "Speed");
    r.fx = Byte(info, "Fx");
    r.multiColor = Flag(info, "MultiColor");
    r.red = Byte(info, "Red");
    r.green = Byte(info, "Green");
    r.blue = Byte(info, "Blue");
    r.clColor = Byte(info, "CLcolor");
    r.zzccLedMode = Byte(info, "ZZCCLedMode");
    r.customGroup = Byte(info, "CustomGroup");
    r.oldLedMode = Byte(info, "OldLedmode");
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
            r.selectItem = Byte(e, "LEDREGMode");
            r.light = Byte(e, "LEDBrightness");
            r.speed = Byte(e, "LEDSpeed");
            r.fx = Flag(e, "LEDDirection");
            r.multiColor = Flag(e, "LEDMultiColor");
            r.red = Byte(e, "red");
            r.green = Byte(e, "green");
            r.blue = Byte(e, "blue");
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
            s.mode = Byte(e, "LEDREGMode");
            s.brightness = Byte(e, "LEDBrightness");
            s.speed = Byte(e, "LEDSpeed");
            s.direction = Byte(e, "LEDDirection");
            s.multiColor = Byte(e, "LEDMultiColor");
            s.red = Byte(e, "red");
            s.green = Byte(e, "green");
            s.blue = Byte(e, "blue");
            s.time = JsonField<int32_t>(JsonMember(e, "Time"));
            s.cycles = JsonField<int32_t>(JsonMember(e, "Cyle"));
            m_customSteps.push_back(s);
        }
    }
    return m_customSteps;
}
