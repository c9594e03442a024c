#include "sim/SimDescriptors.h"

#include "hid/ReportFrame.h"

namespace {

// Emits short items of a report descriptor.
class DescriptorWriter {
public:
    // tag: the item prefix with the size bits cleared.
    DescriptorWriter& Item(uint8_t tag, uint32_t value, int bytes)
    {
        const uint8_t sizeCode = bytes == 0 ? 0 : bytes == 1 ? 1 : bytes == 2 ? 2 : 3;
        m_bytes.push_back(static_cast<uint8_t>(tag | sizeCode));
        for (int i = 0; i < bytes; ++i)
            m_bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
        return *this;
    }
    DescriptorWriter& UsagePage(uint16_t page) { return Item(0x04, page, page > 0xFF ? 2 : 1); }
    DescriptorWriter& Usage(uint16_t usage) { return Item(0x08, usage, usage > 0xFF ? 2 : 1); }
    DescriptorWriter& UsageMin(uint16_t usage) { return Item(0x18, usage, usage > 0xFF ? 2 : 1); }
    DescriptorWriter& UsageMax(uint16_t usage) { return Item(0x28, usage, usage > 0xFF ? 2 : 1); }
    // Logical values are signed in the descriptor: a positive value above the
    // signed range of its width takes the next wider form.
    DescriptorWriter& LogicalMin(int32_t v) { return Item(0x14, static_cast<uint32_t>(v), SignedWidth(v)); }
    DescriptorWriter& LogicalMax(int32_t v) { return Item(0x24, static_cast<uint32_t>(v), SignedWidth(v)); }
    DescriptorWriter& ReportSize(uint8_t bits) { return Item(0x74, bits, 1); }
    DescriptorWriter& ReportCount(uint8_t count) { return Item(0x94, count, 1); }
    DescriptorWriter& ReportId(uint8_t id) { return Item(0x84, id, 1); }
    DescriptorWriter& Input(uint8_t flags) { return Item(0x80, flags, 1); }
    DescriptorWriter& Output(uint8_t flags) { return Item(0x90, flags, 1); }
    DescriptorWriter& Collection(uint8_t type) { return Item(0xA0, type, 1); }
    DescriptorWriter& EndCollection() { return Item(0xC0, 0, 0); }

