#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The debug form of a 64-byte report: two lines of 32 bytes in eight groups
// of four, three spaces between the first four groups and two between the rest.
class ReportDump {
public:
    static std::string Line(const uint8_t* bytes32);
    // Writes title, then the two lines, to the debug output.
    static void Write(const char* title, const uint8_t* report64);
};
