#pragma once

#include <cstdint>
#include <string_view>

// A dotted version read as the update check reads it: every "." removed and
// the rest read as a decimal number ("1.0.0.5" gives 1005); 0 when the text
// is empty or not a number.
uint32_t ReadProgramVersion(std::string_view dotted);

// The running program's version number, from the build's version text.
uint32_t ProgramVersion();
