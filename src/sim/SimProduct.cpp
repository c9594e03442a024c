#include "sim/SimProduct.h"

#include "sim/SimDescriptors.h"

SimProduct::SimProduct(SimProductKind kind, std::unique_ptr<SimFirmware> firmware)
    : m_kind(kind), m_firmware(std::move(firmware))
{
    const SimProductIdentity id = SimKindIdentity(kind);
    m_node.devicePath = "sim:" + std::string(SimKindName(kind));
    m_node.vendorId = id.vendorId;
    m_node.productId = id.productId;
    m_node.version = id.version;
    m_node.interfaceNumber = id.interfaceNumber;
    m_node.reportDescriptor = SimDescriptors::For(kind);
}

SimOutcome SimProduct::HandleOutput(const uint8_t* report, size_t length)
{
    m_trace.Record(SimDirection::HostToDevice, report, length);
    SimOutcome outcome;
    const SimFaultActions faults = m_faults.Next();
    outcome.delayMs = faults.delayMs;
    outcome.unplugAfter = faults.unplugAfter;
    if (faults.noReply)
        return outcome;

    SimFrame reply;
    if (!m_firmware->Answer(report, length, faults.unreachable, faults.status, reply))
        return outcome;

    if (faults.staleReply) {
        SimFrame stale = m_lastReply;
        if (!m_hasLastReply || stale[ReportFrame::kCommandOffset] == reply[ReportFrame::kCommandOffset]) {
            // Nothing older with another code: a reply to no command at all.
            stale = reply;
            stale[ReportFrame::kCommandOffset] = 0x00;
            ReportFrame::StoreChecksum(stale.data());
        }
        outcome.reports[outcome.count++] = stale;
    }
    outcome.reports[outcome.count++] = reply;
    m_lastReply = reply;
    m_hasLastReply = true;
    return outcome;
}

std::array<uint8_t, 3> SimProduct::EventReport(uint16_t code) const
{
    return {SimDescriptors::EventReportId(m_kind), static_cast<uint8_t>(code & 0xFF), static_cast<uint8_t>(code >> 8)};
}
