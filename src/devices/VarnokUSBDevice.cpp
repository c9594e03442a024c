#include "devices/VarnokUSBDevice.h"

#include "hid/HidBackend.h"
#include "profiles/BasicProfiledata.h"
#include "profiles/ProfileList.h"

#include <chrono>

namespace {

uint32_t Word(uint8_t a, uint8_t b, uint8_t c, uint8_t d)
{
    return a | (static_cast<uint32_t>(b) << 8) | (static_cast<uint32_t>(c) << 16) | (static_cast<uint32_t>(d) << 24);
}

uint8_t ByteOf(uint32_t word, int n) { return static_cast<uint8_t>(word >> (8 * n)); }

}  // namespace

uint64_t CVarnokUSBDevice::SteadyMs()
{
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

CVarnokUSBDevice::CVarnokUSBDevice(HidBackend& backend, DeviceKind kind)
    : m_channelA(backend), m_channelB(backend), m_kind(kind), m_ledColours(std::make_unique<LedColourList>(0)),
      m_previewClock(SteadyMs)
{
}

CVarnokUSBDevice::~CVarnokUSBDevice() { StopPreviewThread(); }

void CVarnokUSBDevice::SetUp(const Setup& setup)
{
    m_pageLayoutPath = setup.pageLayoutPath;
    m_profileOwner = setup.profileOwner;
    m_lightFilePrefix = setup.lightFilePrefix;
    m_modelFolder = setup.modelFolder;
    SetKeyCount(setup.keyCount);
    SetLedCount(setup.ledCount);
    m_deviceIndex = setup.deviceIndex;
    m_powerIndicator = setup.powerIndicator;
    SetSlot(setup.slot);
}

void CVarnokUSBDevice::SetKeyCount(int count) { m_keyCount = count < 0 ? 0 : count; }

void CVarnokUSBDevice::SetLedCount(int count)
{
    const bool wasRunning = PreviewThreadRunning();
    StopPreviewThread();
    m_ledCount = count < 0 ? 0 : count;
    {
        std::lock_guard lock(m_lightInfoLock);
        m_ledRecords.assign(static_cast<size_t>(m_ledCount), LightInfoRecord{});
    }
    m_preview.reset();
    m_ledColours = std::make_unique<LedColourList>(static_cast<size_t>(m_ledCount));
    RebuildPreview();
    if (wasRunning)
        StartPreviewThread();
}

void CVarnokUSBDevice::SetSlot(const DeviceSlot& slot)
{
    m_slot = slot;
    if (slot.kind == DeviceKind::MouseReceiver)
        m_kind = DeviceKind::Mouse;
    else if (slot.kind == DeviceKind::KeyboardReceiver)
        m_kind = DeviceKind::Keyboard;
    else if (slot.kind != DeviceKind::None)
        m_kind = slot.kind;
    m_role = slot.role;
}

void CVarnokUSBDevice::SetScreenSize(int width, int height)
{
    m_screenWidth = width;
    m_screenHeight = height;
}

void CVarnokUSBDevice::SetTrayFlag(int flag)
{
    if (m_powerIndicator != 0)
        m_trayFlag.store(flag);
}

void CVarnokUSBDevice::SetLightControl(int flag)
{
    m_lightControl.store(flag);
    if (flag != 0 && m_kind == DeviceKind::Keyboard)
        CommandSet(m_channelA).CMD_LIGHT_CONTROL();
}

std::filesystem::path CVarnokUSBDevice::GetDefaultDataFolder() const { return m_folders.GetDefaultDataFolder(); }

std::filesystem::path CVarnokUSBDevice::GetDefaultFile() const { return m_folders.GetDefaultFile(m_modelFolder); }

std::filesystem::path CVarnokUSBDevice::GetDeviceDataFolder() const
{
    return m_folders.GetDeviceDataFolder(m_modelFolder);
}

std::filesystem::path CVarnokUSBDevice::GetAppDataFolder() const { return m_folders.GetAppDataRoot(); }

CVarnokUSBDevice::LightInfoWords CVarnokUSBDevice::PackLightInfo(const LightInfoRecord& r)
{
    return {Word(r.selectItem, r.light, r.speed, r.fx), Word(r.multiColor, r.red, r.green, r.blue),
            Word(r.spare, r.clColor, r.present, r.zzccLedMode), Word(r.customGroup, r.oldLedMode, 0, 0)};
}

LightInfoRecord CVarnokUSBDevice::UnpackLightInfo(const LightInfoWords& w)
{
    LightInfoRecord r;
    r.selectItem = ByteOf(w[0], 0);
    r.light = ByteOf(w[0], 1);
    r.speed = ByteOf(w[0], 2);
    r.fx = ByteOf(w[0], 3);
    r.multiColor = ByteOf(w[1], 0);
    r.red = ByteOf(w[1], 1);
    r.green = ByteOf(w[1], 2);
    r.blue = ByteOf(w[1], 3);
    r.spare = ByteOf(w[2], 0);
    r.clColor = ByteOf(w[2], 1);
    r.present = ByteOf(w[2], 2);
    r.zzccLedMode = ByteOf(w[2], 3);
    r.customGroup = ByteOf(w[3], 0);
    r.oldLedMode = ByteOf(w[3], 1);
    return r;
}

CVarnokUSBDevice::LightInfoWords CVarnokUSBDevice::GetLightInfo() const { return PackLightInfo(GetLightInfoRecord()); }

LightInfoRecord CVarnokUSBDevice::GetLightInfoRecord() const
{
    std::lock_guard lock(m_lightInfoLock);
    return m_lightInfo;
}

void CVarnokUSBDevice::SetLightInfoRecord(const LightInfoRecord& record)
{
    {
        std::lock_guard lock(m_lightInfoLock);
        m_lightInfo = record;
    }
    PushLightInfoToPreview();
}

void CVarnokUSBDevice::SetLightInfo(const LightInfoWords& words)
{
    const LightInfoRecord record = UnpackLightInfo(words);
    SetLightInfoRecord(record);
    if (CBasicProfiledata* profile = ProfileData())
        profile->WriteLightInfo(record);
}

void CVarnokUSBDevice::SetModelIndex(int index)
{
    m_modelIndex = index;
    if (CBasicProfiledata* profile = ProfileData())
        profile->SetDeviceIndex(0);
}

void CVarnokUSBDevice::PushLightInfoToPreview()
{
    if (!m_preview)
        return;
    // SetLightState takes the preview's lock itself.
    m_preview->SetLightState(PreviewStateOf(GetLightInfoRecord()));
}

PreviewLightState CVarnokUSBDevice::PreviewStateOf(const LightInfoRecord& r) const
{
    PreviewLightState state;
    state.selectItem = r.selectItem;
    state.light = r.light;
    state.speed = r.speed;
    state.fx = r.fx;
    state.multiColor = r.multiColor;
    state.red = r.red;
    state.green = r.green;
    state.blue = r.blue;
    return state;
}

std::vector<LightInfoRecord> CVarnokUSBDevice::LedRecords() const
{
    std::lock_guard lock(m_lightInfoLock);
    return m_ledRecords;
}

void CVarnokUSBDevice::SetLedRecords(std::vector<LightInfoRecord> records)
{
    records.resize(static_cast<size_t>(m_ledCount));
    std::lock_guard lock(m_lightInfoLock);
    m_ledRecords = std::move(records);
}

std::vector<CustomEffectStep> CVarnokUSBDevice::LightList() const { return m_lightList.List(); }

void CVarnokUSBDevice::SetLightList(std::vector<CustomEffectStep> list) { m_lightList.Load(std::move(list)); }

void CVarnokUSBDevice::RebuildPreview()
{
    m_preview = MakePreview(*m_ledColours, m_previewClock);
    if (m_preview)
        m_preview->SetLightList(&m_lightList);
    PushLightInfoToPreview();
}

void CVarnokUSBDevice::SetPreviewClock(LightingPreview::Clock clock)
{
    m_previewClock = clock ? std::move(clock) : LightingPreview::Clock(SteadyMs);
}

void CVarnokUSBDevice::StartPreviewThread()
{
    const PreviewSchedule* schedule = Schedule();
    if (!m_preview || !schedule || m_previewThread)
        return;
    LightingPreviewThread::Hooks hooks;
    hooks.channelOpen = [this] { return m_channelA.IsOpen(); };
    hooks.previewHold = [this] { return m_channelA.PreviewHold(); };
    hooks.afterPass = [this] { return AfterPreviewPass(); };
    m_previewThread = std::make_unique<LightingPreviewThread>(*m_preview, *schedule, std::move(hooks));
    m_previewThread->Start();
}

void CVarnokUSBDevice::StopPreviewThread()
{
    if (m_previewThread) {
        m_previewThread->Stop();
        m_previewThread.reset();
    }
}

bool CVarnokUSBDevice::PreviewThreadRunning() const { return m_previewThread && m_previewThread->Running(); }

void CVarnokUSBDevice::InitPage()
{
    if (m_pageLayoutPath.empty()) {
        m_keyCount = 0;
        SetLedCount(0);
    }
}

void CVarnokUSBDevice::RunPreviewStep(PreviewStep step)
{
    if (!m_preview) {
        if (step == PreviewStep::Off)
            m_ledColours->SetAll({}, 0);
        return;
    }
    std::lock_guard lock(m_preview->Mutex());
    m_preview->RunStep(step);
}

void CVarnokUSBDevice::StepBreathing() { RunPreviewStep(PreviewStep::Breathing); }
void CVarnokUSBDevice::StepBreathingFixed() { RunPreviewStep(PreviewStep::BreathingFixed); }
void CVarnokUSBDevice::StepStatic() { RunPreviewStep(PreviewStep::Static); }
void CVarnokUSBDevice::StepSpectrum() { RunPreviewStep(PreviewStep::Spectrum); }
void CVarnokUSBDevice::StepFlash() { RunPreviewStep(PreviewStep::Flash); }
void CVarnokUSBDevice::StepFlashFixed() { RunPreviewStep(PreviewStep::FlashFixed); }
void CVarnokUSBDevice::StepOff() { RunPreviewStep(PreviewStep::Off); }

void CVarnokUSBDevice::PaintLights()
{
    if (m_lightControl.load() == 0)
        return;
    if (m_observer)
        m_observer->PaintLights(*this);
}

void CVarnokUSBDevice::SetLedColour(int index, uint32_t value)
{
    if (index < 0 || static_cast<size_t>(index) >= m_ledColours->Size())
        return;
    m_ledColours->Set(static_cast<size_t>(index), {ByteOf(value, 0), ByteOf(value, 1), ByteOf(value, 2)},
                      ByteOf(value, 3));
}

uint32_t CVarnokUSBDevice::GetLedColour(int index) const
{
    if (index < 0)
        return 0;
    const LedColour c = m_ledColours->Get(static_cast<size_t>(index));
    return Word(c.r, c.g, c.b, c.level);
}

void CVarnokUSBDevice::RefreshPage()
{
    LoadNameLists();
    if (m_observer && ProfileData())
        m_observer->LightingEditorState(GetLightInfoRecord());
    NotifyPageRefresh();
}

void CVarnokUSBDevice::NotifyPageRefresh()
{
    if (m_observer)
        m_observer->RefreshPage(*this);
}

void CVarnokUSBDevice::LoadNameLists()
{
    if (ProfileData())
        m_lightValues.Load(GetDefaultDataFolder() / "default_light.json", m_modelIndex);
}

void CVarnokUSBDevice::FadeLed(int /*led*/, int /*band*/)
{
    // The fade steps run inside the preview's running-light steps.
}

void CVarnokUSBDevice::LightRing()
{
    // The ring is lit by the layout's running-light steps.
}

void CVarnokUSBDevice::RotateRing(int /*direction*/)
{
    // The ring is rotated by the layout's running-light steps.
}

void CVarnokUSBDevice::ResetFades()
{
    if (!m_preview)
        return;
    std::lock_guard lock(m_preview->Mutex());
    m_preview->ResetFades();
}

void CVarnokUSBDevice::ShowFunctionPage(int page)
{
    m_functionPage = page;
    int function = 0;
    int key = 0;
    const bool mouseOrKeyboard = m_kind == DeviceKind::Mouse || m_kind == DeviceKind::Keyboard;
    switch (page) {
    case 2:
    case 6: function = 0; key = 1; break;
    case 3:
    case 8: function = 1; key = -1; break;
    case 4:
        if (mouseOrKeyboard) {
            function = 3;
            key = -1;
        } else {
            function = 0;
            key = 2;
        }
        break;
    case 7: function = 0; key = 2; break;
    case 5: function = 2; key = -1; break;
    default: break;
    }
    if (m_observer)
        m_observer->SelectFunctionTabs(function, key);
}

void CVarnokUSBDevice::SetAudioLight(uint32_t a, uint32_t b, uint32_t c) { m_audioLight = {a, b, c}; }

std::array<uint32_t, 3> CVarnokUSBDevice::GetAudioLight() { return m_audioLight; }

void CVarnokUSBDevice::SelectKey(int index)
{
    m_selectedKey = index;
    if (m_observer)
        m_observer->KeySelected(index);
}

void CVarnokUSBDevice::ShowMessage(const std::string& textKey, std::optional<int> number)
{
    if (m_observer)
        m_observer->ShowMessage(textKey, number);
}

int CVarnokUSBDevice::LoadLighting()
{
    CBasicProfiledata* profile = ProfileData();
    if (!profile)
        return 0;
    SetLightInfoRecord(profile->ReadLightInfo());
    SetLedRecords(profile->ReadLightList());
    SetLightList(profile->ReadCustomEffect());
    return 1;
}

void CVarnokUSBDevice::SetProfilePaths()
{
    if (CBasicProfiledata* profile = ProfileData()) {
        profile->SetProfileFile(ProfileFilePath());
        profile->SetDefaultFile(GetDefaultFile());
        profile->SetLightConfigFile(LightConfigPath());
    }
}

std::filesystem::path CVarnokUSBDevice::GetProfilePath() const
{
    // ProfileData() hands out the kind's member; reading its path changes nothing.
    const CBasicProfiledata* profile = const_cast<CVarnokUSBDevice*>(this)->ProfileData();
    return profile ? profile->GetProfileFile() : std::filesystem::path();
}

void CVarnokUSBDevice::SaveProfileData()
{
    if (CBasicProfiledata* profile = ProfileData())
        profile->Save();
}

int CVarnokUSBDevice::LoadProfile()
{
    CBasicProfiledata* profile = ProfileData();
    if (!profile)
        return 0;
    SetProfilePaths();
    LoadNameLists();
    profile->LoadDeviceEntry(profile->GetProfileFile());
    profile->LoadLightConfig(profile->GetLightConfigFile());
    LoadProfileContents();
    return 1;
}

void CVarnokUSBDevice::LoadDefaultProfile()
{
    CBasicProfiledata* profile = ProfileData();
    if (!profile)
        return;
    LoadNameLists();
    profile->LoadDeviceEntry(GetDefaultFile());
    LoadProfileContents();
    SaveProfileData();
    RefreshPage();
}

std::filesystem::path CVarnokUSBDevice::ProfileFilePath() const
{
    if (m_profileId.empty())
        return {};
    return GetDeviceDataFolder() / std::filesystem::path(m_profileId + L".Json");
}

std::filesystem::path CVarnokUSBDevice::LightConfigPath() const
{
    return GetAppDataFolder() / (m_lightFilePrefix + ".config");
}

bool CVarnokUSBDevice::LinkReady()
{
    if (!m_channelA.IsOpen())
        return false;
    return !m_channelA.IsWireless() || CommandSet(m_channelA).CMD_LINK_STATUS();
}

bool CVarnokUSBDevice::WirelessLinkUp()
{
    return m_channelA.IsOpen() && m_channelA.IsWireless() && CommandSet(m_channelA).CMD_LINK_STATUS();
}

void CVarnokUSBDevice::ReadPowerRecord()
{
    std::array<uint8_t, 6> record{};
    if (CommandSet(m_channelA).CMD_READ_POWER(record.data(), record.size(), 0) != kResultOk)
        return;
    record[3] = m_channelA.IsWireless() ? 1 : 0;
    if (auto* observer = PageObserver())
        observer->PowerRecord(record, record[4]);
}

int CVarnokUSBDevice::ProfileCodeKind(int code)
{
    if (!m_channelA.IsOpen())
        return 0;
    const int hi = code >> 8;
    return hi == 0x10 || hi == 0x11 ? hi : 0;
}

void CVarnokUSBDevice::ReportDeviceCode(int code)
{
    if (auto* observer = PageObserver())
        observer->DeviceCode(code);
    NotifyPageRefresh();
}

void CVarnokUSBDevice::ApplySelectedProfile()
{
    LoadProfile();
    DropMissingMacros();
    RefreshPage();
    SendProfileBlock();
    if (WriteUsedMacros())
        WriteKeyTableFromProfile();
}

bool CVarnokUSBDevice::WriteUsedMacros()
{
    const int result = WriteMacros(CollectUsedMacros());
    if (result != 0 && result != -1) {
        ShowMessage("message_text_16", result);
        return false;
    }
    if (result == -1)
        ShowMessage("message_text_7");
    return true;
}

bool CVarnokUSBDevice::WriteKeysAndMacros()
{
    if (!WriteUsedMacros())
        return false;
    WriteKeyTableFromProfile();
    SaveProfileData();
    return true;
}

void CVarnokUSBDevice::ApplyLightingEdit(const LightInfoRecord& record)
{
    m_channelA.SetPreviewHold(false);
    SetLightInfo(PackLightInfo(record));
    SaveProfileData();
    LoadLighting();
    SendProfileBlock();
}

int CVarnokUSBDevice::SendProfileBlock() { return WriteProfileBlock(0, 0, 1, m_screenWidth, m_screenHeight); }

void CVarnokUSBDevice::SelectListedProfile()
{
    CProfileList list;
    list.SetKind(m_kind);
    list.SetFolders(GetDeviceDataFolder(), GetDefaultFile());
    list.LoadProfileList();
    m_profileId = list.GetCurrentUuid();
}
