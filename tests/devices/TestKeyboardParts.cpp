#include "devices/KeyColourImage.h"
#include "devices/KeyTableImage.h"
#include "devices/KeyboardAudioMeter.h"
#include "devices/KeyboardKeyMap.h"
#include "devices/KeyboardProfileBlock.h"
#include "devices/LedRegionSteps.h"
#include "sim/SimKeyboardFirmware.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace {

// A factory key table and LED table as the keyboard reports them.
struct FactoryTables {
    std::array<uint8_t, 512> keys{};
    std::array<uint8_t, 512> leds{};
    FactoryTables()
    {
        leds.fill(0xFF);
        for (size_t j = 0; j < 170; ++j) {
            const auto t = SimKeyboardFirmware::FactoryKey(j);
            std::copy(t.begin(), t.end(), keys.begin() + static_cast<std::ptrdiff_t>(3 * j));
            leds[j] = static_cast<uint8_t>(200 - j);
        }
    }
};

KeyEntry Key(uint8_t type, uint8_t p1, uint8_t p2, std::array<uint8_t, 3> factory = {0x20, 0x00, 0x04})
{
    return {0, 0, type, p1, p2, 0, 0, 0, factory[0], factory[1], factory[2], 0};
}

} // namespace

TEST(KeyboardLayout, FactoryTriplesMatchTheEmulatedKeyboard)
{
    for (size_t j = 0; j < KeyboardLayout::kLogicalKeys; ++j)
        EXPECT_EQ(KeyboardLayout::FactoryKey(j), SimKeyboardFirmware::FactoryKey(j)) << "logical key " << j;
}

TEST(KeyboardKeyMap, FindsEachKeyByItsFactoryTripleAndTakesItsLed)
{
    FactoryTables t;
    // The keyboard put key 51 (W) at position 160 and has no key 30 at all.
    std::swap_ranges(t.keys.begin() + 3 * 51, t.keys.begin() + 3 * 52, t.keys.begin() + 3 * 160);
    t.keys[3 * 30 + 2] = 0x99;
    KeyboardKeyMap map;
    map.Build(t.keys, t.leds, 170);

    EXPECT_EQ(map.Position(0), 0);
    EXPECT_EQ(map.Led(0), 200);
    EXPECT_EQ(map.Position(51), 160);
    EXPECT_EQ(map.Led(51), 200 - 160);
    EXPECT_EQ(map.Position(30), KeyboardKeyMap::kAbsent);
    EXPECT_EQ(map.Led(30), KeyboardKeyMap::kAbsent);
    // Rows without a factory key never stand for an unused table position.
    for (size_t j : {18u, 19u, 20u, 104u, 126u, 169u})
        EXPECT_EQ(map.Position(j), KeyboardKeyMap::kAbsent) << j;

    // Only the positions the keyboard reports are searched.
    map.Build(t.keys, t.leds, 100);
    EXPECT_EQ(map.Position(51), KeyboardKeyMap::kAbsent);
    EXPECT_EQ(map.Position(99), 99);
}

TEST(KeyTableImage, SkipsAbsentKeysCompactsMacrosAndRestoresMissingOnes)
{
    // Logical keys 0..5 at positions 5, 4, absent, 2, 1, 0.
    const std::array<uint8_t, 6> positions{5, 4, 0xFF, 2, 1, 0};
    const std::vector<uint8_t> baseline(18, 0x11);
    std::vector<KeyEntry> keys{
        Key(0x70, 3, 0),             // macro 3: compact 0
        Key(0x71, 1, 0),             // macro 1: compact 1
        Key(0x70, 0, 0),             // absent key: neither written nor counted
        Key(0x70, 3, 0),             // macro 3 again: compact 0
        Key(0x70, 4, 0, {0xA0, 0x01, 0x00}),  // past the 4 macros: default
        Key(0x20, 0, 0x2C),
    };
    const KeyTableImage image(positions, 0xFF);
    EXPECT_EQ(image.UsedMacros(keys, 4), (std::vector<int>{3, 1}));

    const std::vector<uint8_t> table = image.Build(baseline, keys, 4);
    const std::vector<uint8_t> expected{0x20, 0x00, 0x2C,  0xA0, 0x01, 0x00,  0x70, 0x00, 0x00,
                                        0x11, 0x11, 0x11,  0x71, 0x01, 0x00,  0x70, 0x00, 0x00};
    EXPECT_EQ(table, expected);
    EXPECT_EQ(keys[4][2], 0xA0);  // the key list itself got its default back
    EXPECT_EQ(keys[2][3], 0);     // absent key untouched

    std::vector<KeyEntry> restore{Key(0x70, 4, 0), Key(0x70, 3, 0)};
    EXPECT_TRUE(KeyTableImage::RestoreMissingMacros(restore, 4));
    EXPECT_EQ(restore[0][2], 0x20);
    EXPECT_EQ(restore[1][2], 0x70);
    EXPECT_FALSE(KeyTableImage::RestoreMissingMacros(restore, 4));
}

