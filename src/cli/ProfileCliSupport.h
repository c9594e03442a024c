#pragma once

#include "cli/CliContext.h"
#include "profiles/DataFolders.h"
#include "profiles/DeviceKindNames.h"
#include "profiles/ProfileList.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

// What the profile and macro commands share: the folders the options name,
// the "KIND ACTION ..." arguments and the kind's profile list.

inline CDataFolders CliDataFolders(const CliContext& context)
{
    const std::string& defaultData = context.Options().defaultData;
    return CDataFolders(context.Options().dataRoot,
        defaultData.empty() ? std::filesystem::path(CliContext::ExecutableFolder()) / "DefaultData"
                            : std::filesystem::path(defaultData));
}

inline std::optional<DeviceKind> CliDeviceKind(const std::string& name, std::ostream& err)
{
    const auto kind = KindByCommandName(name);
    if (!kind)
        err << "unknown device kind \"" << name << "\": use mouse, keyboard, mousepad or headset\n";
    return kind;
}

// One action of a "KIND ACTION ..." command and how many arguments follow it.
struct CliKindAction {
    const char* name;
    size_t arguments;
};

struct CliKindCommand {
    DeviceKind kind;
    const CliKindAction* action;
};

// The kind and the known action that args start with; nullopt with the usage
// or the reason printed. The number of arguments after the action is left to
// the caller.
inline std::optional<CliKindCommand> ParseCliKindCommand(const char* command, const std::vector<std::string>& args,
    std::span<const CliKindAction> actions, const char* usage, std::ostream& err)
{
    if (args.size() < 2) {
        err << "usage:\n" << usage;
        return std::nullopt;
    }
    const auto kind = CliDeviceKind(args[0], err);
    if (!kind)
        return std::nullopt;
    for (const CliKindAction& action : actions) {
        if (args[1] == action.name)
            return CliKindCommand{*kind, &action};
    }
    err << "unknown " << command << " action \"" << args[1] << "\"\n" << usage;
    return std::nullopt;
}

// The kind's profile list as the profile bar loads it.
inline CProfileList LoadCliProfileList(const CDataFolders& folders, DeviceKind kind)
{
    const std::string_view folderName = NamesOf(kind).folderName;
    CProfileList list;
    list.SetKind(kind);
    list.SetFolders(folders.GetDeviceDataFolder(folderName), folders.GetDefaultFile(folderName));
    list.LoadProfileList();
    return list;
}
