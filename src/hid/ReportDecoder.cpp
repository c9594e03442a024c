#include "hid/ReportDecoder.h"

#include <algorithm>

namespace {

// Reads up to 32 bits at bit offset; bits past the end of the data read as 0.
uint32_t ExtractBits(const uint8_t* data, size_t totalBits, uint64_t offset, unsigned size)
{
    uint32_t value = 0;
    const unsigned width = std::min(size, 32u);
    for (unsigned i = 0; i < width; ++i) {
        const uint64_t bit = offset + i;
        if (bit >= totalBits)
            break;
        if ((data[bit / 8] >> (bit % 8)) & 1u)
            value |= 1u << i;
    }
    return value;
}

int32_t SignExtend(uint32_t value, unsigned size)
{
    if (size == 0 || size >= 32)
        return static_cast<int32_t>(value);
    const uint32_t sign = 1u << (size - 1);
    return static_cast<int32_t>((value ^ sign) - sign);
}

} // namespace

ReportDecoder::ReportDecoder(const HidCollectionInfo& collection)
{
    for (const auto& field : collection.fields)
        if (field.type == HidReportType::Input)
            m_fields.push_back(field);
    for (size_t f = 0; f < m_fields.size(); ++f) {
        const HidField& field = m_fields[f];
        if (!field.IsButton() || m_elements.size() >= kMaxElements)
            continue;
        HidDecodedData element;
        element.isButton = true;
        element.reportId = field.reportId;
        element.usagePage = static_cast<uint16_t>(field.UsageAt(0) >> 16);
        m_elements.push_back(element);
        m_bindings.push_back({f, 0});
    }
    m_buttonCount = m_elements.size();
    for (size_t f = 0; f < m_fields.size(); ++f) {
        const HidField& field = m_fields[f];
        if (field.IsButton())
            continue;
        // One element per usage; a single usage over several entries is one element.
        const uint64_t usages = std::max<uint64_t>(field.UsageCount(), 1);
        const uint64_t elements = std::min<uint64_t>(usages, field.count);
        for (uint64_t i = 0; i < elements && m_elements.size() < kMaxElements; ++i) {
            HidDecodedData element;
            element.reportId = field.reportId;
            const uint32_t usage = field.UsageAt(i);
            element.usagePage = static_cast<uint16_t>(usage >> 16);
            element.usage = static_cast<uint16_t>(usage & 0xFFFF);
            m_elements.push_back(element);
            m_bindings.push_back({f, static_cast<uint32_t>(i)});
        }
    }
}

void ReportDecoder::Decode(const uint8_t* report, size_t length)
{
    for (auto& element : m_elements) {
        element.present = false;
        element.usagesOn.clear();
        element.rawValue = 0;
        element.scaledValue = 0;
    }
    if (report == nullptr || length == 0)
        return;
    const uint8_t id = report[0];
    const uint8_t* data = report + 1;
    const size_t bits = (length - 1) * 8;
    for (size_t i = 0; i < m_elements.size(); ++i) {
        auto& element = m_elements[i];
        if (element.reportId != id)
            continue;
        element.present = true;
        const HidField& field = m_fields[m_bindings[i].field];
        if (element.isButton)
            DecodeButtons(field, element, data, bits);
        else
            DecodeValue(field, m_bindings[i].index, element, data, bits);
    }
}

void ReportDecoder::DecodeButtons(const HidField& field, HidDecodedData& out, const uint8_t* data,
                                  size_t bits) const
{
    for (uint32_t i = 0; i < field.count && out.usagesOn.size() < kMaxUsagesOn; ++i) {
        const uint64_t offset = uint64_t{field.bitOffset} + uint64_t{i} * field.bitSize;
        if (offset >= bits)
            break;
        const uint32_t raw = ExtractBits(data, bits, offset, field.bitSize);
        uint32_t usage = 0;
        if (field.variable) {
            if (raw == 0)
                continue;
            usage = field.UsageAt(i);
        } else {
            const int64_t value = field.logicalMin < 0 ? SignExtend(raw, field.bitSize) : int64_t{raw};
            if (value < field.logicalMin || value > field.logicalMax)
                continue;
            const uint64_t index = static_cast<uint64_t>(value - field.logicalMin);
            if (index >= field.UsageCount())
                continue;
            usage = field.UsageAt(index);
        }
        if ((usage & 0xFFFF) != 0)
            out.usagesOn.push_back(static_cast<uint16_t>(usage & 0xFFFF));
    }
}

void ReportDecoder::DecodeValue(const HidField& field, uint32_t index, HidDecodedData& out, const uint8_t* data,
                                size_t bits)
{
    const uint64_t offset = uint64_t{field.bitOffset} + uint64_t{index} * field.bitSize;
    const uint32_t raw = ExtractBits(data, bits, offset, field.bitSize);
    out.rawValue = raw;
    const int64_t logical = field.logicalMin < 0 ? SignExtend(raw, field.bitSize) : int64_t{raw};
    if (field.physicalMin == 0 && field.physicalMax == 0) {
        out.scaledValue = static_cast<int32_t>(logical);
        return;
    }
    const int64_t logicalSpan = int64_t{field.logicalMax} - field.logicalMin;
    if (logicalSpan <= 0) {
        out.scaledValue = static_cast<int32_t>(logical);
        return;
    }
    const int64_t physicalSpan = int64_t{field.physicalMax} - field.physicalMin;
    const int64_t scaled = field.physicalMin + (logical - field.logicalMin) * physicalSpan / logicalSpan;
    out.scaledValue = static_cast<int32_t>(std::clamp<int64_t>(scaled, INT32_MIN, INT32_MAX));
}

uint16_t ReportDecoder::FirstUsage() const
{
    if (m_elements.empty())
        return 0;
    const auto& first = m_elements.front();
    if (!first.isButton)
        return static_cast<uint16_t>(first.rawValue & 0xFFFF);
    return first.usagesOn.empty() ? 0 : first.usagesOn.front();
}
