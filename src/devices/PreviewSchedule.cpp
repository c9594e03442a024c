#include "devices/PreviewSchedule.h"

#include "devices/PreviewTables.h"

namespace {
using S = PreviewStep;
constexpr std::array<PreviewStep, 10> kMouseDispatch{S::Breathing, S::Spectrum, S::Static,          S::Off,
                                                     S::Flash,     S::Marquee,  S::Reactive,        S::BreathingFixed,
                                                     S::FlashFixed, S::Wave};
constexpr std::array<PreviewStep, 10> kPadDispatch{S::Wave,      S::Spectrum, S::Breathing, S::Static,  S::Flash,
                                                   S::LightList, S::Reactive, S::Marquee,   S::Off,     S::LightList};
// The keyboard's own steps are reached through the layout slot StepMarquee,
// which picks the step by the effect index; effect 1 is its wave.
constexpr std::array<PreviewStep, 31> kKeyboardDispatch{
    S::LightList, S::Wave,      S::Marquee,  S::Marquee,     S::Spectrum, S::Marquee,    S::Marquee,
    S::Marquee,   S::Marquee,   S::Marquee,  S::Marquee,     S::Marquee,  S::Marquee,    S::Marquee,
    S::Marquee,   S::Marquee,   S::Marquee,  S::Marquee,     S::Marquee,  S::LightList,  S::Marquee,
    S::Marquee,   S::Marquee,   S::Flash,    S::Marquee,     S::Marquee,  S::BreathingFixed,
    S::FlashFixed, S::Off,      S::Marquee,  S::Marquee};
constexpr std::array<PreviewSchedule::ThresholdRow, 4> kKeyboardRows{{
    {16, {3, 3, 3, 3, 3}, 3},
    {18, {3, 3, 3, 3, 3}, 3},
    {29, {2, 2, 2, 2, 2}, 2},  // the audio-driven effect steps every 2 ticks
    {30, {1, 0, 0, 0, 0}, 0},
}};
} // namespace

uint8_t PreviewSchedule::Threshold(unsigned speed) const
{
    return fineTicks ? PreviewTables::FineThreshold(speed) : PreviewTables::CoarseThreshold(speed);
}

uint8_t PreviewSchedule::Threshold(unsigned effect, unsigned speed) const
{
    for (const ThresholdRow& row : thresholdRows)
        if (row.effect == effect)
            return speed < row.bySpeed.size() ? row.bySpeed[speed] : row.beyond;
    return Threshold(speed);
}

PreviewStep PreviewSchedule::StepFor(unsigned effect, bool& thresholded) const
{
    thresholded = effect < dispatch.size();
    return thresholded ? dispatch[effect] : PreviewStep::LightList;
}

const PreviewSchedule& PreviewSchedule::Mouse()
{
    static const PreviewSchedule schedule{"MS灯光线程设定退出", true, kMouseDispatch, {}};
    return schedule;
}

const PreviewSchedule& PreviewSchedule::MousePad()
{
    static const PreviewSchedule schedule{"MS灯光线程设定退出", false, kPadDispatch, {}};
    return schedule;
}

const PreviewSchedule& PreviewSchedule::Headset() { return MousePad(); }

const PreviewSchedule& PreviewSchedule::Keyboard()
{
    static const PreviewSchedule schedule{"KB灯光线程设定退出", true, kKeyboardDispatch, kKeyboardRows};
    return schedule;
}
