#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

// Report descriptors for the tests, written item by item.
class DescriptorBytes {
public:
    DescriptorBytes& Raw(std::initializer_list<uint8_t> bytes)
    {
        m_bytes.insert(m_bytes.end(), bytes);
        return *this;
    }
    // A short item; tag is the prefix with the size bits clear.
    DescriptorBytes& Item(uint8_t tag, uint32_t value, int bytes)
    {
        m_bytes.push_back(static_cast<uint8_t>(tag | (bytes == 4 ? 3 : bytes)));
        for (int i = 0; i < bytes; ++i)
            m_bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
        return *this;
    }
    DescriptorBytes& UsagePage(uint16_t page) { return Item(0x04, page, page > 0xFF ? 2 : 1); }
    DescriptorBytes& Usage(uint16_t usage) { return Item(0x08, usage, usage > 0xFF ? 2 : 1); }
    DescriptorBytes& UsageMin(uint16_t usage) { return Item(0x18, usage, 2); }
    DescriptorBytes& UsageMax(uint16_t usage) { return Item(0x28, usage, 2); }
    DescriptorBytes& LogicalMin(int32_t v) { return Item(0x14, static_cast<uint32_t>(v), 4); }
    DescriptorBytes& LogicalMax(int32_t v) { return Item(0x24, static_cast<uint32_t>(v), 4); }
    DescriptorBytes& PhysicalMin(int32_t v) { return Item(0x34, static_cast<uint32_t>(v), 4); }
    DescriptorBytes& PhysicalMax(int32_t v) { return Item(0x44, static_cast<uint32_t>(v), 4); }
    DescriptorBytes& ReportSize(uint32_t bits) { return Item(0x74, bits, 2); }
    DescriptorBytes& ReportCount(uint32_t count) { return Item(0x94, count, 4); }
    DescriptorBytes& ReportId(uint8_t id) { return Item(0x84, id, 1); }
    DescriptorBytes& Input(uint8_t flags) { return Item(0x80, flags, 1); }
    DescriptorBytes& Output(uint8_t flags) { return Item(0x90, flags, 1); }
    DescriptorBytes& Feature(uint8_t flags) { return Item(0xB0, flags, 1); }
    DescriptorBytes& Collection(uint8_t type = 0x01) { return Item(0xA0, type, 1); }
    DescriptorBytes& EndCollection() { return Item(0xC0, 0, 0); }

    std::vector<uint8_t> Bytes() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};

namespace TestDescriptors {

constexpr uint8_t kArray = 0x00;
constexpr uint8_t kVariable = 0x02;
constexpr uint8_t kRelative = 0x06;
constexpr uint8_t kConstant = 0x01;

// Laid out like the products' interface 1: 1 mouse (ID 1), 2 system control
// (ID 2), 3 consumer event codes (ID 3), 4 vendor command frames (ID 4, 64 bytes).
inline std::vector<uint8_t> ProductInterface()
{
    DescriptorBytes d;
    d.UsagePage(0x01).Usage(0x02).Collection().ReportId(1);
    d.Usage(0x01).Collection(0x00);
    d.UsagePage(0x09).UsageMin(1).UsageMax(5).LogicalMin(0).LogicalMax(1).ReportSize(1).ReportCount(5).Input(kVariable);
    d.ReportSize(3).ReportCount(1).Input(kConstant);
    d.UsagePage(0x01).Usage(0x30).Usage(0x31).LogicalMin(-32767).LogicalMax(32767).ReportSize(16).ReportCount(2)
        .Input(kRelative);
    d.EndCollection().EndCollection();
    d.UsagePage(0x01).Usage(0x80).Collection().ReportId(2);
    d.UsageMin(0x81).UsageMax(0x83).LogicalMin(0).LogicalMax(1).ReportSize(1).ReportCount(3).Input(kVariable);
    d.ReportSize(5).ReportCount(1).Input(kConstant);
    d.EndCollection();
    d.UsagePage(0x0C).Usage(0x01).Collection().ReportId(3);
    d.UsageMin(0).UsageMax(0xFFFF).LogicalMin(0).LogicalMax(0xFFFF).ReportSize(16).ReportCount(1).Input(kArray);
    d.EndCollection();
    d.UsagePage(0xFF1C).Usage(0x92).Collection().ReportId(4);
    d.Usage(0x01).LogicalMin(0).LogicalMax(0xFF).ReportSize(8).ReportCount(63).Input(kVariable);
    d.Usage(0x02).ReportCount(63).Output(kVariable);
    d.EndCollection();
    return d.Bytes();
}

// One collection without report IDs: 8-byte input, 16-byte output.
inline std::vector<uint8_t> NoIdInterface()
{
    DescriptorBytes d;
    d.UsagePage(0x0C).Usage(0x01).Collection();
    d.UsageMin(0).UsageMax(0xFFFF).LogicalMin(0).LogicalMax(0xFFFF).ReportSize(16).ReportCount(1).Input(kArray);
    d.Usage(0xE9).LogicalMin(0).LogicalMax(0xFF).ReportSize(8).ReportCount(6).Input(kVariable);
    d.Usage(0xEA).ReportCount(16).Output(kVariable);
    d.EndCollection();
    return d.Bytes();
}

// A single consumer collection with report IDs, like the headset: event
// codes in input report 1, light values in 17-byte output report 0xFF.
inline std::vector<uint8_t> SingleCollectionWithIds()
{
    DescriptorBytes d;
    d.UsagePage(0x0C).Usage(0x01).Collection().ReportId(1);
    d.UsageMin(0).UsageMax(0xFFFF).LogicalMin(0).LogicalMax(0xFFFF).ReportSize(16).ReportCount(1).Input(kArray);
    d.ReportId(0xFF).UsagePage(0xFF00).Usage(0x01).LogicalMin(0).LogicalMax(0xFF).ReportSize(8).ReportCount(16)
        .Output(kVariable);
    d.EndCollection();
    return d.Bytes();
}

} // namespace TestDescriptors
