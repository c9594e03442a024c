#include "profiles/MouseProfiledata.h"

#include "profiles/JsonAccess.h"
#include "profiles/TextConvert.h"

std::vector<DpiStage> CMouseProfiledata::ReadDpiStages()
{
    std::vector<DpiStage> read;
    const Json::Value& dpi = EntryMember("DPIStages");
    if (dpi.isObject()) {
        m_activeStage = JsonField<int32_t>(JsonMember(dpi, "StageActive"));
        const Json::Value& list = JsonMember(dpi, "StageDPIs");
        for (Json::ArrayIndex i = 0; i < JsonSize(list); ++i) {
            const Json::Value& e = list[i];
            DpiStage s;
            s.active = JsonField<uint8_t>(JsonMember(e, "StageActive"));
            s.xy = JsonField<uint8_t>(JsonMember(e, "StageXY"));
            s.dpiX = JsonField<uint16_t>(JsonMember(e, "StageDPIX"));
            s.dpiY = JsonField<uint16_t>(JsonMember(e, "StageDPIY"));
            s.red = JsonField<uint8_t>(JsonMember(e, "StageColorR"));
            s.green = JsonField<uint8_t>(JsonMember(e, "StageColorG"));
            s.blue = JsonField<uint8_t>(JsonMember(e, "StageColorB"));
            read.push_back(s);
        }
    }
    for (size_t i = 0; i < read.size(); ++i) {
        if (i < m_stages.size())
            m_stages[i] = read[i];
        else
            m_stages.push_back(read[i]);
    }
    return m_stages;
}

void CMouseProfiledata::WriteDpiStages(const std::vector<DpiStage>& stages)
{
    m_stages = stages;
    Json::Value& list = JsonSlot(EntrySlot("DPIStages"), "StageDPIs");
    for (Json::ArrayIndex i = 0; i < stages.size(); ++i) {
        Json::Value& e = JsonSlot(list, i);
        const DpiStage& s = stages[i];
        JsonSlot(e, "StageActive") = s.active;
        JsonSlot(e, "StageXY") = s.xy;
        JsonSlot(e, "StageDPIX") = s.dpiX;
        JsonSlot(e, "StageDPIY") = s.dpiY;
        JsonSlot(e, "StageColorR") = s.red;
        JsonSlot(e, "StageColorG") = s.green;
        JsonSlot(e, "StageColorB") = s.blue;
    }
}

void CMouseProfiledata::WriteActiveStage(int32_t stage)
{
    m_activeStage = stage;
    JsonSlot(EntrySlot("DPIStages"), "StageActive") = stage;
}

MouseSystemRecord CMouseProfiledata::ReadMouseSystem()
{
    const Json::Value& system = EntryMember("SystemStages");
    MouseSystemRecord r;
    if (system.isObject()) {
        r.doubleClickTime = JsonField<uint16_t>(JsonMember(system, "DoubleClickTime"));
        r.mouseSpeed = JsonField<uint16_t>(JsonMember(system, "MouseSpeed"));
        r.pointerPrecision = JsonField<uint16_t>(JsonMember(system, "PointerPrecision"));
        r.scrollPage = JsonField<uint16_t>(JsonMember(system, "ScorllPage"));
        r.wheelScrollLines = JsonField<uint16_t>(JsonMember(system, "WheelScorlllinse"));
        r.reportStage = JsonField<uint16_t>(JsonMember(EntryMember("ReportStages"), "StageActive"));
    }
    m_system = r;
    return r;
}

void CMouseProfiledata::WriteMouseSystem(const MouseSystemRecord& r)
{
    m_system = r;
    Json::Value& system = EntrySlot("SystemStages");
    JsonSlot(system, "DoubleClickTime") = r.doubleClickTime;
    JsonSlot(system, "MouseSpeed") = r.mouseSpeed;
    JsonSlot(system, "PointerPrecision") = r.pointerPrecision;
    JsonSlot(system, "ScorllPage") = r.scrollPage;
    JsonSlot(system, "WheelScorlllinse") = r.wheelScrollLines;
    JsonSlot(EntrySlot("ReportStages"), "StageActive") = r.reportStage;
}

std::vector<CorrectEntry> CMouseProfiledata::ReadCorrectInfo()
{
    m_correct.clear();
    const Json::Value& list = EntryMember("CorrectInfo");
    for (Json::ArrayIndex i = 0; i < JsonSize(list); ++i) {
        const Json::Value& e = list[i];
        CorrectEntry c;
        c.pixThresh = JsonField<uint8_t>(JsonMember(e, "CorrectPixThresh"));
        c.minSquare = JsonField<uint8_t>(JsonMember(e, "CorrectMinSq"));
        c.selected = JsonField<uint8_t>(JsonMember(e, "CorrectSelect"));
        c.name = Utf8ToWide(JsonText(JsonMember(e, "CorrectName")));
        m_correct.push_back(c);
    }
    return m_correct;
}
