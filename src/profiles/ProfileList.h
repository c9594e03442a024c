#pragma once

#include "hid/DeviceKind.h"

#include <json/value.h>

#include <filesystem>
#include <string>
#include <vector>

// The profiles of one device kind: "ProfileList.ini" in the kind's folder and
// one "<profileUUID>.Json" per profile. The working list (one item per
// "profilelist" entry, with a selection) is what the profile bar shows; the
// list file is re-read before every change and stored after it.
//
// A list entry whose "profileUUID" is not a plain file name is never used to
// read, write or delete a file; the rest of each operation goes on.
class CProfileList {
public:
    static constexpr size_t kMaxProfiles = 50;
    static constexpr const char* kListFileName = "ProfileList.ini";

    void SetKind(DeviceKind kind) { m_kind = kind; }
    void SetFolders(std::filesystem::path folder, std::filesystem::path defaultFile);

    // Reads the list, creating "profile1" from the factory file when it has no
    // entry, fills the working list and selects "profileselect".
    void LoadProfileList();
    // An index outside the list selects item 0.
    void SelectProfile(int index);
    int GetSelectedIndex() const { return m_selected; }
    const std::vector<std::wstring>& Items() const { return m_items; }
    // The name field of the profile bar: the selected name, or the new name after a rename.
    const std::wstring& GetNameText() const { return m_nameText; }
    void SetNameText(std::wstring text) { m_nameText = std::move(text); }

    // Re-reads the list file; the number of its entries.
    int GetProfileCount();
    // The profile file of entry i of the list last read by GetProfileCount;
    // empty when the entry has no usable identifier.
    std::filesystem::path GetProfileFileAt(int index) const;
    // The selected profile's identifier; empty when it is not a plain file name.
    const std::wstring& GetCurrentUuid() const { return m_currentUuid; }

    // False (and nothing changed) when the list already holds 50 profiles.
    bool AddProfile();
    // Nothing happens with no selection or a single profile.
    void DeleteProfile();
    bool CopyProfile();
    // Only a file whose "profilename" and "profileUUID" are strings is imported.
    bool ImportProfile(const std::filesystem::path& source);
    bool ExportProfile(const std::filesystem::path& target);
    void ResetProfile();
    // 2: blank name; 0: name used by another profile (or no selection); 1: renamed.
    int RenameProfile(const std::wstring& name);

    static bool IsImportable(const Json::Value& profile);
    // The list document as last read or written.
    const Json::Value& ListDocument() const { return m_list; }
    std::filesystem::path ListFile() const { return m_folder / kListFileName; }

private:
    void ReadList();
    void StoreList();
    bool NameTaken(const std::wstring& name, int except = -1) const;
    std::string NewUuid() const;
    // Appends the item, writes its list entry and its profile file.
    void AppendProfile(const std::wstring& name, Json::Value profile, bool select);
    std::filesystem::path FileOf(const Json::Value& list, int index) const;

    DeviceKind m_kind = DeviceKind::None;
    std::filesystem::path m_folder;
    std::filesystem::path m_defaultFile;
    std::vector<std::wstring> m_items;
    int m_selected = -1;
    std::wstring m_nameText;
    std::wstring m_currentUuid;
    Json::Value m_list;
    Json::Value m_countList;
};
