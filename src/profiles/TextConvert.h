#pragma once

#include <string>
#include <string_view>

// Wide text in memory, UTF-8 in every file.
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

// Names in the profile and macro lists are compared without regard to case.
bool EqualsIgnoringCase(std::wstring_view a, std::wstring_view b);

// True when the text holds nothing but white space.
bool IsBlank(std::wstring_view text);
