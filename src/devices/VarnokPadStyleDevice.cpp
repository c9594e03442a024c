#include "devices/VarnokPadStyleDevice.h"

#include "profiles/BasicProfiledata.h"

CVarnokPadStyleDevice::CVarnokPadStyleDevice(HidBackend& backend, DeviceKind kind, const char* modelFolder)
    : CVarnokUSBDevice(backend, kind), m_regions(SteadyMs)
{
    SetModelFolder(modelFolder);
}

void CVarnokPadStyleDevice::ReadInfoBlock()
{
    if (!ChannelA().IsOpen())
        return;
    CommandSet commands(ChannelA());
    commands.CMD_CONFIG_BEGIN();
    InfoBlock info{};
    if (commands.CMD_READ_INFO(info.data()) == kResultOk)
        SetInfo(info);
    commands.CMD_CONFIG_END(1);
}

void CVarnokPadStyleDevice::Connect()
{
    ReadInfoBlock();
    LoadProfile();
    RefreshPage();
    StartPreviewThread();
}

int CVarnokPadStyleDevice::ReadProfileBlock()
{
    const int profile = m_block.Read(ChannelA(), LightValues());
    PushLightInfoToPreview();
    return profile;
}

void CVarnokPadStyleDevice::RefreshFromDevice()
{
    const int profile = ReadProfileBlock();
    if (profile >= 0)
        if (auto* observer = PageObserver())
            observer->ProfileNumber(profile);
}

void CVarnokPadStyleDevice::QueryPower()
{
    if (ChannelA().IsOpen())
        ReadPowerRecord();
}

int CVarnokPadStyleDevice::LoadLighting()
{
    CBasicProfiledata* profile = ProfileData();
    if (!profile)
        return 0;
    // First the block: the preview takes effect and speed from it.
    m_block.Refresh(profile->ReadLightInfo());
    CVarnokUSBDevice::LoadLighting();
    std::lock_guard lock(LightInfoLock());
    m_regions.Reset();
    return 1;
}

int CVarnokPadStyleDevice::WriteProfileBlock(int profile, int, int, int, int)
{
    return m_block.Write(ChannelA(), LightValues(), profile);
}

PreviewLightState CVarnokPadStyleDevice::PreviewStateOf(const LightInfoRecord& record) const
{
    PreviewLightState state = CVarnokUSBDevice::PreviewStateOf(record);
    state.selectItem = m_block.EffectIndex();
    state.speed = m_block.Speed();
    return state;
}

std::vector<std::pair<std::string, int>> CVarnokPadStyleDevice::DescribeProfileBlock() const
{
    const PadProfileBlock::Bytes b = m_block.Stored();
    std::vector<std::pair<std::string, int>> out = {
        {"profile", b[0]}, {"effect", b[1]}, {"light", b[2]}, {"speed", b[3]},
        {"multicolor", b[5]}, {"red", b[6]}, {"green", b[7]}, {"blue", b[8]},
    };
    return out;
}

bool CVarnokPadStyleDevice::AfterPreviewPass()
{
    std::lock_guard lock(LightInfoLock());
    return m_regions.Step(LedRecordsLocked(), LedColours());
}
