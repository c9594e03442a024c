#include "profiles/MacroDeletion.h"

#include "profiles/BasicProfiledata.h"
#include "profiles/MacroStore.h"
#include "profiles/ProfileList.h"

#include <algorithm>

bool CMacroDeletion::UsesMacro(const std::vector<KeyEntry>& keys, int macroIndex)
{
    return std::any_of(keys.begin(), keys.end(), [&](const KeyEntry& k) { return IsMacroKey(k) && k[3] == macroIndex; });
}

bool CMacroDeletion::AdjustKeys(std::vector<KeyEntry>& keys, int deletedIndex)
{
    bool changed = false;
    for (KeyEntry& k : keys) {
        if (!IsMacroKey(k))
            continue;
        if (k[3] == deletedIndex) {
            std::copy(k.begin() + 6, k.end(), k.begin());
            changed = true;
        } else if (k[3] > deletedIndex) {
            --k[3];
            changed = true;
        }
    }
    return changed;
}

CMacroDeletion::Result CMacroDeletion::Run(CMacroStore& store, CProfileList& profiles,
    CBasicProfiledata& profileData, std::vector<KeyEntry>& currentKeys, const Confirm& confirm)
{
    Result result;
    if (!confirm("message_text_4"))
        return result;
    const int d = store.GetSelectedMacro();
    if (d < 0)
        return result;
    if (UsesMacro(currentKeys, d) && !confirm("message_text_2"))
        return result;

    const int count = profiles.GetProfileCount();
    for (int j = 0; j < count; ++j) {
        if (j == profiles.GetSelectedIndex())
            continue;
        const auto file = profiles.GetProfileFileAt(j);
        if (file.empty())
            continue;
        profileData.LoadScratchEntry(file);
        std::vector<KeyEntry> keys = profileData.ReadScratchKeyList();
        if (AdjustKeys(keys, d)) {
            profileData.WriteScratchKeyList(keys);
            profileData.SaveScratchTo(file);
        }
    }
    result.currentKeysChanged = AdjustKeys(currentKeys, d);
    result.deleted = store.DeleteMacro();
    return result;
}
