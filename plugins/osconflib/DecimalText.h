#pragma once

#include <cstddef>
#include <optional>
#include <string>

// Decimal numbers as the library's text values carry them, with a decimal
// point whatever the process locale says.
std::string FormatDecimal(double value);
// The number in a NUL-terminated text of at most `size` bytes; surrounding
// blanks are allowed, anything else is no number.
std::optional<double> ParseDecimal(const char* text, std::size_t size);
