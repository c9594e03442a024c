#pragma once

#include <filesystem>
#include <string_view>

// Replaces the file at `path` with `data`: the bytes go to a temporary file in
// the same folder, are flushed to disk, and the temporary file is renamed over
// the old one (keeping the old file's permissions), so a crash or a full disk
// mid-write leaves either the old or the new content. False when any step
// failed; the old file is then untouched and no temporary file is left.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view data);

// WriteFileAtomically after creating the folder when it is missing.
bool WriteFileAtomicallyCreatingFolder(const std::filesystem::path& path, std::string_view data);