TEST(KeyboardProfileBlock, BuildsTheBlockFromLightingAndSystemFlags)
{
    LightInfoRecord light;
    light.selectItem = 7;
    light.light = 3;
    light.speed = 1;
    light.fx = 1;
    light.multiColor = 1;
    light.red = 10;
    light.green = 20;
    light.blue = 30;
    light.zzccLedMode = 2;
    light.customGroup = 5;
    KeyboardSystemRecord system;
    system.wFlag = 1;
    system.key6Flag = 1;
    system.winFlag = 0;
    system.pollingRate = 2;
    LightValueList codes;
    codes.Set({0, 1, 2, 3, 4, 5, 6, 17, 8});

    const auto b = KeyboardProfileBlock::Build(light, system, codes);
    const KeyboardProfileBlock::Bytes expected{0, 17, 3, 3, 1, 1, 10, 20, 30, 0, 0, 0, 0,
                                               0, 0,  0, 0, 0, 2, 1, 1,  0,  2, 0, 0, 5};
    EXPECT_EQ(b, expected);

    struct Case { uint8_t effect; int polling; uint8_t code; uint8_t pollingByte; };
    const Case cases[] = {
        {29, 3, 0xFE, 3}, {30, 4, 0xFE, 0}, {28, -1, 28, 0}, {40, 1, 40, 1},  // past the list: the index
    };
    codes.Set({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28,
               29, 30});
    for (const Case& c : cases) {
        light.selectItem = c.effect;
        system.pollingRate = static_cast<uint16_t>(c.polling);
        const auto block = KeyboardProfileBlock::Build(light, system, codes);
        EXPECT_EQ(block[1], c.code) << int(c.effect);
        EXPECT_EQ(block[22], c.pollingByte) << c.polling;
    }
}

TEST(KeyboardProfileBlock, ReadBackMapsCodesReversesSpeedAndKeepsTheHostEffect)
{
    LightValueList codes;
    codes.Set({0, 1, 2, 9, 4});
    struct Case { uint8_t code; uint8_t speedByte; uint8_t effectBefore; uint8_t effect; uint8_t speed; };
    const Case cases[] = {
        {9, 0, 0, 3, 4},        // code 9 sits at index 3; stored 0 reads as speed 4
        {0xFE, 4, 29, 29, 0},   // the host-streamed effect keeps the current index
        {0xFE, 2, 30, 30, 2},
        {77, 1, 5, 77, 3},      // a code not in the list stands for itself
        {1, 9, 0, 1, 0},        // a speed byte past 4 reads as the slowest speed
    };
    for (const Case& c : cases) {
        KeyboardProfileBlock::Bytes block{};
        block[0] = 9;
        block[1] = c.code;
        block[3] = c.speedByte;
        block[16] = 0x55;
        block[18] = 3;
        block[19] = 1;
        block[20] = 0;
        block[21] = 1;
        block[22] = 2;
        block[25] = 6;
        LightInfoRecord light;
        light.selectItem = c.effectBefore;
        KeyboardSystemRecord system;
        system.pollingRate = 1;
        KeyboardProfileBlock::ReadBack(block, 2, codes, light, system);
        EXPECT_EQ(block[0], 2);
        EXPECT_EQ(block[1], c.effect);
        EXPECT_EQ(block[16], 0);
        EXPECT_EQ(light.selectItem, c.effect) << int(c.code);
        EXPECT_EQ(light.speed, c.speed) << int(c.speedByte);
        EXPECT_EQ(light.zzccLedMode, 3);
        EXPECT_EQ(light.customGroup, 6);
        EXPECT_EQ(system.wFlag, 1);
        EXPECT_EQ(system.key6Flag, 0);
        EXPECT_EQ(system.winFlag, 1);
        EXPECT_EQ(system.pollingRate, 1);  // not read back
    }
}

