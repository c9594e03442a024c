#pragma once

#include <json/value.h>

#include <string>
#include <string_view>

// The styled text of a JSON document as every file of the program is written:
// three-space indentation, members in key order, UTF-8, a final line break.
std::string StyledJsonText(const Json::Value& value);

// The parsed text (comments allowed, not kept); null when it does not parse.
Json::Value ParseJsonText(std::string_view text);
