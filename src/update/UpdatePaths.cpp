#include "update/UpdatePaths.h"

#include <cstdlib>
#include <string>
#include <system_error>

std::filesystem::path UpdatePaths::DefaultDataFolder()
{
    std::filesystem::path base;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data == '/')
        base = data;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::filesystem::path(home) / ".local" / "share";
    else
        base = std::filesystem::path(".local") / "share";
    return base / "Gaming device";
}

std::filesystem::path UpdatePaths::InstallerFolder()
{
    std::error_code ec;
    std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
    if (ec)
        temp = "/tmp";
    const auto folder = temp / "UpdateData";
    if (std::filesystem::create_directory(folder, ec))
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all, ec);
    return folder;
}

bool UpdatePaths::IsPlainFileName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

std::filesystem::path UpdatePaths::LocalInstallerPath(std::string_view name)
{
    if (!IsPlainFileName(name))
        return {};
    return InstallerFolder() / (std::string(name) + ".exe");
}
