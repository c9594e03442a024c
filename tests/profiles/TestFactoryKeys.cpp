#include "ProfileTestSupport.h"

#include "profiles/BasicProfiledata.h"
#include "sim/SimKeyboardFirmware.h"
#include "sim/SimMemory.h"
#include "sim/SimMouseFirmware.h"

#include <gtest/gtest.h>

namespace {

std::vector<KeyEntry> FactoryKeys(const char* name)
{
    CBasicProfiledata data;
    data.LoadScratchEntry(SourceDefaultData() / name);
    return data.ReadScratchKeyList();
}

std::array<uint8_t, 3> Default(const KeyEntry& k) { return {k[8], k[9], k[10]}; }

} // namespace

// The shipped key defaults are the triples by which a device's keys are found
// in the emulated products' key tables.
TEST(FactoryKeys, MouseKeysAreFoundInTheEmulatedKeyTable)
{
    const auto table = SimMouseFirmware::NewMemory()->Bytes(SimRegion::Keymap);
    const auto keys = FactoryKeys("mouse.Json");
    ASSERT_EQ(keys.size(), 11u);
    for (size_t k = 0; k < keys.size(); ++k) {
        bool found = false;
        for (size_t h = 0; h + 2 < 3 * SimMouseFirmware::kKeyCount; h += 3)
            found = found || std::array<uint8_t, 3>{table[h], table[h + 1], table[h + 2]} == Default(keys[k]);
        EXPECT_TRUE(found) << "logical key " << k;
    }
}

TEST(FactoryKeys, KeyboardKeysMatchTheEmulatedKeyboard)
{
    const auto keys = FactoryKeys("keyboard.Json");
    ASSERT_EQ(keys.size(), 170u);
    for (size_t j = 0; j < keys.size(); ++j)
        EXPECT_EQ(Default(keys[j]), SimKeyboardFirmware::FactoryKey(j)) << "logical key " << j;
}
