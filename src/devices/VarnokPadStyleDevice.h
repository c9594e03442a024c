#pragma once

#include "devices/LedRegionSteps.h"
#include "devices/LightValueList.h"
#include "devices/PadProfileBlock.h"
#include "devices/VarnokUSBDevice.h"

// What the mouse pad and the headset share: lighting only, kept in a stored
// profile block that is read from the product and written back whole.
class CVarnokPadStyleDevice : public CVarnokUSBDevice {
public:
    CVarnokPadStyleDevice(HidBackend& backend, DeviceKind kind, const char* modelFolder);

    int LoadLighting() override;
    void Connect() override;
    void RefreshFromDevice() override;
    void QueryPower() override;
    int LoadProfile() override;
    void RefreshPage() override;
    void LoadDefaultProfile() override;
    int WriteProfileBlock(int profile, int byte0, int spare, int width, int height) override;
    void LoadNameLists() override;
    void SetProfilePaths() override;
    std::filesystem::path GetProfilePath() const override;
    void SaveProfileData() override;
    void SetLightInfo(const LightInfoWords& words) override;

    std::vector<std::pair<std::string, int>> DescribeProfileBlock() const override;

    // Reads the stored block; the profile number, or -1 when a read fails.
    int ReadProfileBlock();
    const PadProfileBlock& Block() const { return m_block; }
    LightValueList& LightValues() { return m_lightValues; }

protected:
    PreviewLightState PreviewStateOf(const LightInfoRecord& record) const override;
    // The per-LED region steps, under the first lighting lock.
    bool AfterPreviewPass() override;
    // Kind-specific loading after the shared part of LoadProfile.
    virtual void LoadKindProfile() {}
    void ReadInfoBlock();

private:
    CBasicProfiledata& Data() { return *ProfileData(); }

    PadProfileBlock m_block;
    LedRegionSteps m_regions;
    LightValueList m_lightValues;
};
