#include "profiles/MacroStore.h"

#include "profiles/JsonAccess.h"
#include "profiles/JsonFile.h"
#include "profiles/MacroEvent.h"
#include "platform/PlainFileName.h"
#include "profiles/TextConvert.h"

#include <json/writer.h>

#include <memory>
#include <system_error>

namespace {

std::string CompactText(const Json::Value& value)
{
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, value);
}

} // namespace

void CMacroStore::SetFolder(std::filesystem::path folder, std::string listFileName)
{
    m_folder = std::move(folder);
    m_listFileName = std::move(listFileName);
}

void CMacroStore::LoadMacroList()
{
    m_items.clear();
    m_selected = -1;
    if (m_folder.empty())
        return;
    const Json::Value list = JsonMember(ReadJsonFile(ListFile()), "MacroInfo");
    for (Json::ArrayIndex i = 0; i < JsonSize(list); ++i) {
        m_items.push_back(
            {Utf8ToWide(JsonText(JsonMember(list[i], "MacroName"))), JsonText(JsonMember(list[i], "Guid"))});
    }
}

void CMacroStore::SelectMacro(int index)
{
    m_selected = index >= 0 && index < static_cast<int>(m_items.size()) ? index : -1;
}

bool CMacroStore::NameTaken(const std::wstring& name) const
{
    for (const auto& item : m_items) {
        if (EqualsIgnoringCase(item.name, name))
            return true;
    }
    return false;
}

std::filesystem::path CMacroStore::GetMacroFile(int index) const
{
    if (m_folder.empty() || index < 0 || index >= static_cast<int>(m_items.size()))
        return {};
    const std::string& guid = m_items[static_cast<size_t>(index)].guid;
    return IsPlainFileName(guid) ? m_folder / (guid + ".mac") : std::filesystem::path();
}

Json::Value CMacroStore::ReadMacroEvents(int index) const
{
    const std::filesystem::path file = GetMacroFile(index);
    return file.empty() ? Json::Value() : JsonMember(ReadJsonFile(file), "Events");
}

std::wstring CMacroStore::AddMacro()
{
    if (m_items.size() >= kMaxMacros)
        return {};
    int n = 1;
    std::wstring name;
    do {
        name = L"macro_";
        name += std::to_wstring(n++);
    } while (NameTaken(name));
    const auto k = static_cast<Json::ArrayIndex>(m_items.size());
    const std::string guid = MakeUniqueTimeStampName([&](const std::string& candidate) {
        for (const auto& item : m_items) {
            if (item.guid == candidate)
                return true;
        }
        std::error_code ec;
        return std::filesystem::exists(m_folder / (candidate + ".mac"), ec);
    });
    m_items.push_back({name, guid});
    Json::Value file = ReadJsonFile(ListFile());
    Json::Value entry(Json::objectValue);
    entry["MacroName"] = WideToUtf8(name);
    entry["Guid"] = guid;
    JsonSlot(JsonSlot(file, "MacroInfo"), k) = entry;
    StoreJsonFile(ListFile(), file);
    m_selected = static_cast<int>(m_items.size() - 1);
    return name;
}

int CMacroStore::DeleteMacro()
{
    const int d = m_selected;
    if (d < 0)
        return -1;
    if (const std::filesystem::path file = GetMacroFile(d); !file.empty()) {
        std::error_code ec;
        std::filesystem::remove(file, ec);
    }
    m_items.erase(m_items.begin() + d);
    SelectMacro(0);
    Json::Value file = ReadJsonFile(ListFile());
    Json::Value& list = JsonSlot(file, "MacroInfo");
    if (d < static_cast<int>(list.size()))
        list.removeIndex(static_cast<Json::ArrayIndex>(d), nullptr);
    StoreJsonFile(ListFile(), file);
    return d;
}

CMacroStore::RenameResult CMacroStore::RenameMacro(const std::wstring& name)
{
    if (m_selected < 0 || IsBlank(name))
        return RenameResult::Unchanged;
    if (NameTaken(name))
        return RenameResult::NameInUse;
    m_items[static_cast<size_t>(m_selected)].name = name;
    Json::Value file = ReadJsonFile(ListFile());
    Json::Value& entry = JsonSlot(JsonSlot(file, "MacroInfo"), static_cast<Json::ArrayIndex>(m_selected));
    JsonSlot(entry, "MacroName") = WideToUtf8(name);
    StoreJsonFile(ListFile(), file);
    return RenameResult::Renamed;
}

void CMacroStore::SaveMacro(std::vector<MacroRow>& rows)
{
    const std::filesystem::path target = GetMacroFile(m_selected);
    if (target.empty())
        return;
    const MacroItem& item = m_items[static_cast<size_t>(m_selected)];
    Json::Value document(Json::objectValue);
    document["MacroName"] = WideToUtf8(item.name);
    document["Guid"] = item.guid;
    Json::Value& events = document["Events"] = Json::Value(Json::arrayValue);
    for (Json::ArrayIndex r = 0; r < rows.size(); ++r) {
        MacroRow& row = rows[r];
        if (row.delayText.empty())
            row.delayText.push_back('0');
        const std::string delay = std::to_string(ParseDelayText(row.delayText));
        if (row.eventText.empty())
            break;
        Json::Value event = ParseJsonText(row.eventText);
        JsonSlot(event, "Delay") = delay;
        events[r] = event;
        row.eventText = CompactText(event);
    }
    document["Version"] = kFileVersion;
    StoreJsonFile(target, document);
}

std::wstring CMacroStore::ImportMacro(const std::filesystem::path& source)
{
    std::error_code ec;
    if (source.empty() || !std::filesystem::is_regular_file(source, ec) || m_items.size() >= kMaxMacros)
        return {};
    const std::string content = ReadFileText(source);
    const std::wstring name = AddMacro();
    if (const std::filesystem::path target = GetMacroFile(m_selected); !target.empty())
        StoreFileText(target, content);
    return name;
}

bool CMacroStore::ExportMacro(const std::filesystem::path& target) const
{
    const std::filesystem::path source = GetMacroFile(m_selected);
    if (source.empty() || target.empty())
        return false;
    return StoreFileText(target, ReadFileText(source));
}
