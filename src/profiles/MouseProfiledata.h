#pragma once

#include "profiles/BasicProfiledata.h"

// Mouse sections: "DPIStages", "SystemStages", "ReportStages", "CorrectInfo".
class CMouseProfiledata : public CBasicProfiledata {
public:
    // The stages of the document merged into the kept list, which never shrinks.
    std::vector<DpiStage> ReadDpiStages();
    void WriteDpiStages(const std::vector<DpiStage>& stages);
    int32_t GetActiveStage() const { return m_activeStage; }
    void WriteActiveStage(int32_t stage);

    MouseSystemRecord ReadMouseSystem();
    void WriteMouseSystem(const MouseSystemRecord& record);

    std::vector<CorrectEntry> ReadCorrectInfo();

private:
    std::vector<DpiStage> m_stages;
    int32_t m_activeStage = 0;
    MouseSystemRecord m_system;
    std::vector<CorrectEntry> m_correct;
};
