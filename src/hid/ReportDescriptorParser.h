#pragma once

#include "hid/ReportDescriptor.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Parses a HID report descriptor into its top-level collections. Hostile
// input is rejected with a reason, never read past its end; sizes are
// bounded as the kernel bounds them.
class ReportDescriptorParser {
public:
    static constexpr size_t kMaxDescriptorSize = 16384;
    static constexpr size_t kMaxReportBytes = 16384;
    static constexpr uint32_t kMaxReportSizeBits = 256;
    static constexpr size_t kMaxCollectionDepth = 32;
    static constexpr size_t kMaxGlobalStack = 16;
    static constexpr size_t kMaxLocalUsages = 1024;
    static constexpr size_t kMaxFields = 4096;

    static std::optional<ReportDescriptor> Parse(const uint8_t* data, size_t size, std::string* error = nullptr);
    static std::optional<ReportDescriptor> Parse(const std::vector<uint8_t>& bytes, std::string* error = nullptr)
    {
        return Parse(bytes.data(), bytes.size(), error);
    }
};
