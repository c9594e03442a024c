#include "devices/LightingPreviewThread.h"

#include "platform/DebugLog.h"

#include "devices/PreviewTicker.h"

#include <chrono>

using std::chrono::milliseconds;

LightingPreviewThread::LightingPreviewThread(LightingPreview& preview, const PreviewSchedule& schedule, Hooks hooks)
    : m_preview(preview), m_schedule(schedule), m_hooks(std::move(hooks))
{
}

LightingPreviewThread::~LightingPreviewThread() { Stop(); }

void LightingPreviewThread::Start()
{
    m_thread.Start([this](StoppableThread& self) { Run(self); });
}

void LightingPreviewThread::Stop() { m_thread.Stop(milliseconds(1000)); }

void LightingPreviewThread::Run(StoppableThread& self)
{
    constexpr auto kClosedSleep = milliseconds(100);
    constexpr auto kHoldPoll = milliseconds(10);
    const auto now = [] {
        return static_cast<uint64_t>(
            std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now().time_since_epoch()).count());
    };
    PreviewTicker ticker(m_schedule.fineTicks);
    ticker.Restart(now());
    auto wait = milliseconds(1);
    while (!self.WaitForStop(wait)) {
        if ((m_hooks.channelOpen && !m_hooks.channelOpen()) || (m_hooks.previewHold && m_hooks.previewHold())) {
            wait = (m_hooks.channelOpen && !m_hooks.channelOpen()) ? kClosedSleep : kHoldPoll;
            ticker.Restart(now());
            continue;
        }
        unsigned threshold = 0;
        {
            std::lock_guard lock(m_preview.Mutex());
            const PreviewLightState& state = m_preview.LightState();
            bool thresholded = false;
            const PreviewStep step = m_schedule.StepFor(state.selectItem, thresholded);
            threshold = thresholded ? m_schedule.Threshold(state.selectItem, state.speed) : 0;
            if (ticker.Pass(now(), threshold))
                m_preview.RunStep(step);
        }
        const bool busy = m_hooks.afterPass && m_hooks.afterPass();
        wait = milliseconds(ticker.WaitMs(now(), threshold, busy));
    }
    DebugOutput(m_schedule.exitLine);
}