    std::vector<uint8_t> Take() { return std::move(m_bytes); }

private:
    static int SignedWidth(int32_t v)
    {
        if (v >= -128 && v <= 127)
            return 1;
        if (v >= -32768 && v <= 32767)
            return 2;
        return 4;
    }
    std::vector<uint8_t> m_bytes;
};

constexpr uint8_t kApplication = 0x01;
constexpr uint8_t kPhysical = 0x00;
constexpr uint8_t kDataArrayAbs = 0x00;
constexpr uint8_t kDataVarAbs = 0x02;
constexpr uint8_t kDataVarRel = 0x06;
constexpr uint8_t kConstant = 0x01;

void MouseCollection(DescriptorWriter& d)
{
    d.UsagePage(0x01).Usage(0x02).Collection(kApplication).ReportId(0x01);
    d.Usage(0x01).Collection(kPhysical);
    d.UsagePage(0x09).UsageMin(1).UsageMax(5).LogicalMin(0).LogicalMax(1).ReportSize(1).ReportCount(5)
        .Input(kDataVarAbs);
    d.ReportSize(3).ReportCount(1).Input(kConstant);
    d.UsagePage(0x01).Usage(0x30).Usage(0x31).LogicalMin(-32767).LogicalMax(32767).ReportSize(16)
        .ReportCount(2).Input(kDataVarRel);
    d.Usage(0x38).LogicalMin(-127).LogicalMax(127).ReportSize(8).ReportCount(1).Input(kDataVarRel);
    d.EndCollection().EndCollection();
}

void KeyboardCollection(DescriptorWriter& d)
{
    d.UsagePage(0x01).Usage(0x06).Collection(kApplication).ReportId(0x01);
    d.UsagePage(0x07).UsageMin(0xE0).UsageMax(0xE7).LogicalMin(0).LogicalMax(1).ReportSize(1).ReportCount(8)
        .Input(kDataVarAbs);
    // Key bitmap for usages 0x00..0x77 (n-key rollover).
    d.UsageMin(0x00).UsageMax(0x77).ReportSize(1).ReportCount(0x78).Input(kDataVarAbs);
    d.UsagePage(0x08).UsageMin(1).UsageMax(5).ReportCount(5).Output(kDataVarAbs);
    d.ReportSize(3).ReportCount(1).Output(kConstant);
    d.EndCollection();
}

void SystemControlCollection(DescriptorWriter& d)
{
    d.UsagePage(0x01).Usage(0x80).Collection(kApplication).ReportId(0x02);
    d.UsageMin(0x81).UsageMax(0x83).LogicalMin(0).LogicalMax(1).ReportSize(1).ReportCount(3).Input(kDataVarAbs);
    d.ReportSize(5).ReportCount(1).Input(kConstant);
    d.EndCollection();
}

// One 16-bit array field: an event code such as 0x1123 decodes as the usage pressed.
void ConsumerEventField(DescriptorWriter& d)
{
    d.UsagePage(0x0C).UsageMin(0x0000).UsageMax(0xFFFF).LogicalMin(0).LogicalMax(0xFFFF).ReportSize(16)
        .ReportCount(1).Input(kDataArrayAbs);
}

void ConsumerCollection(DescriptorWriter& d)
{
    d.UsagePage(0x0C).Usage(0x01).Collection(kApplication).ReportId(SimDescriptors::kConsumerReportId);
    ConsumerEventField(d);
    d.EndCollection();
}

void VendorCommandCollection(DescriptorWriter& d)
{
    constexpr uint8_t kDataBytes = ReportFrame::kSize - 1;  // 63 after the report ID
    d.UsagePage(0xFF1C).Usage(0x92).Collection(kApplication).ReportId(ReportFrame::kReportId);
    d.Usage(0x01).LogicalMin(0).LogicalMax(0xFF).ReportSize(8).ReportCount(kDataBytes).Input(kDataVarAbs);
    d.Usage(0x02).LogicalMin(0).LogicalMax(0xFF).ReportSize(8).ReportCount(kDataBytes).Output(kDataVarAbs);
    d.EndCollection();
}

void HeadsetCollection(DescriptorWriter& d)
{
    d.UsagePage(0x0C).Usage(0x01).Collection(kApplication);
    d.ReportId(SimDescriptors::kHeadsetEventReportId);
    ConsumerEventField(d);
    d.ReportId(SimDescriptors::kHeadsetLightReportId);
    d.UsagePage(0xFF00).Usage(0x01).LogicalMin(0).LogicalMax(0xFF).ReportSize(8)
        .ReportCount(static_cast<uint8_t>(SimDescriptors::kHeadsetLightReportSize - 1)).Output(kDataVarAbs);
    d.EndCollection();
}

} // namespace

std::vector<uint8_t> SimDescriptors::For(SimProductKind kind)
{
    DescriptorWriter d;
    switch (kind) {
    case SimProductKind::Headset:
        HeadsetCollection(d);
        return d.Take();
    case SimProductKind::Mouse:
    case SimProductKind::MouseReceiver:
        MouseCollection(d);
        break;
    case SimProductKind::Keyboard:
    case SimProductKind::KeyboardReceiver:
    case SimProductKind::MousePad:
        KeyboardCollection(d);
        break;
    }
    SystemControlCollection(d);
    ConsumerCollection(d);
    VendorCommandCollection(d);
    return d.Take();
}

uint8_t SimDescriptors::EventReportId(SimProductKind kind)
{
    return kind == SimProductKind::Headset ? kHeadsetEventReportId : kConsumerReportId;
}
