#pragma once

#include <json/value.h>

#include <string>

// The styled text of a JSON document as every file of the program is written:
// three-space indentation, members in key order, UTF-8, a final line break.
std::string StyledJsonText(const Json::Value& value);
