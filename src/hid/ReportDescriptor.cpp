#include "hid/ReportDescriptor.h"

#include <algorithm>

uint64_t HidField::UsageCount() const
{
    uint64_t n = 0;
    for (const auto& span : usages)
        n += uint64_t{span.last} - span.first + 1;
    return n;
}

uint32_t HidField::UsageAt(uint64_t index) const
{
    for (const auto& span : usages) {
        const uint64_t size = uint64_t{span.last} - span.first + 1;
        if (index < size)
            return static_cast<uint32_t>(span.first + index);
        index -= size;
    }
    return usages.empty() ? 0 : usages.back().last;
}

bool HidCollectionInfo::HasReportId(HidReportType type, uint8_t id) const
{
    const auto& ids = ReportIds(type);
    return std::binary_search(ids.begin(), ids.end(), id);
}
