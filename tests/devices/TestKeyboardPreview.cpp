#include "devices/KeyboardLightingPreview.h"
#include "devices/PreviewSchedule.h"

#include <gtest/gtest.h>

using namespace PreviewTables;

namespace {

struct KeyboardPreviewRig {
    uint64_t now = 0;
    LedColourList leds{170};
    KeyboardLightingPreview preview{leds, [this] { return now; }, 7};

    void Set(uint8_t effect, uint8_t multi = 0, uint8_t fx = 1, uint8_t light = 4)
    {
        PreviewLightState s;
        s.selectItem = effect;
        s.multiColor = multi;
        s.fx = fx;
        s.light = light;
        s.red = 10;
        s.green = 20;
        s.blue = 30;
        preview.SetLightState(s);
    }
    Rgb Colour(size_t key) const
    {
        const LedColour c = leds.Get(key);
        return {c.r, c.g, c.b};
    }
    uint8_t LevelOf(size_t key) const { return leds.Get(key).level; }
};

} // namespace

TEST(KeyboardSchedule, DispatchAndThresholdsByEffect)
{
    const PreviewSchedule& kb = PreviewSchedule::Keyboard();
    EXPECT_STREQ(kb.exitLine, "KB灯光线程设定退出");
    EXPECT_TRUE(kb.fineTicks);
    struct Case { unsigned effect; PreviewStep step; bool thresholded; uint8_t speed0; uint8_t speed4; };
    const Case cases[] = {
        {1, PreviewStep::Wave, true, 10, 1},
        {4, PreviewStep::Spectrum, true, 10, 1},
        {5, PreviewStep::Marquee, true, 10, 1},   // the keyboard's own breathing
        {16, PreviewStep::Marquee, true, 3, 3},
        {18, PreviewStep::Marquee, true, 3, 3},
        {23, PreviewStep::Flash, true, 10, 1},
        {26, PreviewStep::BreathingFixed, true, 10, 1},
        {27, PreviewStep::FlashFixed, true, 10, 1},
        {28, PreviewStep::Off, true, 10, 1},
        {29, PreviewStep::Marquee, true, 2, 2},
        {30, PreviewStep::Marquee, true, 1, 0},
        {0, PreviewStep::LightList, true, 10, 1},
        {19, PreviewStep::LightList, true, 10, 1},
        {31, PreviewStep::LightList, false, 0, 0},
    };
    for (const Case& c : cases) {
        bool thresholded = false;
        EXPECT_EQ(kb.StepFor(c.effect, thresholded), c.step) << c.effect;
        EXPECT_EQ(thresholded, c.thresholded) << c.effect;
        if (c.thresholded) {
            EXPECT_EQ(kb.Threshold(c.effect, 0), c.speed0) << c.effect;
            EXPECT_EQ(kb.Threshold(c.effect, 4), c.speed4) << c.effect;
        }
    }
    EXPECT_EQ(kb.Threshold(30, 7), 0);
    EXPECT_EQ(kb.Threshold(16, 9), 3);
    // The other kinds keep their rows.
    EXPECT_EQ(PreviewSchedule::Mouse().Threshold(16, 0), 10);
}

TEST(KeyboardPreview, WaveRunsOverTheColumns)
{
    KeyboardPreviewRig rig;
    rig.Set(1, 1, 1);
    rig.preview.StepWave();  // phase 1
    const auto& columns = KeyboardLayout::Columns();
    for (size_t c = 0; c < KeyboardLayout::kColumns; ++c)
        for (uint8_t key : columns[c])
            if (key != KeyboardLayout::kNoKey) {
                ASSERT_EQ(rig.Colour(key), ColourWheel()[(2 + 7 * c) % 192]) << "column " << c;
            }
    KeyboardPreviewRig single;
    single.Set(1, 0, 0);  // single colour, the phase stepping down from 0 wraps to 95
    single.preview.StepWave();
    EXPECT_EQ(single.preview.Phase(), 95);
    EXPECT_EQ(single.LevelOf(0), ScaledLevel(4, WaveCurve()[(96 + 7 * 2) % 96]));  // key 0 sits in column 2
    EXPECT_EQ(single.Colour(0), (Rgb{10, 20, 30}));
}

TEST(KeyboardPreview, StaticWithMultiColourPaintsTheRingsAroundTheCentre)
{
    KeyboardPreviewRig rig;
    rig.Set(6, 1);
    rig.preview.StepEffect(6);
    EXPECT_EQ(rig.Colour(51), ColourWheel()[150]);
    EXPECT_EQ(rig.Colour(30), ColourWheel()[138]);
    EXPECT_EQ(rig.Colour(41), ColourWheel()[18]);
    EXPECT_EQ(rig.LevelOf(51), 255);
    rig.Set(6, 0, 1, 2);
    rig.preview.StepEffect(6);
    EXPECT_EQ(rig.Colour(120), (Rgb{10, 20, 30}));
    EXPECT_EQ(rig.LevelOf(120), Level(2));
}

