#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

enum class SimDirection { HostToDevice, DeviceToHost };

struct SimTraceEntry {
    SimDirection direction = SimDirection::HostToDevice;
    uint16_t length = 0;               // the report's full length
    std::array<uint8_t, 64> bytes{};   // its first 64 bytes
};

// Every report of one product in both directions, kept in a bounded ring:
// when full the oldest entries are overwritten. Thread-safe; recording can be
// switched off for long runs.
class SimTrace {
public:
    static constexpr size_t kDefaultCapacity = 4096;

    explicit SimTrace(size_t capacity = kDefaultCapacity);

    void Record(SimDirection direction, const uint8_t* report, size_t length);

    // Oldest first.
    std::vector<SimTraceEntry> Entries() const;
    // Only the entries of one direction, oldest first.
    std::vector<SimTraceEntry> Entries(SimDirection direction) const;
    void Clear();

    void SetEnabled(bool enabled) { m_enabled.store(enabled, std::memory_order_relaxed); }
    bool Enabled() const { return m_enabled.load(std::memory_order_relaxed); }

    // Reports recorded since the last Clear, including those overwritten.
    uint64_t Recorded() const;

private:
    mutable std::mutex m_mutex;
    const size_t m_capacity;
    std::vector<SimTraceEntry> m_ring;  // grows to m_capacity, then wraps
    size_t m_next = 0;
    uint64_t m_recorded = 0;
    std::atomic<bool> m_enabled{true};
};
