#include "devices/PadLightingPreview.h"

#include <gtest/gtest.h>

using namespace PreviewTables;

TEST(PadLightingPreview, WaveStepsSevenWheelPlacesPerLed)
{
    LedColourList leds(15);
    PadLightingPreview pad(leds, [] { return uint64_t{0}; });
    pad.SetLightState({0, 4, 0, 1, 1, 0, 0, 0});
    pad.StepWave();
    for (size_t i : {0u, 5u, 14u}) {
        const Rgb c = ColourWheel()[(1 + 1 + 7 * i) % 192];
        EXPECT_EQ(leds.Get(i), (LedColour{c.r, c.g, c.b, 255})) << "LED " << i;
    }
}

TEST(PadLightingPreview, HeadsetWaveMovesThreePlacesWithOneColour)
{
    LedColourList leds(13);
    HeadsetLightingPreview headset(leds, [] { return uint64_t{0}; });
    headset.SetLightState({0, 4, 0, 1, 0, 7, 8, 9});
    headset.StepWave();
    EXPECT_EQ(headset.Phase(), 3);
    EXPECT_EQ(leds.Get(12), (LedColour{7, 8, 9, static_cast<uint8_t>(255 * WaveCurve()[(3 + 120) % 96] / 256)}));
    headset.SetLightState({0, 4, 0, 0, 0, 7, 8, 9});
    headset.StepWave();
    headset.StepWave();
    EXPECT_EQ(headset.Phase(), 93);
}

TEST(PadLightingPreview, MarqueeMovesTheRingEverySecondCall)
{
    LedColourList leds(15);
    PadLightingPreview pad(leds, [] { return uint64_t{0}; });
    pad.SetLightState({7, 4, 0, 1, 0, 1, 2, 3});
    pad.StepMarquee();
    EXPECT_TRUE(pad.RingLit(1));
    EXPECT_EQ(leds.Get(1), (LedColour{1, 2, 3, 215}));
    EXPECT_EQ(leds.Get(14), (LedColour{1, 2, 3, 215}));  // the pair of LED 1
    pad.StepMarquee();
    EXPECT_TRUE(pad.RingLit(1));
    pad.StepMarquee();
    EXPECT_TRUE(pad.RingLit(2));
    for (int i = 0; i < 2 * 6; ++i)
        pad.StepMarquee();
    EXPECT_TRUE(pad.RingLit(0));  // eight places, then round again
}

TEST(PadLightingPreview, ReactiveIsARunningLightOverSingleLeds)
{
    LedColourList leds(15);
    PadLightingPreview pad(leds, [] { return uint64_t{0}; });
    pad.SetLightState({6, 4, 0, 1, 0, 5, 5, 5});
    pad.RunStep(PreviewStep::Reactive);
    EXPECT_EQ(leds.Get(1).level, 215);
    EXPECT_EQ(leds.Get(14).level, 0);
    for (int i = 0; i < 2 * 22; ++i)
        pad.RunStep(PreviewStep::Reactive);
    EXPECT_TRUE(pad.RingLit(0));
}
