#include "update/UpdatePaths.h"

#include "platform/PlainFileName.h"
#include "platform/UserFolders.h"

#include <string>
#include <system_error>

std::filesystem::path UpdatePaths::DefaultDataFolder() { return UserFolders::AppDataRoot(); }

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

std::filesystem::path UpdatePaths::LocalInstallerPath(std::string_view name)
{
    if (!IsPlainFileName(name))
        return {};
    return InstallerFolder() / (std::string(name) + ".exe");
}
