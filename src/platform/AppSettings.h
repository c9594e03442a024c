#pragma once

#include <json/value.h>

#include <filesystem>
#include <string>

// The program's own settings file, a JSON object under
// $XDG_CONFIG_HOME/Gaming device/ (default ~/.config). Keys the program does
// not know are kept when the file is written again.
class AppSettings {
public:
    static constexpr const char* kUpdateServer = "UpdateServer";
    static constexpr const char* kUpdateCaFile = "UpdateCaFile";
    static constexpr const char* kLanguage = "LANGUAGE";

    // "<config home>/Gaming device/settings.json".
    static std::filesystem::path DefaultPath();

    explicit AppSettings(std::filesystem::path path = DefaultPath());

    // Reads the file; a missing or unreadable file, or one that is not a JSON
    // object, reads as no settings (false is returned for the latter two).
    bool Load();
    // Writes every key atomically; false when the file could not be written.
    bool Save() const;

    const std::filesystem::path& Path() const { return m_path; }

    // The text of a key; empty when absent or not a text.
    std::string Text(const char* key) const;
    void SetText(const char* key, const std::string& value);
    void Remove(const char* key);

    std::string UpdateServer() const { return Text(kUpdateServer); }
    std::string UpdateCaFile() const { return Text(kUpdateCaFile); }

private:
    std::filesystem::path m_path;
    Json::Value m_root{Json::objectValue};
};
