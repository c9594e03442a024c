#include "profiles/ProfileList.h"

#include "profiles/JsonAccess.h"
#include "profiles/JsonFile.h"
#include "platform/PlainFileName.h"
#include "profiles/TextConvert.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

namespace {

const Json::Value& EntryAt(const Json::Value& list, int index)
{
    return index < 0 ? Json::Value::nullSingleton()
                     : JsonAt(JsonMember(list, "profilelist"), static_cast<Json::ArrayIndex>(index));
}

std::string UuidOf(const Json::Value& list, int index) { return JsonText(JsonMember(EntryAt(list, index), "profileUUID")); }

Json::Value NewEntry(const std::wstring& name, const std::string& uuid)
{
    Json::Value entry(Json::objectValue);
    entry["profilename"] = WideToUtf8(name);
    entry["profileUUID"] = uuid;
    entry["profileislink"] = 0;
    entry["profilelinkmame"] = "";
    return entry;
}

void Rename(Json::Value& profile, const std::wstring& name, const std::string& uuid)
{
    JsonSlot(profile, "profilename") = WideToUtf8(name);
    JsonSlot(profile, "profileUUID") = uuid;
}

std::wstring Numbered(const std::wstring& pattern, int n)
{
    wchar_t text[64];
    std::swprintf(text, 64, pattern.c_str(), n);
    return text;
}

} // namespace

void CProfileList::SetFolders(std::filesystem::path folder, std::filesystem::path defaultFile)
{
    m_folder = std::move(folder);
    m_defaultFile = std::move(defaultFile);
}

void CProfileList::ReadList() { m_list = ReadJsonFile(ListFile()); }

void CProfileList::StoreList() { StoreJsonFile(ListFile(), m_list); }

std::filesystem::path CProfileList::FileOf(const Json::Value& list, int index) const
{
    const std::string uuid = UuidOf(list, index);
    if (!IsPlainFileName(uuid))
        return {};
    return m_folder / (uuid + ".Json");
}

bool CProfileList::NameTaken(const std::wstring& name, int except) const
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (static_cast<int>(i) != except && EqualsIgnoringCase(m_items[i], name))
            return true;
    }
    return false;
}

std::string CProfileList::NewUuid() const
{
    const Json::Value list = ReadJsonFile(ListFile());
    return MakeUniqueTimeStampName([&](const std::string& uuid) {
        for (Json::ArrayIndex i = 0; i < JsonSize(JsonMember(list, "profilelist")); ++i) {
            if (UuidOf(list, static_cast<int>(i)) == uuid)
                return true;
        }
        std::error_code ec;
        return std::filesystem::exists(m_folder / (uuid + ".Json"), ec);
    });
}

void CProfileList::LoadProfileList()
{
    ReadList();
    if (JsonSize(JsonMember(m_list, "profilelist")) == 0) {
        const std::string uuid = NewUuid();
        Json::Value& entries = JsonSlot(m_list, "profilelist");
        entries = Json::Value(Json::arrayValue);
        entries[0u] = NewEntry(L"profile1", uuid);
        m_list["profileselect"] = 0;
        StoreList();
        Json::Value profile = ReadJsonFile(m_defaultFile);
        Rename(profile, L"profile1", uuid);
        StoreJsonFile(m_folder / (uuid + ".Json"), profile);
    }
    m_items.clear();
    const Json::Value& entries = JsonMember(m_list, "profilelist");
    for (Json::ArrayIndex i = 0; i < JsonSize(entries); ++i)
        m_items.push_back(Utf8ToWide(JsonText(JsonMember(entries[i], "profilename"))));
    SelectProfile(JsonField<int>(JsonMember(m_list, "profileselect")));
}

void CProfileList::SelectProfile(int index)
{
    if (m_items.empty())
        return;
    if (index < 0 || index >= static_cast<int>(m_items.size()))
        index = 0;
    m_selected = index;
    m_nameText = m_items[static_cast<size_t>(index)];
    ReadList();
    JsonSlot(m_list, "profileselect") = index;
    const std::string uuid = UuidOf(m_list, index);
    m_currentUuid = IsPlainFileName(uuid) ? Utf8ToWide(uuid) : std::wstring();
    StoreList();
}

int CProfileList::GetProfileCount()
{
    m_countList = ReadJsonFile(ListFile());
    return static_cast<int>(JsonSize(JsonMember(m_countList, "profilelist")));
}

std::filesystem::path CProfileList::GetProfileFileAt(int index) const { return FileOf(m_countList, index); }

