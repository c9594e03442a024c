#include "sim/SimDescriptors.h"
#include "sim/SimHidBackend.h"

#include <gtest/gtest.h>

namespace {

struct Field {
    uint8_t reportId;
    uint8_t kind;  // 0x80 input, 0x90 output
    uint32_t size;
    uint32_t count;
    uint32_t usagePage;
    uint32_t usageMin;
    uint32_t usageMax;
    int64_t logicalMax;
};

struct TopCollection {
    uint32_t usagePage = 0;
    uint32_t usage = 0;
    std::vector<Field> fields;
};

// Walks the short items of a report descriptor: top-level collections with
// their main items and the global state in force for each.
std::vector<TopCollection> Parse(const std::vector<uint8_t>& d)
{
    std::vector<TopCollection> out;
    uint32_t page = 0, usage = 0, usageMin = 0, usageMax = 0, size = 0, count = 0;
    int64_t logicalMax = 0;
    uint8_t reportId = 0;
    int depth = 0;
    for (size_t i = 0; i < d.size();) {
        const uint8_t prefix = d[i];
        const size_t n = (prefix & 3) == 3 ? 4 : (prefix & 3);
        EXPECT_LE(i + 1 + n, d.size()) << "item runs past the end";
        if (i + 1 + n > d.size())
            break;
        uint32_t value = 0;
        for (size_t b = 0; b < n; ++b)
            value |= static_cast<uint32_t>(d[i + 1 + b]) << (8 * b);
        int64_t signedValue = value;
        if (n == 1)
            signedValue = static_cast<int8_t>(value);
        else if (n == 2)
            signedValue = static_cast<int16_t>(value);
        else if (n == 4)
            signedValue = static_cast<int32_t>(value);
        switch (prefix & 0xFC) {
        case 0x04: page = value; break;
        case 0x08: usage = value; break;
        case 0x18: usageMin = value; break;
        case 0x28: usageMax = value; break;
        case 0x24: logicalMax = signedValue; break;
        case 0x74: size = value; break;
        case 0x94: count = value; break;
        case 0x84: reportId = static_cast<uint8_t>(value); break;
        case 0xA0:
            if (depth++ == 0)
                out.push_back({page, usage, {}});
            break;
        case 0xC0: --depth; break;
        case 0x80:
        case 0x90:
            if (!out.empty())
                out.back().fields.push_back(
                    {reportId, static_cast<uint8_t>(prefix & 0xFC), size, count, page, usageMin, usageMax, logicalMax});
            break;
        default: break;
        }
        i += 1 + n;
    }
    EXPECT_EQ(depth, 0);
    return out;
}

TEST(SimDescriptorsTest, NodesCarryTheProductsIdentity)
{
    struct Case {
        SimProductKind kind;
        uint16_t vendor, product, interfaceNumber;
        size_t collections;
    };
    const Case cases[] = {
        {SimProductKind::Mouse, 0x320F, 0x221C, 1, 4},    {SimProductKind::MouseReceiver, 0x320F, 0x222F, 1, 4},
        {SimProductKind::Keyboard, 0x320F, 0x0000, 1, 4}, {SimProductKind::KeyboardReceiver, 0x320F, 0x0000, 1, 4},
        {SimProductKind::MousePad, 0x320F, 0x1004, 1, 4}, {SimProductKind::Headset, 0x0C76, 0x1630, 3, 1},
    };
    SimHidBackend sim({kAllSimProductKinds.begin(), kAllSimProductKinds.end()});
    const auto nodes = sim.ListNodes();
    ASSERT_EQ(nodes.size(), std::size(cases));
    for (const Case& c : cases) {
        const auto node = sim.QueryNode(SimHidBackend::NodePath(c.kind));
        ASSERT_TRUE(node);
        SCOPED_TRACE(node->devicePath);
        EXPECT_EQ(node->vendorId, c.vendor);
        EXPECT_EQ(node->productId, c.product);
        EXPECT_EQ(node->interfaceNumber, c.interfaceNumber);
        EXPECT_NE(node->version, 0);
        EXPECT_EQ(Parse(node->reportDescriptor).size(), c.collections);
    }
}

TEST(SimDescriptorsTest, InterfaceOneHasConsumerThirdAndCommandFourth)
{
    for (SimProductKind kind : kAllSimProductKinds) {
        if (kind == SimProductKind::Headset)
            continue;
        SCOPED_TRACE(SimKindName(kind));
        const auto collections = Parse(SimDescriptors::For(kind));
        ASSERT_EQ(collections.size(), 4u);
        EXPECT_EQ(collections[0].usagePage, 0x01u);
        EXPECT_EQ(collections[2].usagePage, 0x0Cu);
        EXPECT_EQ(collections[2].usage, 0x01u);
        ASSERT_EQ(collections[2].fields.size(), 1u);
        const Field& event = collections[2].fields[0];
        EXPECT_EQ(event.reportId, SimDescriptors::kConsumerReportId);
        EXPECT_EQ(event.size, 16u);
        EXPECT_EQ(event.count, 1u);
        EXPECT_EQ(event.usageMin, 0u);
        EXPECT_EQ(event.usageMax, 0xFFFFu);
        EXPECT_EQ(event.logicalMax, 0xFFFF);  // positive: 0x1123 decodes as usage 0x1123

        EXPECT_EQ(collections[3].usagePage, 0xFF1Cu);
        EXPECT_EQ(collections[3].usage, 0x92u);
        ASSERT_EQ(collections[3].fields.size(), 2u);
        for (const Field& f : collections[3].fields) {
            EXPECT_EQ(f.reportId, ReportFrame::kReportId);
            EXPECT_EQ(f.size * f.count, 63u * 8);
        }
        EXPECT_EQ(collections[3].fields[0].kind, 0x80);
        EXPECT_EQ(collections[3].fields[1].kind, 0x90);
        // Report IDs are not shared between collections.
        for (size_t a = 0; a < 4; ++a)
            for (size_t b = a + 1; b < 4; ++b)
                EXPECT_NE(collections[a].fields[0].reportId, collections[b].fields[0].reportId);
    }
}

TEST(SimDescriptorsTest, HeadsetHasOneConsumerCollectionWithTheLightReport)
{
    const auto collections = Parse(SimDescriptors::For(SimProductKind::Headset));
    ASSERT_EQ(collections.size(), 1u);
    EXPECT_EQ(collections[0].usagePage, 0x0Cu);
    EXPECT_EQ(collections[0].usage, 0x01u);
    bool lightReport = false;
    for (const Field& f : collections[0].fields) {
        if (f.kind == 0x90 && f.reportId == SimDescriptors::kHeadsetLightReportId)
            lightReport = 1 + f.size * f.count / 8 == SimDescriptors::kHeadsetLightReportSize;
    }
    EXPECT_TRUE(lightReport);
}

} // namespace
