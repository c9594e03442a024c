#pragma once

#include "profiles/LightRecords.h"
#include "profiles/ProfileRecords.h"

#include <json/value.h>

#include <cstdint>
#include <filesystem>
#include <vector>

// The settings of a device's current profile: the device entry ("Device"[index])
// of the profile file in memory, with typed reads and writes of its sections.
// Reads and writes touch only memory; Save and the other virtual operations
// write the file. No operation reports an error: missing files, members and
// members of an unexpected type read as zero or empty.
class CBasicProfiledata {
public:
    CBasicProfiledata() = default;
    virtual ~CBasicProfiledata() = default;
    CBasicProfiledata(const CBasicProfiledata&) = delete;
    CBasicProfiledata& operator=(const CBasicProfiledata&) = delete;

    // The four file operations, shared by every kind.
    virtual void Save();
    virtual void WriteDeviceEntry(const Json::Value& value, const std::filesystem::path& path);
    virtual void SaveScratchTo(const std::filesystem::path& path);
    virtual void WriteValueToFile(const Json::Value& value, const std::filesystem::path& path);

    // An empty path is ignored.
    void SetProfileFile(const std::filesystem::path& path);
    const std::filesystem::path& GetProfileFile() const { return m_profileFile; }
    void SetDefaultFile(const std::filesystem::path& path);
    const std::filesystem::path& GetDefaultFile() const { return m_defaultFile; }
    void SetDeviceIndex(int32_t index) { m_deviceIndex = index; }
    int32_t GetDeviceIndex() const { return m_deviceIndex; }

    // Reads the device entry of the file; a missing one is taken from the
    // factory file and written into the file, whose other members stay.
    Json::Value LoadDeviceEntry(const std::filesystem::path& path);
    Json::Value LoadScratchEntry(const std::filesystem::path& path);
    const Json::Value& DeviceEntry() const { return m_entry; }
    const Json::Value& ScratchEntry() const { return m_scratch; }

    std::vector<KeyEntry> ReadKeyList();
    void WriteKeyList(const std::vector<KeyEntry>& keys);
    std::vector<KeyEntry> ReadScratchKeyList();
    void WriteScratchKeyList(const std::vector<KeyEntry>& keys);

    LightInfoRecord ReadLightInfo();
    void WriteLightInfo(const LightInfoRecord& record);
    std::vector<LightInfoRecord> ReadLightList();
    void SetLightConfigFile(const std::filesystem::path& path) { m_lightConfigFile = path; }
    const std::filesystem::path& GetLightConfigFile() const { return m_lightConfigFile; }
    Json::Value LoadLightConfig(const std::filesystem::path& path);
    // The steps of the custom effect that the current LightInfo selects in
    // the light configuration ("Guid" + ".light").
    std::vector<CustomEffectStep> ReadCustomEffect();

protected:
    Json::ArrayIndex DeviceSlot() const;
    Json::Value& Entry() { return m_entry; }
    const Json::Value& EntryMember(const char* key) const;
    Json::Value& EntrySlot(const char* key);

private:
    Json::Value LoadEntry(const std::filesystem::path& path);

    std::filesystem::path m_profileFile;
    std::filesystem::path m_defaultFile;
    std::filesystem::path m_lightConfigFile;
    Json::Value m_entry;
    Json::Value m_scratch;
    Json::Value m_lightConfig;
    LightInfoRecord m_lightInfo;
    const LightInfoRecord m_fallbackLightInfo{};
    std::vector<LightInfoRecord> m_lightList;
    std::vector<CustomEffectStep> m_customSteps;
    std::vector<KeyEntry> m_keys;
    std::vector<KeyEntry> m_scratchKeys;
    int32_t m_deviceIndex = 0;
};
