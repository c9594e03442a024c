#include "devices/LightValueList.h"

#include "profiles/JsonFile.h"

void LightValueList::Load(const std::filesystem::path& defaultLightFile, int modelIndex)
{
    m_codes.clear();
    const Json::Value document = ReadJsonFile(defaultLightFile);
    if (!document.isObject() || modelIndex < 0)
        return;
    const Json::Value& rows = document["DefaultLightName"];
    if (!rows.isArray() || static_cast<Json::ArrayIndex>(modelIndex) >= rows.size())
        return;
    const Json::Value& row = rows[static_cast<Json::ArrayIndex>(modelIndex)];
    if (!row.isArray())
        return;
    for (const auto& entry : row) {
        const Json::Value& value = entry.isObject() ? entry["value"] : Json::Value();
        m_codes.push_back(value.isInt() ? value.asInt() : 0);
    }
}

uint8_t LightValueList::CodeOf(unsigned index) const
{
    if (index < m_codes.size())
        return static_cast<uint8_t>(m_codes[index]);
    return static_cast<uint8_t>(index);
}

uint8_t LightValueList::IndexOf(uint8_t code) const
{
    for (size_t i = 0; i < m_codes.size(); ++i)
        if (m_codes[i] == code)
            return static_cast<uint8_t>(i);
    return code;
}