void CProfileList::AppendProfile(const std::wstring& name, Json::Value profile, bool select)
{
    m_items.push_back(name);
    const std::string uuid = NewUuid();
    ReadList();
    const auto last = static_cast<Json::ArrayIndex>(m_items.size() - 1);
    JsonSlot(JsonSlot(m_list, "profilelist"), last) = NewEntry(name, uuid);
    if (select)
        m_list["profileselect"] = static_cast<int>(last);
    StoreList();
    Rename(profile, name, uuid);
    StoreJsonFile(m_folder / (uuid + ".Json"), profile);
}

bool CProfileList::AddProfile()
{
    if (m_items.size() >= kMaxProfiles)
        return false;
    int n = 1;
    while (NameTaken(Numbered(L"profile%d", n)))
        ++n;
    AppendProfile(Numbered(L"profile%d", n), ReadJsonFile(m_defaultFile), true);
    return true;
}

void CProfileList::DeleteProfile()
{
    const int s = m_selected;
    if (s < 0 || m_items.size() < 2)
        return;
    const int t = s > 0 ? s - 1 : 0;
    ReadList();
    const std::filesystem::path file = FileOf(m_list, s);
    Json::Value& entries = JsonSlot(m_list, "profilelist");
    if (s < static_cast<int>(entries.size()))
        entries.removeIndex(static_cast<Json::ArrayIndex>(s), nullptr);
    if (!file.empty()) {
        std::error_code ec;
        std::filesystem::remove(file, ec);
    }
    m_list["profileselect"] = t;
    StoreList();
    m_items.erase(m_items.begin() + s);
    SelectProfile(t);
}

bool CProfileList::CopyProfile()
{
    const int s = m_selected;
    if (s < 0 || m_items.size() >= kMaxProfiles)
        return false;
    std::wstring name = m_items[static_cast<size_t>(s)] + L" copy";
    while (NameTaken(name))
        name += L" copy";
    ReadList();
    const std::filesystem::path source = FileOf(m_list, s);
    AppendProfile(name, source.empty() ? Json::Value() : ReadJsonFile(source), false);
    return true;
}

bool CProfileList::IsImportable(const Json::Value& profile)
{
    return JsonMember(profile, "profilename").isString() && JsonMember(profile, "profileUUID").isString();
}

bool CProfileList::ImportProfile(const std::filesystem::path& source)
{
    Json::Value profile = ReadJsonFile(source);
    if (!IsImportable(profile) || m_items.size() >= kMaxProfiles)
        return false;
    std::wstring name = Utf8ToWide(source.stem().string());
    for (int k = 1; NameTaken(name); ++k)
        name += Numbered(L"(%d)", k);
    AppendProfile(name, std::move(profile), false);
    return true;
}

bool CProfileList::ExportProfile(const std::filesystem::path& target)
{
    ReadList();
    const std::filesystem::path source = FileOf(m_list, m_selected);
    if (m_selected < 0 || source.empty() || target.empty())
        return false;
    return StoreJsonFileChecked(target, ReadJsonFile(source));
}

void CProfileList::ResetProfile()
{
    ReadList();
    const std::filesystem::path file = FileOf(m_list, m_selected);
    if (m_selected < 0 || file.empty())
        return;
    const std::wstring name = Utf8ToWide(JsonText(JsonMember(EntryAt(m_list, m_selected), "profilename")));
    Json::Value profile = ReadJsonFile(m_defaultFile);
    Rename(profile, name, UuidOf(m_list, m_selected));
    if (m_kind == DeviceKind::Headset) {
        const Json::Value old = ReadJsonFile(file);
        const Json::Value& oldEntry = JsonAt(JsonMember(old, "Device"), 0);
        Json::Value& entry = JsonSlot(JsonSlot(profile, "Device"), 0u);
        for (const char* key : {"CustomEQNameInfo", "CustomEQHzValueInfo"})
            JsonSlot(entry, key) = JsonMember(oldEntry, key);
    }
    StoreJsonFile(file, profile);
}

int CProfileList::RenameProfile(const std::wstring& name)
{
    if (IsBlank(name))
        return 2;
    const int s = m_selected;
    if (s < 0 || NameTaken(name, s))
        return 0;
    m_items[static_cast<size_t>(s)] = name;
    m_nameText = name;
    ReadList();
    JsonSlot(JsonSlot(JsonSlot(m_list, "profilelist"), static_cast<Json::ArrayIndex>(s)), "profilename")
        = WideToUtf8(name);
    StoreList();
    if (const std::filesystem::path file = FileOf(m_list, s); !file.empty()) {
        Json::Value profile = ReadJsonFile(file);
        JsonSlot(profile, "profilename") = WideToUtf8(name);
        StoreJsonFile(file, profile);
    }
    return 1;
}
