#pragma once

#include <string_view>

// An identifier that becomes part of a file name ("profileUUID", a macro's
// "Guid") must name a file inside its folder: not empty, not "." or "..",
// no path separator and no NUL.
bool IsPlainFileName(std::string_view name);
