#include "hid/ReportDescriptorParser.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

namespace {

enum ItemType : uint8_t { kMain = 0, kGlobal = 1, kLocal = 2 };

enum MainTag : uint8_t { kInput = 0x8, kOutput = 0x9, kCollection = 0xA, kFeature = 0xB, kEndCollection = 0xC };

enum GlobalTag : uint8_t {
    kUsagePage = 0x0,
    kLogicalMin = 0x1,
    kLogicalMax = 0x2,
    kPhysicalMin = 0x3,
    kPhysicalMax = 0x4,
    kReportSize = 0x7,
    kReportId = 0x8,
    kReportCount = 0x9,
    kPush = 0xA,
    kPop = 0xB,
};

enum LocalTag : uint8_t { kUsage = 0x0, kUsageMin = 0x1, kUsageMax = 0x2 };

constexpr uint8_t kLongItemPrefix = 0xFE;
constexpr uint32_t kFlagConstant = 0x01;
constexpr uint32_t kFlagVariable = 0x02;
constexpr uint32_t kFlagRelative = 0x04;

struct Globals {
    uint16_t usagePage = 0;
    int32_t logicalMin = 0;
    int32_t logicalMax = 0;
    uint32_t logicalMaxRaw = 0;
    int logicalMaxBytes = 0;
    int32_t physicalMin = 0;
    int32_t physicalMax = 0;
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint8_t reportId = 0;
};

// A local usage before the usage page of its main item is applied.
struct LocalUsage {
    uint32_t value = 0;
    bool extended = false;  // four-byte form carries its own page
};

struct Locals {
    std::vector<LocalUsage> usages;
    std::vector<std::pair<LocalUsage, LocalUsage>> ranges;
    std::optional<LocalUsage> pendingMin;
    std::optional<LocalUsage> pendingMax;

