#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

enum class SimFaultKind {
    NoReply,         // the report is lost: not executed, not answered
    StaleReply,      // a reply carrying another command code comes before the real one
    Unreachable,     // answered as a receiver whose product is out of reach (0xAA in byte 3)
    StatusFailed,    // not executed, answered with status 0xFF
    StatusRejected,  // not executed, answered with status 0xFE
    Unplug,          // answered, then the node disappears and its open descriptors hang up
    Delay,           // the reply leaves after delayMs
};

struct SimFault {
    SimFaultKind kind = SimFaultKind::NoReply;
    // The n-th host report (1-based) counted since the plan was last cleared;
    // 0 applies the fault to every report.
    uint32_t report = 0;
    uint32_t delayMs = 0;  // SimFaultKind::Delay only
};

// What the faults say about one host report.
struct SimFaultActions {
    bool noReply = false;
    bool staleReply = false;
    bool unreachable = false;
    bool unplugAfter = false;
    uint8_t status = 0;  // non-zero: answer with this status instead of executing
    uint32_t delayMs = 0;
};

// The faults armed on one product. Thread-safe: tests arm it while the
// service thread consumes it.
class SimFaultPlan {
public:
    void Add(const SimFault& fault);
    // Removes every fault and restarts the report count.
    void Clear();
    // Clear, then Add: the fault alone, its report counted from now.
    void Arm(const SimFault& fault);

    // Counts one host report and returns what applies to it.
    SimFaultActions Next();

    uint32_t ReportsSeen() const;

private:
    mutable std::mutex m_mutex;
    std::vector<SimFault> m_faults;
    uint32_t m_count = 0;
};
