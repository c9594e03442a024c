#pragma once

#include <json/value.h>

#include <filesystem>
#include <string>
#include <vector>

struct MacroItem {
    std::wstring name;
    std::string guid;
};

// One row of the macro editor's action list: its delay field and the event
// it keeps as JSON text (empty: none).
struct MacroRow {
    std::string delayText;
    std::string eventText;
};

// The macros of one device kind: the list file ("MacroInfo": {"MacroName",
// "Guid"}) and one "<Guid>.mac" event file per macro. The working list is what
// the macro editor shows; every change is written through at once.
//
// A macro whose "Guid" is not a plain file name keeps its place in the list
// (key functions refer to macros by position) but no file is ever read,
// written or deleted for it.
class CMacroStore {
public:
    static constexpr size_t kMaxMacros = 50;
    static constexpr int kFileVersion = 64;

    enum class RenameResult { Unchanged = -1, NameInUse = 0, Renamed = 1 };

    void SetFolder(std::filesystem::path folder, std::string listFileName = "macro.config");
    const std::filesystem::path& Folder() const { return m_folder; }
    std::filesystem::path ListFile() const { return m_folder / m_listFileName; }

    void LoadMacroList();
    const std::vector<MacroItem>& Items() const { return m_items; }
    int GetSelectedMacro() const { return m_selected; }
    // An index outside the list clears the selection.
    void SelectMacro(int index);

    // The new macro's name, selected; empty when the list is full.
    std::wstring AddMacro();
    // Deletes the selected macro's file and entry and selects macro 0; its
    // index, or -1 with nothing selected.
    int DeleteMacro();
    RenameResult RenameMacro(const std::wstring& name);
    // Writes the selected macro's event file from the rows; an empty delay
    // becomes "0", and each row gets its event back with the stored "Delay".
    void SaveMacro(std::vector<MacroRow>& rows);
    // A new macro holding a copy of the file; empty when the list is full or
    // the file cannot be read.
    std::wstring ImportMacro(const std::filesystem::path& source);
    // Copies the selected macro's event file (an unsaved macro gives an empty file).
    bool ExportMacro(const std::filesystem::path& target) const;

    // "<Guid>.mac" of macro i; empty when there is no such macro or its Guid is not usable.
    std::filesystem::path GetMacroFile(int index) const;
    // The "Events" of macro i (null when it has none).
    Json::Value ReadMacroEvents(int index) const;

private:
    bool NameTaken(const std::wstring& name) const;

    std::filesystem::path m_folder;
    std::string m_listFileName = "macro.config";
    std::vector<MacroItem> m_items;
    int m_selected = -1;
};
