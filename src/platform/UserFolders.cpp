#include "platform/UserFolders.h"

#include <cstdlib>

namespace {

// An absolute XDG variable, else HOME with the default below it, else the
// default below the working folder.
std::filesystem::path XdgBase(const char* variable, const char* homeDefault)
{
    if (const char* value = std::getenv(variable); value && *value == '/')
        return value;
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / homeDefault;
    return homeDefault;
}

} // namespace

namespace UserFolders {

std::filesystem::path AppDataRoot() { return XdgBase("XDG_DATA_HOME", ".local/share") / "Gaming device"; }

std::filesystem::path ConfigFolder() { return XdgBase("XDG_CONFIG_HOME", ".config") / "Gaming device"; }

} // namespace UserFolders