    void Clear() { *this = Locals{}; }
    size_t Size() const { return usages.size() + ranges.size(); }
};

class Parser {
public:
    Parser(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    std::optional<ReportDescriptor> Run(std::string& error)
    {
        if (m_size > ReportDescriptorParser::kMaxDescriptorSize)
            return Fail(error, "report descriptor too long");
        size_t pos = 0;
        while (pos < m_size) {
            const uint8_t prefix = m_data[pos];
            if (prefix == kLongItemPrefix) {
                if (m_size - pos < 3)
                    return Fail(error, "truncated long item");
                const size_t length = m_data[pos + 1];
                if (m_size - pos - 3 < length)
                    return Fail(error, "truncated long item");
                pos += 3 + length;  // long items carry vendor data only
                continue;
            }
            static constexpr size_t kSizes[4] = {0, 1, 2, 4};
            const size_t length = kSizes[prefix & 0x3];
            if (m_size - pos - 1 < length)
                return Fail(error, "truncated item");
            uint32_t value = 0;
            for (size_t i = 0; i < length; ++i)
                value |= uint32_t{m_data[pos + 1 + i]} << (8 * i);
            pos += 1 + length;
            const auto type = static_cast<uint8_t>((prefix >> 2) & 0x3);
            const auto tag = static_cast<uint8_t>(prefix >> 4);
            std::string problem;
            bool ok = true;
            if (type == kMain)
                ok = Main(tag, value, problem);
            else if (type == kGlobal)
                ok = Global(tag, value, static_cast<int>(length), problem);
            else if (type == kLocal)
                ok = Local(tag, value, static_cast<int>(length), problem);
            if (!ok)
                return Fail(error, problem);
        }
        Finish();
        return std::move(m_result);
    }

private:
    static std::optional<ReportDescriptor> Fail(std::string& error, std::string text)
    {
        error = std::move(text);
        return std::nullopt;
    }

    static int32_t Signed(uint32_t value, int bytes)
    {
        switch (bytes) {
        case 1:
            return static_cast<int8_t>(value & 0xFF);
        case 2:
            return static_cast<int16_t>(value & 0xFFFF);
        case 4:
            return static_cast<int32_t>(value);
        default:
            return 0;
        }
    }

    bool Global(uint8_t tag, uint32_t value, int bytes, std::string& problem)
    {
        switch (tag) {
        case kUsagePage:
            m_globals.usagePage = static_cast<uint16_t>(value & 0xFFFF);
            break;
        case kLogicalMin:
            m_globals.logicalMin = Signed(value, bytes);
            break;
        case kLogicalMax:
            m_globals.logicalMax = Signed(value, bytes);
            m_globals.logicalMaxRaw = value;
            m_globals.logicalMaxBytes = bytes;
            break;
        case kPhysicalMin:
            m_globals.physicalMin = Signed(value, bytes);
            break;
        case kPhysicalMax:
            m_globals.physicalMax = Signed(value, bytes);
            break;
        case kReportSize:
            if (value > ReportDescriptorParser::kMaxReportSizeBits) {
                problem = "report size too large";
                return false;
            }
            m_globals.reportSize = value;
            break;
        case kReportCount:
            if (value > ReportDescriptorParser::kMaxReportBytes * 8) {
                problem = "report count too large";
                return false;
            }
            m_globals.reportCount = value;
            break;
        case kReportId:
            if (value == 0 || value > 0xFF) {
                problem = "invalid report ID";
                return false;
            }
            m_globals.reportId = static_cast<uint8_t>(value);
            m_result.usesReportIds = true;
            break;
        case kPush:
            if (m_globalStack.size() >= ReportDescriptorParser::kMaxGlobalStack) {
                problem = "global item stack overflow";
                return false;
            }
            m_globalStack.push_back(m_globals);
            break;
        case kPop:
            if (m_globalStack.empty()) {
                problem = "global item stack underflow";
                return false;
            }
            m_globals = m_globalStack.back();
            m_globalStack.pop_back();
            break;
        default:
            break;
        }
        return true;
    }

    bool Local(uint8_t tag, uint32_t value, int bytes, std::string& problem)
    {
        const LocalUsage usage{bytes == 4 ? value : (value & 0xFFFF), bytes == 4};
        switch (tag) {
        case kUsage:
            m_locals.usages.push_back(usage);
            break;
        case kUsageMin:
            m_locals.pendingMin = usage;
            break;
        case kUsageMax:
            m_locals.pendingMax = usage;
            break;
        default:
            return true;
        }
        if (m_locals.pendingMin && m_locals.pendingMax) {
            m_locals.ranges.emplace_back(*m_locals.pendingMin, *m_locals.pendingMax);
            m_locals.pendingMin.reset();
            m_locals.pendingMax.reset();
        }
        if (m_locals.Size() > ReportDescriptorParser::kMaxLocalUsages) {
            problem = "too many usages";
            return false;
        }
        return true;
    }

    uint32_t Resolve(const LocalUsage& usage) const
    {
        return usage.extended ? usage.value : (uint32_t{m_globals.usagePage} << 16 | usage.value);
    }

    bool Main(uint8_t tag, uint32_t value, std::string& problem)
    {
        bool ok = true;
        switch (tag) {
        case kCollection:
            ok = OpenCollection(problem);
            break;
        case kEndCollection:
            if (m_depth == 0) {
                problem = "end of a collection that was not opened";
                ok = false;
            } else {
                --m_depth;
            }
            break;
        case kInput:
            ok = AddField(HidReportType::Input, value, problem);
            break;
        case kOutput:
            ok = AddField(HidReportType::Output, value, problem);
            break;
        case kFeature:
            ok = AddField(HidReportType::Feature, value, problem);
            break;
        default:
            break;
        }
        m_locals.Clear();
        return ok;
    }

    bool OpenCollection(std::string& problem)
    {
        if (m_depth >= ReportDescriptorParser::kMaxCollectionDepth) {
            problem = "collections nested too deeply";
            return false;
        }
        if (m_depth == 0) {
            HidCollectionInfo info;
            uint32_t usage = 0;
            if (!m_locals.usages.empty())
                usage = Resolve(m_locals.usages.front());
            else if (!m_locals.ranges.empty())
                usage = Resolve(m_locals.ranges.front().first);
            else
                usage = uint32_t{m_globals.usagePage} << 16;
            info.usagePage = static_cast<uint16_t>(usage >> 16);
            info.usage = static_cast<uint16_t>(usage & 0xFFFF);
            m_result.collections.push_back(std::move(info));
            m_touched.emplace_back();
        }
        ++m_depth;
        return true;
    }

    bool AddField(HidReportType type, uint32_t flags, std::string& problem)
    {
        const auto key = std::make_pair(static_cast<int>(type), m_globals.reportId);
        uint64_t& bits = m_reportBits[key];
        const uint32_t offset = static_cast<uint32_t>(bits);
        bits += uint64_t{m_globals.reportSize} * m_globals.reportCount;
        if (bits > ReportDescriptorParser::kMaxReportBytes * 8) {
            problem = "report too long";
            return false;
        }
        if (m_result.collections.empty() || m_depth == 0)
            return true;  // outside a top-level collection: takes room, belongs to none
        m_touched.back().insert(key);
        if ((flags & kFlagConstant) || m_globals.reportSize == 0 || m_globals.reportCount == 0)
            return true;
        if (m_fieldCount >= ReportDescriptorParser::kMaxFields) {
            problem = "too many fields";
            return false;
        }
        HidField field;
        field.type = type;
        field.reportId = m_globals.reportId;
        field.bitOffset = offset;
        field.bitSize = static_cast<uint16_t>(m_globals.reportSize);
        field.count = m_globals.reportCount;
        field.variable = (flags & kFlagVariable) != 0;
        field.relative = (flags & kFlagRelative) != 0;
        field.logicalMin = m_globals.logicalMin;
        field.logicalMax = m_globals.logicalMax;
        // A maximum written as a negative number above a non-negative minimum is meant unsigned.
        if (field.logicalMin >= 0 && field.logicalMax < field.logicalMin && m_globals.logicalMaxBytes < 4)
            field.logicalMax = static_cast<int32_t>(m_globals.logicalMaxRaw);
        field.physicalMin = m_globals.physicalMin;
        field.physicalMax = m_globals.physicalMax;
        for (const auto& usage : m_locals.usages) {
            const uint32_t u = Resolve(usage);
            field.usages.push_back({u, u});
        }
        for (const auto& [min, max] : m_locals.ranges) {
            const uint32_t first = Resolve(min);
            const uint32_t last = Resolve(max);
            if (last >= first)
                field.usages.push_back({first, last});
        }
        m_result.collections.back().fields.push_back(std::move(field));
        ++m_fieldCount;
        return true;
    }

    void Finish()
    {
        for (size_t c = 0; c < m_result.collections.size(); ++c) {
            auto& info = m_result.collections[c];
            std::set<uint8_t> all;
            for (const auto& key : m_touched[c]) {
                const auto type = static_cast<size_t>(key.first);
                const uint64_t bytes = (m_reportBits[key] + 7) / 8 + 1;
                info.reportLength[type] = std::max(info.reportLength[type], static_cast<uint16_t>(bytes));
                info.reportIdsByType[type].push_back(key.second);
                all.insert(key.second);
            }
            for (auto& ids : info.reportIdsByType)
                std::sort(ids.begin(), ids.end());
            info.reportIds.assign(all.begin(), all.end());
        }
    }

    const uint8_t* m_data;
    size_t m_size;
    Globals m_globals;
    std::vector<Globals> m_globalStack;
    Locals m_locals;
    size_t m_depth = 0;
    size_t m_fieldCount = 0;
    ReportDescriptor m_result;
    std::map<std::pair<int, uint8_t>, uint64_t> m_reportBits;
    std::vector<std::set<std::pair<int, uint8_t>>> m_touched;  // per top-level collection
};

} // namespace

std::optional<ReportDescriptor> ReportDescriptorParser::Parse(const uint8_t* data, size_t size, std::string* error)
{
    std::string problem;
    if (data == nullptr && size != 0) {
        if (error)
            *error = "no descriptor";
        return std::nullopt;
    }
    auto result = Parser(data, size).Run(problem);
    if (!result && error)
        *error = problem;
    return result;
}
