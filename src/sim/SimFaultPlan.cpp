#include "sim/SimFaultPlan.h"

#include "hid/ReportFrame.h"

#include <algorithm>

void SimFaultPlan::Add(const SimFault& fault)
{
    std::lock_guard lock(m_mutex);
    m_faults.push_back(fault);
}

void SimFaultPlan::Clear()
{
    std::lock_guard lock(m_mutex);
    m_faults.clear();
    m_count = 0;
}

void SimFaultPlan::Arm(const SimFault& fault)
{
    std::lock_guard lock(m_mutex);
    m_faults.assign(1, fault);
    m_count = 0;
}

SimFaultActions SimFaultPlan::Next()
{
    SimFaultActions actions;
    std::lock_guard lock(m_mutex);
    if (m_count < UINT32_MAX)
        ++m_count;
    for (const SimFault& fault : m_faults) {
        if (fault.report != 0 && fault.report != m_count)
            continue;
        switch (fault.kind) {
        case SimFaultKind::NoReply: actions.noReply = true; break;
        case SimFaultKind::StaleReply: actions.staleReply = true; break;
        case SimFaultKind::Unreachable: actions.unreachable = true; break;
        case SimFaultKind::StatusFailed: actions.status = ReportFrame::kStatusFailed; break;
        case SimFaultKind::StatusRejected: actions.status = ReportFrame::kStatusRejected; break;
        case SimFaultKind::Unplug: actions.unplugAfter = true; break;
        case SimFaultKind::Delay: actions.delayMs = std::max(actions.delayMs, fault.delayMs); break;
        }
    }
    return actions;
}

uint32_t SimFaultPlan::ReportsSeen() const
{
    std::lock_guard lock(m_mutex);
    return m_count;
}
