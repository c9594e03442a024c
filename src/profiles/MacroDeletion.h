#pragma once

#include "profiles/ProfileRecords.h"

#include <functional>
#include <string_view>
#include <vector>

class CBasicProfiledata;
class CMacroStore;
class CProfileList;

// Deleting a macro renumbers the macro keys of every profile of the kind:
// keys of the deleted macro get their factory function back, keys of later
// macros move down by one.
class CMacroDeletion {
public:
    // Asked with a language key ("message_text_4", "message_text_2"); true to go on.
    using Confirm = std::function<bool(std::string_view messageKey)>;

    struct Result {
        int deleted = -1;               // the deleted index, -1 when nothing was deleted
        bool currentKeysChanged = false; // the current profile's key list was adjusted
    };

    // The whole deletion of the selected macro. currentKeys is the current
    // profile's key list, adjusted in place; the caller stores it when it
    // changed. The other profiles of the list are rewritten through the
    // scratch entry of profileData.
    static Result Run(CMacroStore& store, CProfileList& profiles, CBasicProfiledata& profileData,
        std::vector<KeyEntry>& currentKeys, const Confirm& confirm);

    static bool UsesMacro(const std::vector<KeyEntry>& keys, int macroIndex);
    // True when any entry changed.
    static bool AdjustKeys(std::vector<KeyEntry>& keys, int deletedIndex);
};
