#include "devices/LightListPlayer.h"
#include "devices/MouseLightingPreview.h"

#include <gtest/gtest.h>

using namespace PreviewTables;

namespace {

CustomEffectStep Entry(uint8_t mode, uint8_t speed, int32_t timeMs, Rgb colour = {10, 20, 30}, uint8_t multi = 0,
                       uint8_t direction = 0, uint8_t brightness = 4)
{
    CustomEffectStep e;
    e.mode = mode;
    e.brightness = brightness;
    e.speed = speed;
    e.direction = direction;
    e.multiColor = multi;
    e.red = colour.r;
    e.green = colour.g;
    e.blue = colour.b;
    e.time = timeMs;
    return e;
}

struct PlayerFixture : ::testing::Test {
    uint64_t now = 50000;
    LedColourList leds{4};
    LightListPlayer player;

    void Pass(int count = 1, uint8_t deviceSpeed = 0)
    {
        for (int i = 0; i < count; ++i)
            player.Step(leds, deviceSpeed, now);
    }
};

} // namespace

TEST_F(PlayerFixture, EmptyListShowsEveryLedOff)
{
    leds.SetAll({1, 2, 3}, 200);
    Pass();
    for (size_t i = 0; i < leds.Size(); ++i)
        EXPECT_EQ(leds.Get(i), LedColour{});
}

TEST_F(PlayerFixture, EntryOfNoDurationIsReplacedOnTheNextPass)
{
    player.Load({Entry(1, 0, 0, {255, 0, 0}), Entry(1, 0, 0, {0, 255, 0}, 0, 0, 1)});
    Pass();
    EXPECT_EQ(leds.Get(3), (LedColour{255, 0, 0, 255}));
    Pass();
    EXPECT_EQ(leds.Get(3), (LedColour{0, 255, 0, 80}));
    Pass();
    EXPECT_EQ(player.Index(), 1u);
    EXPECT_EQ(leds.Get(0), (LedColour{255, 0, 0, 255}));
}

TEST_F(PlayerFixture, EntryStaysForItsDurationAndTheListWraps)
{
    player.Load({Entry(1, 0, 300, {255, 0, 0}), Entry(1, 0, 100, {0, 0, 255})});
    Pass();
    now += 299;
    Pass();
    EXPECT_EQ(player.Index(), 0u);
    now += 1;
    Pass();
    EXPECT_EQ(player.Index(), 1u);
    now += 100;
    Pass();
    EXPECT_EQ(leds.Get(0).b, 255);
    EXPECT_EQ(player.Index(), 0u);
    // A new list starts at its first entry.
    player.Load({Entry(1, 0, 100, {0, 9, 0})});
    Pass();
    EXPECT_EQ(leds.Get(0), (LedColour{0, 9, 0, 255}));
}

TEST_F(PlayerFixture, ColourCycleStepsOncePerSpeedThreshold)
{
    player.Load({Entry(5, 4, 100000)});  // speed 4: a step every 7 passes
    Pass(6);
    EXPECT_EQ(player.Phase(), 0);
    Pass();
    EXPECT_EQ(player.Phase(), 1);
    const Rgb c = ColourWheel()[1];
    EXPECT_EQ(leds.Get(2), (LedColour{c.r, c.g, c.b, 255}));
    Pass(7 * 191);
    EXPECT_EQ(player.Phase(), 0);  // modulus 192
}

TEST_F(PlayerFixture, BreathingTakesAThreeColourTurnWithTheColourFlag)
{
    player.Load({Entry(0, 5, 100000, {10, 20, 30}, 1, 0, 2)});  // speed 5: every pass
    Pass(3);
    EXPECT_EQ(player.Phase(), 3);
    const Rgb first = ColourWheel()[0];
    EXPECT_EQ(leds.Get(0), (LedColour{first.r, first.g, first.b, static_cast<uint8_t>(135 * BreathingCurve()[3] / 256)}));
    Pass(125);
    const Rgb second = ColourWheel()[64];
    EXPECT_EQ(player.Phase(), 0);
    EXPECT_EQ(leds.Get(1), (LedColour{second.r, second.g, second.b, 0}));
    Pass(128 * 2);
    EXPECT_EQ(leds.Get(1).r, first.r);  // after three breaths the first colour again
}

TEST_F(PlayerFixture, BlinkUsesTheDeviceSpeedNotTheEntrySpeed)
{
    player.Load({Entry(2, 0, 100000, {7, 8, 9})});
    Pass(1, 4);  // first pass toggles on
    EXPECT_EQ(leds.Get(0), (LedColour{7, 8, 9, 255}));
    now += 7 * 200 - 1;
    Pass(1, 4);
    EXPECT_EQ(leds.Get(0).level, 255);
    now += 1;
    Pass(1, 4);
    EXPECT_EQ(leds.Get(0), LedColour{});
}

TEST_F(PlayerFixture, WaveLaysWheelColoursAlongTheLeds)
{
    struct Case {
        uint8_t direction;
        int passes;          // speed 5: one phase step per pass
        unsigned firstIndex; // wheel index of LED 0
    };
    for (const Case& c : {Case{0, 1, 2}, Case{0, 191, 0}, Case{0, 192, 1}, Case{1, 1, 191}, Case{1, 2, 190}, Case{1, 192, 191}}) {
        player.Load({Entry(4, 5, 100000, {}, 1, c.direction)});
        Pass(c.passes);
        SCOPED_TRACE(testing::Message() << "direction " << int(c.direction) << " passes " << c.passes);
        unsigned index = c.firstIndex;
        for (size_t led = 0; led < leds.Size(); ++led) {
            const Rgb w = ColourWheel()[index];
            EXPECT_EQ(leds.Get(led), (LedColour{w.r, w.g, w.b, 255}));
            index = (index + (index >= 180 && index <= 243 ? 76 : 12)) % 256;
        }
    }
}

TEST_F(PlayerFixture, WaveWithoutColourFlagShapesTheLevel)
{
    player.Load({Entry(4, 5, 100000, {50, 60, 70}, 0, 0, 4)});
    Pass();  // phase 1, start index 2
    for (size_t led = 0; led < leds.Size(); ++led)
        EXPECT_EQ(leds.Get(led), (LedColour{50, 60, 70, static_cast<uint8_t>(255 * WaveCurve()[(14 + 12 * led) % 96] / 256)}));
}

TEST(LightListPreview, EffectsPastTheTableShowTheDevicesList)
{
    uint64_t now = 1000;
    LedColourList leds{2};
    MouseLightingPreview preview{leds, [&] { return now; }, 1};
    preview.SetLightState({12, 4, 0, 0, 0, 0, 0, 0});
    leds.SetAll({9, 9, 9}, 9);
    preview.RunStep(PreviewStep::LightList);
    EXPECT_EQ(leds.Get(0), LedColour{});  // no list: off

    LightListPlayer player;
    player.Load({Entry(1, 0, 1000, {1, 2, 3})});
    preview.SetLightList(&player);
    preview.RunStep(PreviewStep::LightList);
    EXPECT_EQ(leds.Get(1), (LedColour{1, 2, 3, 255}));
}
