#pragma once

#include <filesystem>
#include <string_view>

// Replaces the file at `path` with `data`: the bytes go to a temporary file in
// the same folder, are flushed to disk, and the temporary file is renamed over
// the old one, so a crash mid-write leaves either the old or the new content.
// Creates the folder when missing. False when any step failed (the old file is
// then untouched).
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view data);
