#include "hid/ReportDecoder.h"
#include "hid/ReportDescriptorParser.h"

#include "TestDescriptors.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace TestDescriptors;

TEST(ReportDescriptorParser, CollectionsOfTheProductInterface)
{
    const auto parsed = ReportDescriptorParser::Parse(ProductInterface());
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(parsed->usesReportIds);
    struct Expect {
        uint16_t page, usage;
        uint8_t id;
        uint16_t in, out, feature;
    };
    const Expect expected[] = {
        {0x0001, 0x02, 1, 6, 0, 0},   // 5 buttons + 3 pad + 2 x 16 bits, plus the ID
        {0x0001, 0x80, 2, 2, 0, 0},
        {0x000C, 0x01, 3, 3, 0, 0},
        {0xFF1C, 0x92, 4, 64, 64, 0},
    };
    ASSERT_EQ(parsed->collections.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        const auto& c = parsed->collections[i];
        EXPECT_EQ(c.usagePage, expected[i].page);
        EXPECT_EQ(c.usage, expected[i].usage);
        EXPECT_EQ(c.reportIds, std::vector<uint8_t>{expected[i].id});
        EXPECT_EQ(c.ReportLength(HidReportType::Input), expected[i].in);
        EXPECT_EQ(c.ReportLength(HidReportType::Output), expected[i].out);
        EXPECT_EQ(c.ReportLength(HidReportType::Feature), expected[i].feature);
    }
}

TEST(ReportDescriptorParser, WithoutReportIdsTheLengthStillCountsTheIdByte)
{
    const auto parsed = ReportDescriptorParser::Parse(NoIdInterface());
    ASSERT_TRUE(parsed);
    EXPECT_FALSE(parsed->usesReportIds);
    ASSERT_EQ(parsed->collections.size(), 1u);
    const auto& c = parsed->collections[0];
    EXPECT_EQ(c.ReportLength(HidReportType::Input), 9);
    EXPECT_EQ(c.ReportLength(HidReportType::Output), 17);
    EXPECT_TRUE(c.HasReportId(HidReportType::Input, 0));
}

TEST(ReportDecoder, ButtonsArraysAndValues)
{
    const auto parsed = ReportDescriptorParser::Parse(ProductInterface());
    ASSERT_TRUE(parsed);

    ReportDecoder mouse(parsed->collections[0]);
    ASSERT_EQ(mouse.ButtonElementCount(), 1u);
    ASSERT_EQ(mouse.ValueElementCount(), 2u);  // X and Y
    const uint8_t move[] = {0x01, 0b00101, 0xFE, 0xFF, 0x10, 0x00};
    mouse.Decode(move, sizeof move);
    const auto& e = mouse.Elements();
    EXPECT_EQ(e[0].usagesOn, (std::vector<uint16_t>{1, 3}));
    EXPECT_EQ(e[1].usage, 0x30);
    EXPECT_EQ(e[1].rawValue, 0xFFFEu);
    EXPECT_EQ(e[1].scaledValue, -2);
    EXPECT_EQ(e[2].usage, 0x31);
    EXPECT_EQ(e[2].scaledValue, 16);

    ReportDecoder consumer(parsed->collections[2]);
    const uint8_t code[] = {0x03, 0x01, 0x04};
    consumer.Decode(code, sizeof code);
    EXPECT_EQ(consumer.FirstUsage(), 0x0401);
    const uint8_t other[] = {0x02, 0x01, 0x04};  // another report ID: nothing decoded
    consumer.Decode(other, sizeof other);
    EXPECT_EQ(consumer.FirstUsage(), 0);
    EXPECT_FALSE(consumer.Elements()[0].present);
    const uint8_t shortReport[] = {0x03, 0x05};  // the high byte missing reads as 0
    consumer.Decode(shortReport, sizeof shortReport);
    EXPECT_EQ(consumer.FirstUsage(), 0x0005);
}

TEST(ReportDecoder, ScaledValueUsesThePhysicalRange)
{
    DescriptorBytes d;
    d.UsagePage(0x01).Usage(0x04).Collection();
    d.Usage(0x30).LogicalMin(0).LogicalMax(255).PhysicalMin(0).PhysicalMax(1000).ReportSize(8).ReportCount(1)
        .Input(kVariable);
    d.EndCollection();
    const auto parsed = ReportDescriptorParser::Parse(d.Bytes());
    ASSERT_TRUE(parsed);
    ReportDecoder decoder(parsed->collections[0]);
    const uint8_t report[] = {0x00, 51};
    decoder.Decode(report, sizeof report);
    EXPECT_EQ(decoder.Elements()[0].rawValue, 51u);
    EXPECT_EQ(decoder.Elements()[0].scaledValue, 200);
}

