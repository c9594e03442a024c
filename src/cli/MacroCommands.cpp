#include "cli/CliContext.h"
#include "cli/ProfileCliSupport.h"

#include "profiles/BasicProfiledata.h"
#include "profiles/MacroDeletion.h"
#include "profiles/MacroEvent.h"
#include "profiles/MacroStore.h"
#include "profiles/ProfileList.h"
#include "profiles/TextConvert.h"

#include <cstdio>
#include <ostream>

namespace {

const char* const kUsage =
    "  macro KIND list                   \"<index> <name> <guid>\" per macro\n"
    "  macro KIND add | import FILE      prints the new macro's name\n"
    "  macro KIND rename INDEX NAME      prints \"result <0|1>\" (0: name in use)\n"
    "  macro KIND delete INDEX --yes     deletes the macro and renumbers the macro keys of every profile\n"
    "  macro KIND export INDEX FILE\n"
    "  macro KIND pack INDEX             the device bytes of each event, e.g. \"70 11 01 01\"\n";

constexpr CliKindAction kActions[] = {
    {"list", 0}, {"add", 0}, {"import", 1}, {"rename", 2}, {"delete", 2}, {"export", 2}, {"pack", 1},
};

std::string Hex(const std::array<uint8_t, 4>& bytes)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02X %02X %02X %02X", bytes[0], bytes[1], bytes[2], bytes[3]);
    return text;
}

const char* FullMessage() { return "a device kind holds at most 50 macros\n"; }

// The kind's profile list as the profile bar loads it, and the selected
// profile's key list standing for the device's in-memory list.
int DeleteMacro(CliContext& context, DeviceKind kind, CMacroStore& store)
{
    const CDataFolders folders = CliDataFolders(context);
    const std::string_view folderName = NamesOf(kind).folderName;
    CProfileList profiles = LoadCliProfileList(folders, kind);

    CBasicProfiledata data;
    data.SetDefaultFile(folders.GetDefaultFile(folderName));
    const std::wstring uuid = profiles.GetCurrentUuid();
    if (!uuid.empty()) {
        data.SetProfileFile(folders.GetDeviceDataFolder(folderName) / (WideToUtf8(uuid) + ".Json"));
        data.LoadDeviceEntry(data.GetProfileFile());
    }
    std::vector<KeyEntry> keys = data.ReadKeyList();
    const std::wstring name = store.Items()[static_cast<size_t>(store.GetSelectedMacro())].name;
    const auto result = CMacroDeletion::Run(store, profiles, data, keys, [](std::string_view) { return true; });
    if (result.currentKeysChanged && !uuid.empty()) {
        data.WriteKeyList(keys);
        data.Save();
    }
    context.Out() << "deleted " << WideToUtf8(name) << '\n';
    return 0;
}

int RunMacro(CliContext& context, const std::vector<std::string>& args)
{
    std::ostream& out = context.Out();
    std::ostream& err = context.Err();
    const auto command = ParseCliKindCommand("macro", args, kActions, kUsage, err);
    if (!command)
        return 2;
    if (args.size() != 2 + command->action->arguments) {
        err << "usage:\n" << kUsage;
        return 2;
    }
    const DeviceKind kind = command->kind;
    const std::string& action = args[1];

    const CDataFolders folders = CliDataFolders(context);
    CMacroStore store;
    store.SetFolder(folders.GetDeviceDataFolder(NamesOf(kind).folderName), std::string(NamesOf(kind).macroListFile));
    store.LoadMacroList();

    if (action == "list") {
        for (size_t i = 0; i < store.Items().size(); ++i)
            out << i << ' ' << WideToUtf8(store.Items()[i].name) << ' ' << store.Items()[i].guid << '\n';
        return 0;
    }
    if (action == "add" || action == "import") {
        const std::wstring name = action == "add" ? store.AddMacro() : store.ImportMacro(args[2]);
        if (name.empty()) {
            if (store.Items().size() >= CMacroStore::kMaxMacros)
                err << FullMessage();
            else
                err << "cannot read " << args[2] << '\n';
            return 1;
        }
        out << WideToUtf8(name) << '\n';
        return 0;
    }

    int64_t index = 0;
    if (!ParseCliNumber(args[2], 0, static_cast<int64_t>(store.Items().size()) - 1, index)) {
        err << "no macro " << args[2] << ": there are " << store.Items().size() << '\n';
        return 2;
    }
    store.SelectMacro(static_cast<int>(index));

    if (action == "rename") {
        const auto result = store.RenameMacro(Utf8ToWide(args[3]));
        if (result == CMacroStore::RenameResult::Unchanged) {
            err << "a blank name changes nothing\n";
            return 0;
        }
        out << "result " << static_cast<int>(result) << '\n';
        return 0;
    }
    if (action == "delete") {
        if (args[3] != "--yes") {
            err << "deleting a macro changes the keys that use it; confirm with --yes\n";
            return 2;
        }
        return DeleteMacro(context, kind, store);
    }
    if (action == "export") {
        if (!store.ExportMacro(args[3])) {
            err << "could not write " << args[3] << '\n';
            return 1;
        }
        return 0;
    }
    // pack
    const Json::Value events = store.ReadMacroEvents(static_cast<int>(index));
    if (events.isArray()) {
        for (const auto& event : events)
            out << Hex(PackMacroEvent(event)) << '\n';
    }
    return 0;
}

const CliCommandRegistrar kMacroCommand("macro", kUsage, RunMacro);

} // namespace
