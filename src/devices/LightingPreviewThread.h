#pragma once

#include "devices/LightingPreview.h"
#include "devices/PreviewSchedule.h"
#include "devices/StoppableThread.h"

#include <functional>

// Runs a device's lighting preview on its own thread, stepping the effect on
// the schedule of the device kind. Instead of waking every millisecond the
// thread sleeps until its next step is due; the step sequence is unchanged.
class LightingPreviewThread {
public:
    struct Hooks {
        std::function<bool()> channelOpen;   // no preview while the command channel is closed
        std::function<bool()> previewHold;   // the preview stands still while set
        std::function<bool()> afterPass;     // per-LED region steps of some kinds; true when any ran
    };

    LightingPreviewThread(LightingPreview& preview, const PreviewSchedule& schedule, Hooks hooks);
    ~LightingPreviewThread();
    LightingPreviewThread(const LightingPreviewThread&) = delete;
    LightingPreviewThread& operator=(const LightingPreviewThread&) = delete;

    void Start();
    void Stop();
    bool Running() const { return m_thread.Running(); }

private:
    void Run(StoppableThread& self);

    LightingPreview& m_preview;
    const PreviewSchedule& m_schedule;
    Hooks m_hooks;
    StoppableThread m_thread;
};
