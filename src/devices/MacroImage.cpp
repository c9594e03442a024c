#include "devices/MacroImage.h"

#include "profiles/MacroEvent.h"

namespace {

void PutWord(std::vector<uint8_t>& out, size_t at, size_t value)
{
    out[at] = static_cast<uint8_t>(value & 0xFF);
    out[at + 1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

Json::ArrayIndex EventCount(const Json::Value& events) { return events.isArray() ? events.size() : 0; }

}  // namespace

void MacroImage::AddEntry(const Json::Value& events) { m_entries.push_back(events); }

size_t MacroImage::TotalSize() const
{
    size_t total = kHeaderSize + 6 * m_entries.size();
    for (const auto& events : m_entries)
        total += 4 * static_cast<size_t>(EventCount(events));
    return total;
}

int MacroImage::Overflow(size_t capacity) const
{
    const size_t total = TotalSize();
    if (total <= capacity)
        return 0;
    return static_cast<int>((total - capacity) / 4 + 1);
}

std::vector<uint8_t> MacroImage::Build() const
{
    const size_t total = TotalSize();
    std::vector<uint8_t> image(total, 0);
    image[0] = 0xAA;
    image[1] = 0x55;
    PutWord(image, 2, total);
    PutWord(image, 4, m_entries.size());
    size_t offset = kHeaderSize + 2 * m_entries.size();
    for (size_t i = 0; i < m_entries.size(); ++i) {
        PutWord(image, kHeaderSize + 2 * i, offset);
        const Json::Value& events = m_entries[i];
        const Json::ArrayIndex count = EventCount(events);
        PutWord(image, offset, count);
        offset += 4;
        for (Json::ArrayIndex e = 0; e < count; ++e) {
            const auto bytes = PackMacroEvent(events[e]);
            for (uint8_t b : bytes)
                image[offset++] = b;
        }
    }
    return image;
}
