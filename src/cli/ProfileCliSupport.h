#pragma once

#include "cli/CliContext.h"
#include "profiles/DataFolders.h"
#include "profiles/DeviceKindNames.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

// What the profile and macro commands share: the folders the options name
// and the device kind argument.

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
