#pragma once

#include "hid/HidBackend.h"
#include "sim/SimFaultPlan.h"
#include "sim/SimFirmware.h"
#include "sim/SimProductKind.h"
#include "sim/SimTrace.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

// What one host report makes the product send back.
struct SimOutcome {
    std::array<SimFrame, 2> reports{};  // a stale reply first when one is injected
    size_t count = 0;
    uint32_t delayMs = 0;
    bool unplugAfter = false;
};

// One emulated HID node: the product's identity and descriptor, its firmware,
// its fault plan and its report trace. Lives as long as the backend; plugging
// and unplugging only switch its presence.
class SimProduct {
public:
    SimProduct(SimProductKind kind, std::unique_ptr<SimFirmware> firmware);

    SimProductKind Kind() const { return m_kind; }
    const HidNode& Node() const { return m_node; }

    SimFirmware& Firmware() { return *m_firmware; }
    const SimFirmware& Firmware() const { return *m_firmware; }
    SimMemory& Memory() { return m_firmware->Memory(); }
    SimFaultPlan& Faults() { return m_faults; }
    SimTrace& Trace() { return m_trace; }
    const SimTrace& Trace() const { return m_trace; }

    // Receivers only: whether the product behind the receiver answers.
    void SetLinkReachable(bool reachable) { m_firmware->SetLinkReachable(reachable); }

    bool Plugged() const { return m_plugged.load(); }
    void SetPlugged(bool plugged) { m_plugged.store(plugged); }

    // Runs one output report from the host through the fault plan and the
    // firmware. Called under the service's lock only.
    SimOutcome HandleOutput(const uint8_t* report, size_t length);

    // The input report that carries a 16-bit event code on the consumer
    // collection: report ID, code low byte, code high byte.
    std::array<uint8_t, 3> EventReport(uint16_t code) const;

private:
    const SimProductKind m_kind;
    HidNode m_node;
    std::unique_ptr<SimFirmware> m_firmware;
    SimFaultPlan m_faults;
    SimTrace m_trace;
    std::atomic<bool> m_plugged{false};
    SimFrame m_lastReply{};
    bool m_hasLastReply = false;
};
