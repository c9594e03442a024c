#include "profiles/Hs6533Profiledata.h"

#include "profiles/JsonAccess.h"
#include "profiles/TextConvert.h"

namespace {

// User curves are limited to 20; an index far beyond comes from a damaged file.
constexpr int32_t kMaxCurveIndex = 255;

} // namespace

HeadsetSystemRecord CHs6533Profiledata::ReadHeadsetSystem()
{
    const Json::Value& s = EntryMember("SystemSetStages");
    HeadsetSystemRecord r;
    r.magicEnable = JsonField<int32_t>(JsonMember(s, "MagicEnable"));
    r.magicType = JsonField<int32_t>(JsonMember(s, "MagicType"));
    r.eqType = JsonField<int32_t>(JsonMember(s, "EqType"));
    r.customEqSelectIndex = JsonField<int32_t>(JsonMember(s, "CustomEqSeletIndex"));
    r.micInSelect = JsonField<int32_t>(JsonMember(s, "MicInSelect"));
    r.micInValue = JsonField<int32_t>(JsonMember(s, "MicInValue"));
    r.micMonitorSelect = JsonField<int32_t>(JsonMember(s, "MicMoniterSelect"));
    r.micMonitorValue = JsonField<int32_t>(JsonMember(s, "MicMoniterValue"));
    m_system = r;
    return r;
}

void CHs6533Profiledata::WriteHeadsetSystem(const HeadsetSystemRecord& r)
{
    m_system = r;
    Json::Value& s = EntrySlot("SystemSetStages");
    JsonSlot(s, "MagicEnable") = r.magicEnable;
    JsonSlot(s, "MagicType") = r.magicType;
    JsonSlot(s, "EqType") = r.eqType;
    JsonSlot(s, "CustomEqSeletIndex") = r.customEqSelectIndex;
    JsonSlot(s, "MicInSelect") = r.micInSelect;
    JsonSlot(s, "MicInValue") = r.micInValue;
    JsonSlot(s, "MicMoniterSelect") = r.micMonitorSelect;
    JsonSlot(s, "MicMoniterValue") = r.micMonitorValue;
}

int32_t CHs6533Profiledata::EqSlot(int32_t eqType)
{
    if (eqType == kCustomEqType)
        return -1;
    return eqType >= 1 && eqType <= 12 ? eqType : 1;
}

std::vector<int32_t> CHs6533Profiledata::ReadBands(const char* key, int32_t slot)
{
    std::vector<int32_t> bands;
    if (slot < 0 || slot > kMaxCurveIndex)
        return bands;
    const auto at = static_cast<Json::ArrayIndex>(slot);
    const Json::Value& curve = JsonAt(EntryMember(key), at);
    for (Json::ArrayIndex i = 0; i < kBandCount; ++i) {
        if (curve.isArray()) {
            bands.push_back(JsonField<int32_t>(JsonMember(JsonAt(curve, i), "value")));
        } else {
            bands.push_back(0);
            JsonSlot(JsonSlot(JsonSlot(EntrySlot(key), at), i), "value") = 0;
        }
    }
    return bands;
}

void CHs6533Profiledata::WriteBands(const char* key, int32_t slot, const std::vector<int32_t>& bands)
{
    if (slot < 0 || slot > kMaxCurveIndex)
        return;
    Json::Value& curve = JsonSlot(EntrySlot(key), static_cast<Json::ArrayIndex>(slot));
    for (Json::ArrayIndex i = 0; i < kBandCount && i < bands.size(); ++i)
        JsonSlot(JsonSlot(curve, i), "value") = bands[i];
}

std::vector<int32_t> CHs6533Profiledata::ReadEqBands(int32_t eqType)
{
    return ReadBands("EQHzValueInfo", EqSlot(eqType));
}

void CHs6533Profiledata::WriteEqBands(int32_t eqType, const std::vector<int32_t>& bands)
{
    WriteBands("EQHzValueInfo", EqSlot(eqType), bands);
}

std::vector<std::wstring> CHs6533Profiledata::ReadCustomEqNames()
{
    std::vector<std::wstring> names;
    const Json::Value& list = EntryMember("CustomEQNameInfo");
    for (Json::ArrayIndex i = 0; i < JsonSize(list); ++i)
        names.push_back(Utf8ToWide(JsonText(JsonMember(list[i], "Name"))));
    return names;
}

void CHs6533Profiledata::WriteCustomEqNames(const std::vector<std::wstring>& names)
{
    Json::Value list;
    for (Json::ArrayIndex i = 0; i < names.size(); ++i)
        JsonSlot(JsonSlot(list, i), "Name") = WideToUtf8(names[i]);
    EntrySlot("CustomEQNameInfo") = list;
}

std::vector<int32_t> CHs6533Profiledata::ReadCustomEqBands(int32_t index)
{
    return ReadBands("CustomEQHzValueInfo", index);
}

void CHs6533Profiledata::WriteCustomEqBands(int32_t index, const std::vector<int32_t>& bands)
{
    WriteBands("CustomEQHzValueInfo", index, bands);
}
