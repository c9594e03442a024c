#include "profiles/DataFolders.h"

#include "platform/UserFolders.h"

#include <system_error>

namespace {

void CreateFolder(const std::filesystem::path& folder)
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
}

} // namespace

CDataFolders::CDataFolders(std::filesystem::path appDataRoot, std::filesystem::path defaultDataFolder)
    : m_root(appDataRoot.empty() ? DefaultAppDataRoot() : std::move(appDataRoot))
    , m_defaultData(defaultDataFolder.empty() ? ExecutableFolder() / "DefaultData" : std::move(defaultDataFolder))
{
}

std::filesystem::path CDataFolders::GetAppDataRoot() const
{
    CreateFolder(m_root);
    return m_root / "";
}

std::filesystem::path CDataFolders::GetDeviceDataFolder(std::string_view folderName) const
{
    const std::filesystem::path folder = GetAppDataRoot() / folderName;
    CreateFolder(folder);
    return folder / "";
}

std::filesystem::path CDataFolders::GetDefaultDataFolder() const { return m_defaultData / ""; }

std::filesystem::path CDataFolders::GetDefaultFile(std::string_view folderName) const
{
    return GetDefaultDataFolder() / (std::string(folderName) + ".Json");
}

std::filesystem::path CDataFolders::DefaultAppDataRoot() { return UserFolders::AppDataRoot(); }

std::filesystem::path CDataFolders::ExecutableFolder()
{
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path(ec) : self.parent_path();
}
