#pragma once

#include <cstdint>
#include <string>

// The answer to one update query, and the content of one update list row.
struct UpdateInfo {
    static constexpr uint32_t kNewerAvailable = 1;
    static constexpr uint32_t kNoNewer = 7;

    uint32_t status = kNoNewer;
    int32_t deviceId = 0;
    std::string name;
    std::string currentVersionText;
    std::string serverVersionName;
    std::string serverVersionText;
    std::string downloadPath;
    std::string installerPath;  // empty when the reply's name is not a plain file name
};
