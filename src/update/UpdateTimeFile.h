#pragma once

#include <ctime>
#include <filesystem>
#include <string>

// "updatetime.config" in the application data folder:
// {"updatelasttime": {"value": "<year>-<month>-<day>"}}.
class UpdateTimeFile {
public:
    explicit UpdateTimeFile(std::filesystem::path dataFolder);

    // The stored date; empty when the file is missing, unreadable or has no "value".
    std::string Read() const;
    // The stored date, writing today's first when there is none.
    std::string ReadOrCreate() const;
    // Stores today's date; false when the file could not be written.
    bool WriteToday() const;

    const std::filesystem::path& Path() const { return m_path; }

    // Local date of `when` in decimal without leading zeros ("2026-3-7").
    static std::string FormatDate(std::time_t when);

private:
    bool Write(const std::string& date) const;

    std::filesystem::path m_path;
};
