#pragma once

#include <filesystem>
#include <string_view>

// Where user data and shipped data live. The application data root is
// "$XDG_DATA_HOME/Gaming device" ("~/.local/share/Gaming device" without it);
// the shipped data is the "DefaultData" folder beside the executable. Either
// can be given explicitly (command-line options, tests).
class CDataFolders {
public:
    explicit CDataFolders(std::filesystem::path appDataRoot = {}, std::filesystem::path defaultDataFolder = {});

    // The application data root, created when missing (errors are ignored).
    std::filesystem::path GetAppDataRoot() const;
    // The root + the kind's folder name, created when missing.
    std::filesystem::path GetDeviceDataFolder(std::string_view folderName) const;
    std::filesystem::path GetDefaultDataFolder() const;
    // The factory profile of a device kind: folder name + ".Json" in the default data folder.
    std::filesystem::path GetDefaultFile(std::string_view folderName) const;

    static std::filesystem::path DefaultAppDataRoot();
    static std::filesystem::path ExecutableFolder();

private:
    std::filesystem::path m_root;
    std::filesystem::path m_defaultData;
};
