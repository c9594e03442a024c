#pragma once

#include "TempFolder.h"
#include "profiles/JsonFile.h"

#include <gtest/gtest.h>
#include <json/reader.h>
#include <json/value.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include <filesystem>
#include <string>

inline Json::Value ParseJson(const std::string& text)
{
    Json::Value value;
    Json::CharReaderBuilder builder;
    std::istringstream in(text);
    std::string errors;
    EXPECT_TRUE(Json::parseFromStream(builder, in, &value, &errors)) << text << errors;
    return value;
}

inline void WriteText(const std::filesystem::path& path, const std::string& text)
{
    EXPECT_TRUE(StoreFileText(path, text)) << path;
}

// The files directly in a folder, by name.
inline std::vector<std::string> FileNames(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

inline std::filesystem::path SourceDefaultData() { return GD_DEFAULT_DATA_DIR; }

// "2022_11_01_09_05_07_042": year to millisecond.
inline bool IsTimeStampName(const std::string& name)
{
    const std::string form = "dddd_dd_dd_dd_dd_dd_ddd";
    if (name.size() != form.size())
        return false;
    for (size_t i = 0; i < form.size(); ++i) {
        const bool digit = name[i] >= '0' && name[i] <= '9';
        if (form[i] == 'd' ? !digit : name[i] != '_')
            return false;
    }
    return true;
}
