#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

enum class HidReportType : uint8_t { Input = 0, Output = 1, Feature = 2 };
constexpr size_t kHidReportTypeCount = 3;

// A run of usages: a single usage (first == last) or a usage range.
// Values are extended usages: page << 16 | usage.
struct HidUsageSpan {
    uint32_t first = 0;
    uint32_t last = 0;
};

// One main item with data (constant padding is not kept).
struct HidField {
    HidReportType type = HidReportType::Input;
    uint8_t reportId = 0;       // 0 when the descriptor uses no report IDs
    uint32_t bitOffset = 0;     // from the first bit after the report ID byte
    uint16_t bitSize = 0;
    uint32_t count = 0;
    bool variable = false;      // else an array of usage indexes
    bool relative = false;
    int32_t logicalMin = 0;
    int32_t logicalMax = 0;
    int32_t physicalMin = 0;
    int32_t physicalMax = 0;
    std::vector<HidUsageSpan> usages;

    // A field the platform reports as buttons: an array, or one-bit variables.
    bool IsButton() const { return !variable || bitSize == 1; }

    uint64_t UsageCount() const;
    // The usage of entry index; past the end, the last usage.
    uint32_t UsageAt(uint64_t index) const;
};

// One top-level collection with what the platform reports as capabilities.
struct HidCollectionInfo {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    std::vector<uint8_t> reportIds;  // every report ID used inside, ascending
    std::array<std::vector<uint8_t>, kHidReportTypeCount> reportIdsByType;
    // Longest report of each type plus one byte for the report ID (0 when the
    // collection has no report of that type).
    std::array<uint16_t, kHidReportTypeCount> reportLength{};
    std::vector<HidField> fields;

    uint16_t ReportLength(HidReportType type) const { return reportLength[static_cast<size_t>(type)]; }
    const std::vector<uint8_t>& ReportIds(HidReportType type) const
    {
        return reportIdsByType[static_cast<size_t>(type)];
    }
    bool HasReportId(HidReportType type, uint8_t id) const;
};

struct ReportDescriptor {
    bool usesReportIds = false;
    std::vector<HidCollectionInfo> collections;  // top-level, in descriptor order
};
