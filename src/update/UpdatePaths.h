#pragma once

#include <filesystem>
#include <string_view>

// Folders and file names of the update check.
class UpdatePaths {
public:
    // The application data folder: $XDG_DATA_HOME (default ~/.local/share)
    // followed by "Gaming device".
    static std::filesystem::path DefaultDataFolder();

    // The system temporary folder followed by "UpdateData", created (for the
    // user alone) when missing.
    static std::filesystem::path InstallerFolder();

    // InstallerFolder()/<name>.exe, or empty when `name` is not a plain file name.
    static std::filesystem::path LocalInstallerPath(std::string_view name);
};
