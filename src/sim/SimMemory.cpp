#include "sim/SimMemory.h"

#include <cstring>

namespace {
constexpr std::array<std::string_view, kSimRegionCount> kRegionNames = {
    "info", "params", "keymap", "ledmap", "macros", "shoot", "power", "keyColors", "lightFrame", "lights"};

size_t Index(SimRegion region) { return static_cast<size_t>(region); }
} // namespace

std::string_view SimRegionName(SimRegion region) { return kRegionNames[Index(region)]; }

std::optional<SimRegion> SimRegionFromName(std::string_view name)
{
    for (size_t i = 0; i < kRegionNames.size(); ++i) {
        if (kRegionNames[i] == name)
            return static_cast<SimRegion>(i);
    }
    return std::nullopt;
}

SimMemory::SimMemory(const SimMemoryLayout& layout)
{
    for (size_t i = 0; i < kSimRegionCount; ++i)
        m_regions[i].assign(layout[i], 0);
}

size_t SimMemory::Size(SimRegion region) const
{
    // Sizes never change after construction.
    return m_regions[Index(region)].size();
}

bool SimMemory::InRange(size_t size, size_t address, size_t length)
{
    return address <= size && length <= size - address;
}

bool SimMemory::Read(SimRegion region, size_t address, uint8_t* out, size_t length) const
{
    std::lock_guard lock(m_mutex);
    const auto& bytes = m_regions[Index(region)];
    if (!InRange(bytes.size(), address, length))
        return false;
    if (length > 0)
        std::memcpy(out, bytes.data() + address, length);
    return true;
}

bool SimMemory::Write(SimRegion region, size_t address, const uint8_t* data, size_t length)
{
    std::lock_guard lock(m_mutex);
    auto& bytes = m_regions[Index(region)];
    if (!InRange(bytes.size(), address, length))
        return false;
    if (length > 0)
        std::memcpy(bytes.data() + address, data, length);
    return true;
}

std::vector<uint8_t> SimMemory::Bytes(SimRegion region) const
{
    std::lock_guard lock(m_mutex);
    return m_regions[Index(region)];
}

bool SimMemory::SetBytes(SimRegion region, const std::vector<uint8_t>& bytes)
{
    std::lock_guard lock(m_mutex);
    auto& target = m_regions[Index(region)];
    if (bytes.size() != target.size())
        return false;
    target = bytes;
    return true;
}

uint8_t SimMemory::At(SimRegion region, size_t address) const
{
    std::lock_guard lock(m_mutex);
    const auto& bytes = m_regions[Index(region)];
    return address < bytes.size() ? bytes[address] : 0;
}

bool SimMemory::Assign(const SimMemory& other)
{
    if (&other == this)
        return true;
    std::scoped_lock lock(m_mutex, other.m_mutex);
    for (size_t i = 0; i < kSimRegionCount; ++i) {
        if (m_regions[i].size() != other.m_regions[i].size())
            return false;
    }
    m_regions = other.m_regions;
    return true;
}
