#pragma once

#include <filesystem>

// The per-user folders of the program, after the XDG base directory rules.
namespace UserFolders {

// $XDG_DATA_HOME (default ~/.local/share) followed by "Gaming device".
std::filesystem::path AppDataRoot();

// $XDG_CONFIG_HOME (default ~/.config) followed by "Gaming device".
std::filesystem::path ConfigFolder();

} // namespace UserFolders
