#include "devices/PreviewTables.h"

#include <gtest/gtest.h>

using namespace PreviewTables;

TEST(PreviewTables, ColourWheelSegmentsAndRepeat)
{
    const auto& wheel = ColourWheel();
    struct Case { unsigned index; Rgb colour; };
    const Case cases[] = {
        {0, {255, 1, 0}},   {31, {255, 255, 0}}, {32, {248, 255, 0}}, {63, {0, 255, 0}},
        {64, {0, 255, 1}},  {96, {0, 248, 255}}, {128, {1, 0, 255}},  {160, {255, 0, 248}},
        {191, {255, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(wheel[c.index], c.colour) << "entry " << c.index;
    for (unsigned i = 192; i < 256; ++i)
        EXPECT_EQ(wheel[i], wheel[i - 192]) << "entry " << i;
}

TEST(PreviewTables, BreathingAndWaveCurves)
{
    const auto& breathing = BreathingCurve();
    EXPECT_EQ(breathing[0], 0);
    EXPECT_EQ(breathing[10], 10);
    EXPECT_EQ(breathing[11], 12);
    EXPECT_EQ(breathing[63], 255);
    for (unsigned k = 0; k < 64; ++k)
        EXPECT_EQ(breathing[64 + k], breathing[63 - k]);

    const auto& wave = WaveCurve();
    EXPECT_EQ(wave[0], 22);
    EXPECT_EQ(wave[47], 255);
    for (unsigned k = 0; k < 48; ++k) {
        EXPECT_EQ(wave[k], breathing[16 + k]);
        EXPECT_EQ(wave[95 - k], wave[k]);
    }
}

TEST(PreviewTables, LevelsPeriodsAndThresholds)
{
    EXPECT_EQ(Level(0), 0);
    EXPECT_EQ(Level(2), 135);
    EXPECT_EQ(Level(4), 255);
    EXPECT_EQ(Level(9), 255);
    EXPECT_EQ(BlinkPeriod(0), 28);
    EXPECT_EQ(BlinkPeriod(4), 7);
    EXPECT_EQ(BlinkPeriod(7), 7);
    const uint8_t fine[] = {10, 8, 5, 3, 1};
    const uint8_t coarse[] = {28, 23, 18, 13, 7};
    for (unsigned s = 0; s < 5; ++s) {
        EXPECT_EQ(FineThreshold(s), fine[s]);
        EXPECT_EQ(CoarseThreshold(s), coarse[s]);
    }
    for (unsigned s = 5; s < 20; ++s) {
        EXPECT_EQ(FineThreshold(s), 0) << "speed " << s;
        EXPECT_EQ(CoarseThreshold(s), 0) << "speed " << s;
    }
}

TEST(PreviewTables, PhaseStepsBothWays)
{
    struct Case { unsigned direction; unsigned modulus; uint8_t phase; uint8_t expected; };
    const Case cases[] = {
        {1, 128, 0, 1}, {1, 128, 127, 0}, {0, 128, 0, 127}, {0, 128, 5, 4},
        {1, 192, 191, 0}, {0, 192, 0, 191}, {7, 96, 95, 0}, {0, 96, 200, 95},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StepPhase(c.direction, c.modulus, c.phase), c.expected)
            << "direction " << c.direction << " modulus " << c.modulus << " phase " << int(c.phase);
}
