#include "update/ProgramVersion.h"

#include <charconv>
#include <string>

#ifndef GD_VERSION_TEXT
#error "GD_VERSION_TEXT must name the program version"
#endif

uint32_t ReadProgramVersion(std::string_view dotted)
{
    std::string digits;
    for (const char c : dotted)
        if (c != '.')
            digits += c;
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size())
        return 0;
    return value;
}

uint32_t ProgramVersion()
{
    return ReadProgramVersion(GD_VERSION_TEXT);
}
