#pragma once

#include "devices/VarnokPadStyleDevice.h"
#include "profiles/BasicProfiledata.h"

// The RGB mouse pad: lighting only, fifteen LEDs.
class CVarnokMousePadDevice : public CVarnokPadStyleDevice {
public:
    explicit CVarnokMousePadDevice(HidBackend& backend);
    ~CVarnokMousePadDevice() override;

    const char* ClassName() const override { return "VarnokMousePadDevice"; }
    CBasicProfiledata* ProfileData() override { return &m_profile; }

protected:
    std::unique_ptr<LightingPreview> MakePreview(LedColourList& leds, LightingPreview::Clock clock) override;
    const PreviewSchedule* Schedule() const override { return &PreviewSchedule::MousePad(); }

private:
    CBasicProfiledata m_profile;
};