TEST(KeyboardPreview, BreathingGivesEachColumnItsWheelColour)
{
    KeyboardPreviewRig rig;
    rig.Set(5, 1, 0);
    rig.preview.StepEffect(5);
    EXPECT_EQ(rig.preview.Phase(), 127);  // Fx 0 counts down from 0
    EXPECT_EQ(rig.Colour(0), ColourWheel()[14]);   // column 2
    EXPECT_EQ(rig.Colour(131), ColourWheel()[154]);  // column 22
    EXPECT_EQ(rig.LevelOf(0), ScaledLevel(4, BreathingCurve()[127]));
}

TEST(KeyboardPreview, RandomKeysLightAtFullLevelAndFade)
{
    KeyboardPreviewRig rig;
    rig.Set(10, 0, 1, 4);
    rig.preview.StepEffect(10);
    auto litKeys = [&] {
        int n = 0;
        for (size_t k = 0; k < 170; ++k)
            n += rig.LevelOf(k) == ScaledLevel(4, 255);
        return n;
    };
    const int lit = litKeys();
    EXPECT_GE(lit, 1);
    EXPECT_LE(lit, 6);
    for (int i = 0; i < 20; ++i)
        rig.preview.StepEffect(10);
    int faded = 0;
    for (size_t k = 0; k < 170; ++k)
        faded += rig.LevelOf(k) > 0 && rig.LevelOf(k) < ScaledLevel(4, 255);
    EXPECT_GT(faded, 0);
}

TEST(KeyboardPreview, EachKeyTakesANewColourWhenItsPhaseWraps)
{
    KeyboardPreviewRig rig;
    rig.Set(22, 1);
    rig.preview.StepEffect(22);
    std::array<uint8_t, 170> before{};
    for (size_t k = 0; k < 170; ++k)
        before[k] = rig.preview.KeyColourIndex(k);
    size_t key = 0;
    while (rig.preview.KeyPhase(key) == 0)
        ++key;
    const unsigned stepsToWrap = 192 - rig.preview.KeyPhase(key);
    for (unsigned i = 0; i + 1 < stepsToWrap; ++i)
        rig.preview.StepEffect(22);
    EXPECT_EQ(rig.preview.KeyColourIndex(key), before[key]);
    rig.preview.StepEffect(22);
    EXPECT_EQ(rig.preview.KeyPhase(key), 0);
    EXPECT_EQ(rig.Colour(key), ColourWheel()[rig.preview.KeyColourIndex(key)]);
}

TEST(KeyboardPreview, AudioRippleMovesOutwardsFromTheCentreKey)
{
    KeyboardPreviewRig rig;
    rig.Set(29, 0);
    rig.preview.StepEffect(29);
    EXPECT_EQ(rig.LevelOf(51), 0);  // dark until a beat
    rig.preview.FireCentre();
    for (size_t step = 1; step <= 3; ++step) {
        rig.preview.StepEffect(29);
        EXPECT_EQ(rig.preview.RingFade(step), 255) << step;
        EXPECT_LT(rig.preview.RingFade(step - 1), 255) << step;
    }
    EXPECT_EQ(rig.LevelOf(7), ScaledLevel(4, 255));  // key 7 is on ring 3
    for (int i = 0; i < 40; ++i)
        rig.preview.StepEffect(29);
    for (size_t k = 0; k < 170; ++k)
        ASSERT_EQ(rig.LevelOf(k), 0) << k;
}

TEST(KeyboardPreview, AlternationSwapsWithTheBlinkPeriod)
{
    KeyboardPreviewRig rig;
    rig.Set(24, 0);
    rig.now = 10000;
    rig.preview.StepEffect(24);   // first blink is due at once
    const Rgb first = rig.Colour(0);
    rig.now += 100;
    rig.preview.StepEffect(24);
    EXPECT_EQ(rig.Colour(0), first);
    rig.now += 28 * 200;  // blink period of speed 0
    rig.preview.StepEffect(24);
    EXPECT_NE(rig.Colour(0), first);
}

TEST(KeyboardPreview, CustomColoursKeepTheirColourAndFollowTheBrightness)
{
    KeyboardPreviewRig rig;
    rig.Set(20, 0, 1, 1);
    rig.leds.Set(12, {1, 2, 3}, 255);
    rig.preview.StepEffect(20);
    EXPECT_EQ(rig.Colour(12), (Rgb{1, 2, 3}));
    EXPECT_EQ(rig.LevelOf(12), Level(1));
}
