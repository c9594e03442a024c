#include "sim/SimTrace.h"

#include <algorithm>
#include <cstring>
#include <limits>

SimTrace::SimTrace(size_t capacity) : m_capacity(std::max<size_t>(capacity, 1))
{
    // Reserved, not filled: the pages are touched only once reports come.
    m_ring.reserve(m_capacity);
}

void SimTrace::Record(SimDirection direction, const uint8_t* report, size_t length)
{
    if (!Enabled())
        return;
    std::lock_guard lock(m_mutex);
    if (m_ring.size() < m_capacity)
        m_ring.emplace_back();
    SimTraceEntry& entry = m_ring[m_next];
    entry.direction = direction;
    entry.length = static_cast<uint16_t>(std::min<size_t>(length, std::numeric_limits<uint16_t>::max()));
    entry.bytes.fill(0);
    std::memcpy(entry.bytes.data(), report, std::min(length, entry.bytes.size()));
    m_next = (m_next + 1) % m_capacity;
    ++m_recorded;
}

std::vector<SimTraceEntry> SimTrace::Entries() const
{
    std::lock_guard lock(m_mutex);
    std::vector<SimTraceEntry> out;
    if (m_ring.empty())
        return out;
    const size_t kept = static_cast<size_t>(std::min<uint64_t>(m_recorded, m_ring.size()));
    out.reserve(kept);
    const size_t first = (m_next + m_ring.size() - kept) % m_ring.size();
    for (size_t i = 0; i < kept; ++i)
        out.push_back(m_ring[(first + i) % m_ring.size()]);
    return out;
}

std::vector<SimTraceEntry> SimTrace::Entries(SimDirection direction) const
{
    auto all = Entries();
    std::erase_if(all, [direction](const SimTraceEntry& e) { return e.direction != direction; });
    return all;
}

void SimTrace::Clear()
{
    std::lock_guard lock(m_mutex);
    m_ring.clear();
    m_next = 0;
    m_recorded = 0;
}

uint64_t SimTrace::Recorded() const
{
    std::lock_guard lock(m_mutex);
    return m_recorded;
}