TEST(KeyColourImage, PlacesEachKeyAtItsLedNumberAndLeavesKeysWithoutOne)
{
    LedColourList leds(4);
    leds.Set(0, {200, 100, 50}, 128);
    leds.Set(1, {255, 255, 255}, 255);
    leds.Set(2, {9, 9, 9}, 255);
    leds.Set(3, {7, 7, 7}, 255);
    const std::array<uint8_t, 4> ledNumbers{169, 0, 0xFF, 170};  // 170 would end past the table

    const auto plain = KeyColourImage::Build(leds, ledNumbers, false);
    const auto scaled = KeyColourImage::Build(leds, ledNumbers, true);
    EXPECT_EQ((std::array<uint8_t, 3>{plain[507], plain[508], plain[509]}), (std::array<uint8_t, 3>{200, 100, 50}));
    EXPECT_EQ((std::array<uint8_t, 3>{scaled[507], scaled[508], scaled[509]}), (std::array<uint8_t, 3>{100, 50, 25}));
    EXPECT_EQ(scaled[0], 254);
    for (size_t i = 3; i < 507; ++i)
        ASSERT_EQ(plain[i], 0) << i;
    EXPECT_EQ(plain[510], 0);
    EXPECT_EQ(plain[511], 0);
}

TEST(KeyboardAudioMeter, BeatsWhenTheRunningTotalReaches71)
{
    struct Case { int32_t value; int deliveriesToBeat; };
    const Case cases[] = {
        {2000, 3},     // x = 600, h = 0: 25 per delivery
        {1000, 6},     // x = 300, h = 300: 12.5 → 13 per delivery (25 − 12)
        {100000, 15},  // x past 600 counts as h = 500: 5 per delivery
        {0, 0},        // silence never beats
        {-5000, 0},    // nor does a negative value
    };
    for (const Case& c : cases) {
        KeyboardAudioMeter meter;
        std::array<int32_t, 25> bands{};
        bands.fill(c.value);
        int beatAt = 0;
        for (int i = 1; i <= 40 && beatAt == 0; ++i)
            if (meter.Feed(bands, 900))
                beatAt = i;
        EXPECT_EQ(beatAt, c.deliveriesToBeat) << c.value;
        if (beatAt) {
            EXPECT_EQ(meter.Total(), 0);
        }
        EXPECT_EQ(meter.Level(), 500);
    }
    KeyboardAudioMeter meter;
    EXPECT_FALSE(meter.Feed(std::vector<int32_t>(24, 2000), 1));
    EXPECT_EQ(meter.Total(), 0);
}

TEST(LedRegionSteps, EachPresentRecordDrivesItsOwnLed)
{
    uint64_t now = 1000;
    LedRegionSteps regions([&] { return now; });
    LedColourList leds(6);
    leds.SetAll({1, 1, 1}, 9);
    std::vector<LightInfoRecord> records(6);
    auto make = [](uint8_t mode, uint8_t speed, uint8_t multi) {
        LightInfoRecord r;
        r.selectItem = mode;
        r.light = 4;
        r.speed = speed;
        r.multiColor = multi;
        r.red = 50;
        r.green = 60;
        r.blue = 70;
        r.present = 1;
        return r;
    };
    records[0] = make(0, 2, 0);  // breathing, phase + 6 per pass
    records[1] = make(1, 0, 0);  // static
    records[2] = make(2, 4, 0);  // flash, period 7 × 200 ms
    records[3] = make(3, 4, 1);  // spectrum, colour index + 1 every 7 passes
    records[4] = make(4, 0, 0);  // off
    records[5].present = 0;      // not present: left alone

    EXPECT_TRUE(regions.Step(records, leds));
    EXPECT_EQ(regions.Phase(0), 6);
    EXPECT_EQ(leds.Get(0), (LedColour{50, 60, 70, PreviewTables::ScaledLevel(4, PreviewTables::BreathingCurve()[6])}));
    EXPECT_EQ(leds.Get(1), (LedColour{50, 60, 70, 255}));
    EXPECT_EQ(leds.Get(2), (LedColour{50, 60, 70, 255}));  // the first pass toggles on
    EXPECT_EQ(regions.ColourIndex(2), 14);
    EXPECT_EQ(leds.Get(4), (LedColour{0, 0, 0, 0}));
    EXPECT_EQ(leds.Get(5), (LedColour{1, 1, 1, 9}));

    for (int i = 0; i < 6; ++i)
        regions.Step(records, leds);
    EXPECT_EQ(regions.ColourIndex(3), 1);
    EXPECT_EQ(leds.Get(3), (LedColour{PreviewTables::ColourWheel()[1].r, PreviewTables::ColourWheel()[1].g,
                                      PreviewTables::ColourWheel()[1].b, 255}));
    EXPECT_EQ(leds.Get(2).level, 255);
    now += 7 * 200;
    regions.Step(records, leds);
    EXPECT_EQ(leds.Get(2).level, 0);  // toggled off after its period

    for (int i = 0; i < 20; ++i)
        regions.Step(records, leds);
    EXPECT_EQ(regions.ColourIndex(0), 1);  // the breath wrapped past 128

    regions.Reset();
    EXPECT_EQ(regions.Phase(0), 0);
    EXPECT_FALSE(regions.Step(std::vector<LightInfoRecord>(3), leds));
}
