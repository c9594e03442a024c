#pragma once

#include "platform/JsonText.h"

#include <json/value.h>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

// Whole-file helpers for every JSON document of the profiles, the profile
// list, the macro store and the shoot files.

// The file's bytes; empty when it is missing, not a regular file, too large or
// cannot be read completely.
std::string ReadFileText(const std::filesystem::path& path);

// The parsed file as ParseJsonText reads it; null when the text is empty or does not parse.
Json::Value ReadJsonFile(const std::filesystem::path& path);

// Replaces the file with the bytes: they go to a temporary file in the same
// folder, which is flushed to disk and renamed over the old file, so a crash
// or a full disk in the middle leaves the previous file whole. False when the
// file could not be replaced (the old one is then untouched).
bool StoreFileText(const std::filesystem::path& path, const std::string& bytes);


// StoreJsonFile with the outcome: false when the file could not be replaced.
bool StoreJsonFileChecked(const std::filesystem::path& path, const Json::Value& value);

// Writes the value in styled form (three-space indentation, members in key
// order) followed by a line break, through StoreFileText. Reports 0 whatever
// happened: callers have no error path.
int StoreJsonFile(const std::filesystem::path& path, const Json::Value& value);

// Local time as "%d_%02d_%02d_%02d_%02d_%02d_%03d" (year to millisecond).
std::string MakeTimeStampName();

// A time stamp name that the predicate does not report as taken; two items
// made within one millisecond would otherwise share a file.
std::string MakeUniqueTimeStampName(const std::function<bool(const std::string&)>& taken);
