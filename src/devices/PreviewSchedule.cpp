#include "devices/PreviewSchedule.h"

#include "devices/PreviewTables.h"

namespace {
using S = PreviewStep;
constexpr std::array<PreviewStep, 10> kMouseDispatch{S::Breathing, S::Spectrum, S::Static,          S::Off,
                                                     S::Flash,     S::Marquee,  S::Reactive,        S::BreathingFixed,
                                                     S::FlashFixed, S::Wave};
constexpr std::array<PreviewStep, 10> kPadDispatch{S::Wave,      S::Spectrum, S::Breathing, S::Static,  S::Flash,
                                                   S::LightList, S::Reactive, S::Marquee,   S::Off,     S::LightList};
} // namespace

uint8_t PreviewSchedule::Threshold(unsigned speed) const
{
    return fineTicks ? PreviewTables::FineThreshold(speed) : PreviewTables::CoarseThreshold(speed);
}

PreviewStep PreviewSchedule::StepFor(unsigned effect, bool& thresholded) const
{
    thresholded = effect < dispatch.size();
    return thresholded ? dispatch[effect] : PreviewStep::LightList;
}

const PreviewSchedule& PreviewSchedule::Mouse()
{
    static const PreviewSchedule schedule{"MS灯光线程设定退出", true, kMouseDispatch};
    return schedule;
}

const PreviewSchedule& PreviewSchedule::MousePad()
{
    static const PreviewSchedule schedule{"MS灯光线程设定退出", false, kPadDispatch};
    return schedule;
}

const PreviewSchedule& PreviewSchedule::Headset() { return MousePad(); }
