#pragma once

#include "devices/PreviewTables.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

struct LedColour {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t level = 0;
    bool operator==(const LedColour&) const = default;
};

// One colour and level per LED. The preview thread writes it while the UI
// thread paints it; every entry is stored and loaded whole.
class LedColourList {
public:
    explicit LedColourList(size_t count)
        : m_count(count), m_entries(std::make_unique<std::atomic<uint32_t>[]>(count))
    {
        for (size_t i = 0; i < count; ++i)
            m_entries[i].store(0, std::memory_order_relaxed);
    }

    size_t Size() const { return m_count; }

    void Set(size_t index, Rgb colour, uint8_t level)
    {
        if (index < m_count)
            m_entries[index].store(Pack(colour, level), std::memory_order_relaxed);
    }

    void SetAll(Rgb colour, uint8_t level)
    {
        const uint32_t packed = Pack(colour, level);
        for (size_t i = 0; i < m_count; ++i)
            m_entries[i].store(packed, std::memory_order_relaxed);
    }

    LedColour Get(size_t index) const
    {
        if (index >= m_count)
            return {};
        const uint32_t v = m_entries[index].load(std::memory_order_relaxed);
        return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                static_cast<uint8_t>(v >> 24)};
    }

private:
    static uint32_t Pack(Rgb c, uint8_t level)
    {
        return c.r | (c.g << 8) | (c.b << 16) | (static_cast<uint32_t>(level) << 24);
    }

    size_t m_count;
    std::unique_ptr<std::atomic<uint32_t>[]> m_entries;
};
