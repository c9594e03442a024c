#pragma once

#include "devices/LedRegionSteps.h"
#include "devices/PadProfileBlock.h"
#include "devices/VarnokUSBDevice.h"

// What the mouse pad and the headset share: lighting only, kept in a stored
// profile block that is read from the product and written back whole.
class CVarnokPadStyleDevice : public CVarnokUSBDevice {
public:
    CVarnokPadStyleDevice(HidBackend& backend, DeviceKind kind, const char* modelFolder);

    // Also refreshes the stored block from the profile's LightInfo.
    int LoadLighting() override;
    void Connect() override;
    void RefreshFromDevice() override;
    void QueryPower() override;
    int WriteProfileBlock(int profile, int byte0, int spare, int width, int height) override;

    std::vector<std::pair<std::string, int>> DescribeProfileBlock() const override;

    // Reads the stored block; the profile number, or -1 when a read fails.
    int ReadProfileBlock();
    const PadProfileBlock& Block() const { return m_block; }

protected:
    PreviewLightState PreviewStateOf(const LightInfoRecord& record) const override;
    // The per-LED region steps, under the first lighting lock.
    bool AfterPreviewPass() override;
    void ReadInfoBlock();

private:
    PadProfileBlock m_block;
    LedRegionSteps m_regions;
};
