#include "hid/ReportDump.h"

#include "platform/DebugLog.h"

std::string ReportDump::Line(const uint8_t* bytes32)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string line;
    line.reserve(32 * 3 + 8);
    for (size_t i = 0; i < 32; ++i) {
        if (i > 0)
            line += (i % 4 != 0) ? " " : (i <= 12 ? "   " : "  ");
        line += kHex[bytes32[i] >> 4];
        line += kHex[bytes32[i] & 0xF];
    }
    return line;
}

void ReportDump::Write(const char* title, const uint8_t* report64)
{
    DebugOutput(title);
    DebugOutput(Line(report64));
    DebugOutput(Line(report64 + 32));
}