TEST(ReportDescriptorParser, RejectsHostileDescriptors)
{
    auto nested = [](int depth) {
        DescriptorBytes d;
        d.UsagePage(0x01).Usage(0x02);
        for (int i = 0; i < depth; ++i)
            d.Collection();
        for (int i = 0; i < depth; ++i)
            d.EndCollection();
        return d.Bytes();
    };
    auto pushes = [](int n) {
        DescriptorBytes d;
        for (int i = 0; i < n; ++i)
            d.Raw({0xA4});
        return d.Bytes();
    };
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"truncated short item", {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x26, 0xFF}},
        {"truncated long item header", {0xFE, 0x10}},
        {"long item longer than the rest", {0xFE, 0x10, 0x00, 0x01, 0x02}},
        {"huge count", DescriptorBytes().UsagePage(1).Usage(2).Collection().ReportSize(8).ReportCount(0x7FFFFFFF)
                           .Input(kVariable).EndCollection().Bytes()},
        {"report grows past the largest", DescriptorBytes().UsagePage(1).Usage(2).Collection().ReportSize(256)
                                              .ReportCount(400).Input(kVariable).Input(kVariable).EndCollection()
                                              .Bytes()},
        {"report size too large", DescriptorBytes().ReportSize(300).Bytes()},
        {"deep nesting", nested(40)},
        {"end without collection", {0xC0}},
        {"push overflow", pushes(17)},
        {"pop underflow", {0xB4}},
        {"report ID 0", {0x85, 0x00}},
        {"too long", std::vector<uint8_t>(ReportDescriptorParser::kMaxDescriptorSize + 1, 0x00)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string error;
        EXPECT_FALSE(ReportDescriptorParser::Parse(c.bytes, &error));
        EXPECT_FALSE(error.empty());
    }
    EXPECT_TRUE(ReportDescriptorParser::Parse(nested(32)));
}

TEST(ReportDescriptorParser, SkipsLongItemsAndKeepsGoing)
{
    auto bytes = ProductInterface();
    const std::vector<uint8_t> longItem = {0xFE, 0x03, 0x42, 0xAA, 0xBB, 0xCC};
    bytes.insert(bytes.begin(), longItem.begin(), longItem.end());
    const auto parsed = ReportDescriptorParser::Parse(bytes);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->collections.size(), 4u);
}

// Mutated and random descriptors never crash the parser, and whatever parses
// decodes random reports of any length without reading out of bounds.
TEST(ReportDescriptorParser, FuzzedInputIsHandledSafely)
{
    std::mt19937 rng(12345);
    const auto seeds = {ProductInterface(), NoIdInterface()};
    int parsedCount = 0;
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> bytes = *(seeds.begin() + (round % 2));
        if (round % 3 == 0) {
            bytes.resize(rng() % 200);
            for (auto& b : bytes)
                b = static_cast<uint8_t>(rng());
        } else {
            const int edits = 1 + static_cast<int>(rng() % 6);
            for (int e = 0; e < edits && !bytes.empty(); ++e) {
                const size_t at = rng() % bytes.size();
                switch (rng() % 3) {
                case 0:
                    bytes[at] = static_cast<uint8_t>(rng());
                    break;
                case 1:
                    bytes.erase(bytes.begin() + static_cast<long>(at));
                    break;
                default:
                    bytes.resize(at);
                    break;
                }
            }
        }
        const auto parsed = ReportDescriptorParser::Parse(bytes);
        if (!parsed)
            continue;
        ++parsedCount;
        for (const auto& collection : parsed->collections) {
            ReportDecoder decoder(collection);
            std::vector<uint8_t> report(rng() % 80 + 1);
            for (auto& b : report)
                b = static_cast<uint8_t>(rng());
            if (!collection.reportIds.empty())
                report[0] = collection.reportIds[rng() % collection.reportIds.size()];
            decoder.Decode(report.data(), report.size());
            EXPECT_LE(decoder.Elements().size(), ReportDecoder::kMaxElements);
        }
    }
    EXPECT_GT(parsedCount, 0);
}

} // namespace
