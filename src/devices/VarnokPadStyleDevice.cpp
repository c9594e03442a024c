#include "devices/VarnokPadStyleDevice.h"

#include "profiles/BasicProfiledata.h"

#include <chrono>

CVarnokPadStyleDevice::CVarnokPadStyleDevice(HidBackend& backend, DeviceKind kind, const char* modelFolder)
    : CVarnokUSBDevice(backend, kind), m_regions([] {
          return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                           std::chrono::steady_clock::now().time_since_epoch())
                                           .count());
      })
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
    const int profile = m_block.Read(ChannelA(), m_lightValues);
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

void CVarnokPadStyleDevice::SetProfilePaths()
{
    Data().SetProfileFile(ProfileFilePath());
    Data().SetDefaultFile(GetDefaultFile());
    Data().SetLightConfigFile(LightConfigPath());
}

std::filesystem::path CVarnokPadStyleDevice::GetProfilePath() const
{
    return const_cast<CVarnokPadStyleDevice*>(this)->Data().GetProfileFile();
}

void CVarnokPadStyleDevice::SaveProfileData() { Data().Save(); }

int CVarnokPadStyleDevice::LoadProfile()
{
    SetProfilePaths();
    LoadNameLists();
    Data().LoadDeviceEntry(Data().GetProfileFile());
    Data().LoadLightConfig(Data().GetLightConfigFile());
    LoadLighting();
    LoadKindProfile();
    return 1;
}

void CVarnokPadStyleDevice::LoadDefaultProfile()
{
    LoadNameLists();
    Data().LoadDeviceEntry(GetDefaultFile());
    LoadLighting();
    LoadKindProfile();
    SaveProfileData();
    RefreshPage();
}

int CVarnokPadStyleDevice::LoadLighting()
{
    const LightInfoRecord info = Data().ReadLightInfo();
    m_block.Refresh(info);
    LoadLightingFrom(Data());
    std::lock_guard lock(LightInfoLock());
    m_regions.Reset();
    return 1;
}

void CVarnokPadStyleDevice::RefreshPage()
{
    LoadNameLists();
    if (auto* observer = PageObserver())
        observer->LightingEditorState(GetLightInfoRecord());
    CVarnokUSBDevice::RefreshPage();
}

int CVarnokPadStyleDevice::WriteProfileBlock(int profile, int, int, int, int)
{
    return m_block.Write(ChannelA(), m_lightValues, profile);
}

void CVarnokPadStyleDevice::LoadNameLists()
{
    m_lightValues.Load(GetDefaultDataFolder() / "default_light.json", GetModelIndex());
}

void CVarnokPadStyleDevice::SetLightInfo(const LightInfoWords& words)
{
    CVarnokUSBDevice::SetLightInfo(words);
    Data().WriteLightInfo(UnpackLightInfo(words));
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
