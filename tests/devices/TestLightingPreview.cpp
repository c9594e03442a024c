#include "devices/MouseLightingPreview.h"

#include <gtest/gtest.h>

using namespace PreviewTables;

namespace {

struct PreviewFixture : ::testing::Test {
    uint64_t now = 100000;
    LedColourList leds{2};
    MouseLightingPreview preview{leds, [this] { return now; }, 1234};

    void Use(uint8_t effect, uint8_t light, uint8_t speed, uint8_t fx, uint8_t multi, Rgb colour = {10, 20, 30})
    {
        preview.SetLightState({effect, light, speed, fx, multi, colour.r, colour.g, colour.b});
    }
};

} // namespace

TEST_F(PreviewFixture, BreathingCountsDownFromZeroWithoutDirection)
{
    Use(0, 4, 2, 0, 0);
    preview.StepBreathing();
    EXPECT_EQ(preview.Phase(), 127);
    EXPECT_EQ(preview.ColourIndex(), 0);
    EXPECT_EQ(leds.Get(0), (LedColour{10, 20, 30, static_cast<uint8_t>(255 * BreathingCurve()[127] / 256)}));
}

TEST_F(PreviewFixture, BreathingAdvancesTheColourOnEveryWrap)
{
    Use(0, 4, 2, 1, 1);
    for (int breath = 1; breath <= 13; ++breath)
        for (int i = 0; i < 128; ++i)
            preview.StepBreathing();
    // 12 wraps take the index to 192, the 13th goes past it and starts over.
    EXPECT_EQ(preview.ColourIndex(), 0);
    EXPECT_EQ(preview.Phase(), 0);
    EXPECT_EQ(leds.Get(1), (LedColour{255, 1, 0, 0}));
}

TEST_F(PreviewFixture, FixedBreathingCyclesFourColours)
{
    Use(7, 4, 0, 1, 0);
    for (int i = 0; i < 128 * 4; ++i)
        preview.StepBreathingFixed();
    EXPECT_EQ(preview.FixedIndex(), 0);
    preview.StepBreathingFixed();
    const Rgb first = kFixedColours[0];
    EXPECT_EQ(leds.Get(0), (LedColour{first.r, first.g, first.b, static_cast<uint8_t>(255 * 1 / 256)}));
}

TEST_F(PreviewFixture, StaticSpectrumAndOff)
{
    Use(2, 1, 0, 1, 0, {200, 100, 50});
    preview.StepStatic();
    EXPECT_EQ(leds.Get(1), (LedColour{200, 100, 50, 80}));
    preview.StepSpectrum();
    const Rgb wheel1 = ColourWheel()[1];
    EXPECT_EQ(leds.Get(0), (LedColour{wheel1.r, wheel1.g, wheel1.b, 80}));
    preview.StepOff();
    EXPECT_EQ(leds.Get(0), LedColour{});
}

TEST_F(PreviewFixture, FlashTogglesOnlyWhenThePeriodHasPassed)
{
    Use(4, 4, 4, 1, 0, {1, 2, 3});  // speed 4: 7 × 200 ms
    preview.StepFlash();
    EXPECT_TRUE(preview.BlinkOn());
    EXPECT_EQ(leds.Get(0), (LedColour{1, 2, 3, 255}));
    now += 1399;
    preview.StepFlash();
    EXPECT_TRUE(preview.BlinkOn());
    now += 1;
    preview.StepFlash();
    EXPECT_FALSE(preview.BlinkOn());
    EXPECT_EQ(leds.Get(1), LedColour{});
    EXPECT_EQ(preview.Phase(), 32);
}

TEST_F(PreviewFixture, ReactiveRisesHoldsAndFades)
{
    Use(6, 4, 0, 1, 0, {9, 9, 9});
    preview.TriggerReactive();
    EXPECT_EQ(preview.ReactiveState(0), 1);
    preview.StepReactive();  // at full level the LED starts to fall
    EXPECT_EQ(preview.ReactiveState(0), 2);
    EXPECT_EQ(leds.Get(0).level, 255);
    for (int i = 0; i < 16; ++i)
        preview.StepReactive();
    EXPECT_EQ(leds.Get(0).level, 15);
    preview.StepReactive();
    EXPECT_EQ(leds.Get(0).level, 0);
    preview.StepReactive();
    EXPECT_EQ(leds.Get(1), (LedColour{9, 9, 9, 0}));
}

TEST_F(PreviewFixture, FadeDecayBands)
{
    struct Case { uint8_t level; bool effectZero; uint8_t expected; };
    const Case cases[] = {{255, false, 215}, {128, false, 88}, {127, false, 97}, {64, false, 34},
                          {63, false, 53},   {63, true, 48},   {32, false, 22},  {31, false, 23},
                          {17, false, 9},    {16, false, 15},  {1, false, 0},    {0, false, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(LightingPreview::DecayFade(c.level, c.effectZero), c.expected) << int(c.level);
}

TEST_F(PreviewFixture, WaveGivesEachColumnItsOwnCurvePoint)
{
    Use(9, 4, 0, 1, 0, {100, 0, 0});
    preview.StepWave();  // phase 1
    EXPECT_EQ(leds.Get(0).level, 255 * WaveCurve()[2] / 256);
    EXPECT_EQ(leds.Get(1).level, 255 * WaveCurve()[9] / 256);
    Use(9, 4, 0, 0, 1);
    preview.StepWave();  // multi-colour, counting down from 1
    const Rgb c0 = ColourWheel()[1];
    const Rgb c1 = ColourWheel()[8];
    EXPECT_EQ(leds.Get(0), (LedColour{c0.r, c0.g, c0.b, 255}));
    EXPECT_EQ(leds.Get(1), (LedColour{c1.r, c1.g, c1.b, 255}));
}

TEST_F(PreviewFixture, MarqueeRunsTheRingAndResetsOnANewEffect)
{
    Use(5, 4, 0, 1, 0, {5, 6, 7});
    EXPECT_TRUE(preview.RingLit(0));
    preview.StepMarquee();
    // Ring position 0 lit column 1 (LED 1) and moved on to position 1.
    EXPECT_TRUE(preview.RingLit(1));
    EXPECT_FALSE(preview.RingLit(0));
    EXPECT_EQ(leds.Get(1), (LedColour{5, 6, 7, 215}));
    EXPECT_EQ(leds.Get(0).level, 0);
    for (size_t i = 0; i < MouseLightingPreview::kRingPositions - 1; ++i)
        preview.StepMarquee();
    EXPECT_TRUE(preview.RingLit(0));

    preview.StepMarquee();
    Use(3, 4, 0, 1, 0);
    EXPECT_EQ(preview.Fade(1), 0);
    EXPECT_TRUE(preview.RingLit(0));
    EXPECT_FALSE(preview.RingLit(1));
}
