#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Bytes written as hexadecimal digits, two a byte with no separator
// ("0a1b"), as the command line and the emulator state file show them.

// The value of one hex digit of either case, -1 for any other character.
int HexDigitValue(char c);

// Lower-case digits.
std::string HexText(std::span<const uint8_t> bytes);

// Either case is read; nullopt for an odd number of digits or anything that is
// not a hex digit.
std::optional<std::vector<uint8_t>> ParseHexText(std::string_view text);
