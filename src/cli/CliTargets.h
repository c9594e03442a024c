#pragma once

#include <cstddef>
#include <ostream>
#include <string_view>

// The products a command can be aimed at: a name and the supported-table row
// of the product's command interface.
struct CliTarget {
    const char* name;
    size_t tableRow;
};

inline constexpr CliTarget kCliTargets[] = {
    {"mouse", 4},    {"mouse-receiver", 6}, {"keyboard", 0}, {"keyboard-receiver", 2},
    {"mousepad", 8}, {"headset", 10},
};

inline constexpr const char* kCliTargetNames = "mouse, mouse-receiver, keyboard, keyboard-receiver, mousepad or headset";

// The target of that name; otherwise null, after telling the user the names.
inline const CliTarget* FindCliTarget(std::string_view name, std::ostream& err)
{
    for (const CliTarget& target : kCliTargets)
        if (name == target.name)
            return &target;
    err << "unknown target \"" << name << "\"; use " << kCliTargetNames << '\n';
    return nullptr;
}
