#include "devices/VarnokKeyboardDevice.h"

#include "devices/KeyColourImage.h"
#include "devices/KeyboardLightingPreview.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

CVarnokKeyboardDevice::CVarnokKeyboardDevice(HidBackend& backend)
    : CVarnokKeyedDevice(backend, DeviceKind::Keyboard), m_regions(SteadyMs)
{
    SetModelFolder("keyboard");
    RebuildPreview();
}

CVarnokKeyboardDevice::~CVarnokKeyboardDevice() { StopPreviewThread(); }

std::unique_ptr<LightingPreview> CVarnokKeyboardDevice::MakePreview(LedColourList& leds, LightingPreview::Clock clock)
{
    return std::make_unique<KeyboardLightingPreview>(leds, std::move(clock));
}

const PreviewSchedule* CVarnokKeyboardDevice::Schedule() const { return &PreviewSchedule::Keyboard(); }

KeyboardLightingPreview* CVarnokKeyboardDevice::KeyboardPreview()
{
    return static_cast<KeyboardLightingPreview*>(Preview());
}

void CVarnokKeyboardDevice::RunKeyboardStep(unsigned effect)
{
    if (KeyboardLightingPreview* preview = KeyboardPreview()) {
        std::lock_guard lock(preview->Mutex());
        preview->StepEffect(effect);
    }
}

void CVarnokKeyboardDevice::StepBreathing() { RunKeyboardStep(5); }

void CVarnokKeyboardDevice::StepStatic() { RunKeyboardStep(6); }

void CVarnokKeyboardDevice::SetPause(std::function<void(int ms)> pause) { m_pause = std::move(pause); }

void CVarnokKeyboardDevice::Pause(int ms)
{
    if (m_pause)
        m_pause(ms);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Connect and its reads.

void CVarnokKeyboardDevice::Connect()
{
    ReadInfoKeysAndLeds();
    LoadProfile();
    ReadProfileBlock();
    RefreshPage();
    StartPreviewThread();
}

bool CVarnokKeyboardDevice::ReadInfoKeysAndLeds()
{
    CommandSet commands(ChannelA());
    KeyTableBytes keys{};
    if (!BeginAndReadKeyTable(commands, keys))
        return false;
    std::array<uint8_t, kMaxTable> leds{};
    std::fill(leds.begin(), leds.end(), KeyboardKeyMap::kAbsent);
    if (commands.CMD_READ_LED_MAP(leds.data()) != kResultOk)
        return false;
    commands.CMD_CONFIG_END(1);
    SetBaseline(keys);
    m_ledTable = leds;
    m_keyMap.Build(keys, m_ledTable, Info()[5]);
    return true;
}

bool CVarnokKeyboardDevice::ReadProfileBlock()
{
    ChannelA().SetPreviewHold(false);
    {
        std::lock_guard lock(m_blockLock);
        m_previousBlock = m_block;
    }
    if (!ChannelA().IsOpen())
        return false;
    CommandSet commands(ChannelA());
    uint8_t number = 0;
    if (commands.CMD_READ_PARAMS(&number, 1, 0) != kResultOk)
        return false;
    KeyboardProfileBlock::Bytes block{};
    const size_t base = static_cast<size_t>(number) * KeyboardProfileBlock::kStride;
    if (commands.CMD_READ_PARAMS(block.data(), block.size(), static_cast<uint16_t>(base)) != kResultOk)
        return false;

    LightInfoRecord info = GetLightInfoRecord();
    const uint8_t effectBefore = info.selectItem;
    KeyboardProfileBlock::ReadBack(block, number, LightValues(), info, m_system);
    {
        std::lock_guard lock(m_blockLock);
        m_block = block;
    }
    SetActiveProfile(number);
    SetLightInfoRecord(info);
    if (info.selectItem != effectBefore || info.selectItem == kCustomEffect)
        LoadCustomColours();
    m_profile.WriteKeyboardSystem(m_system);
    m_profile.WriteLightInfo(info);
    SaveProfileData();
    return true;
}

void CVarnokKeyboardDevice::RefreshFromDevice()
{
    if (m_lastReaderCode.load() == kRefreshCode)
        LoadProfile();
    ReadProfileBlock();
    RefreshPage();
}

// Profile.

void CVarnokKeyboardDevice::LoadProfileContents()
{
    m_system = m_profile.ReadKeyboardSystem();
    {
        std::lock_guard lock(m_audioLock);
        m_audio = m_profile.ReadAudioLighting();
    }
    CVarnokKeyedDevice::LoadProfileContents();
}

int CVarnokKeyboardDevice::LoadLighting()
{
    const uint8_t effectBefore = GetLightInfoRecord().selectItem;
    CVarnokUSBDevice::LoadLighting();
    {
        std::lock_guard lock(m_regionLock);
        m_regionRecords = LedRecords();
        m_regions.Reset();
    }
    const uint8_t effect = GetLightInfoRecord().selectItem;
    if (effect != effectBefore || effect == kCustomEffect)
        LoadCustomColours();
    return 1;
}

KeyboardSystemRecord CVarnokKeyboardDevice::System() const { return m_system; }

KeyboardProfileBlock::Bytes CVarnokKeyboardDevice::StoredBlock() const
{
    std::lock_guard lock(m_blockLock);
    return m_block;
}

KeyboardProfileBlock::Bytes CVarnokKeyboardDevice::PreviousBlock() const
{
    std::lock_guard lock(m_blockLock);
    return m_previousBlock;
}

// Writes.

KeyboardProfileBlock::Bytes CVarnokKeyboardDevice::BuildProfileBlock() const
{
    auto& profile = const_cast<CKeyboardProfiledata&>(m_profile);
    return KeyboardProfileBlock::Build(profile.ReadLightInfo(), profile.ReadKeyboardSystem(), LightValues());
}

int CVarnokKeyboardDevice::WriteProfileBlock(int profile, int byte0, int /*spare*/, int /*width*/, int /*height*/)
{
    KeyboardProfileBlock::Bytes block = BuildProfileBlock();
    block[0] = static_cast<uint8_t>(byte0);
    if (!ChannelA().IsOpen() || profile < 0)
        return 0;
    const auto offset = static_cast<uint16_t>(static_cast<size_t>(profile) * KeyboardProfileBlock::kStride);
    const bool sent = WriteInConfiguration(
        [&](CommandSet& commands) { commands.CMD_WRITE_PARAMS(block.data(), block.size(), offset); });
    return sent ? 1 : 0;
}

std::vector<std::pair<std::string, int>> CVarnokKeyboardDevice::DescribeProfileBlock() const
{
    const KeyboardProfileBlock::Bytes b = StoredBlock();
    return {
        {"profile", b[0]},    {"effect", b[1]},        {"light", b[2]},         {"speed", b[3] <= 4 ? 4 - b[3] : 0},
        {"fx", b[4]},         {"multicolor", b[5]},    {"red", b[6]},           {"green", b[7]},
        {"blue", b[8]},       {"byte17", b[17]},       {"zzcc-led-mode", b[18]}, {"wflag", b[19]},
        {"key6flag", b[20]},  {"winflag", b[21]},      {"polling", b[22]},      {"custom-group", b[25]},
    };
}

void CVarnokKeyboardDevice::ShowFunctionPage(int page)
{
    CVarnokUSBDevice::ShowFunctionPage(page);
    if (page != 1 && page != 2)
        return;
    if (auto* observer = PageObserver())
        observer->EnableKeyButton(kLightingOnlyKey, page == 1);
}

// Lighting.

std::array<uint8_t, CVarnokKeyboardDevice::kMaxTable> CVarnokKeyboardDevice::LightFrame() const
{
    return KeyColourImage::Build(LedColours(), m_keyMap.Leds(), true);
}

void CVarnokKeyboardDevice::PaintLights()
{
    if (LightControl() == 0)
        return;
    CVarnokUSBDevice::PaintLights();
    const uint8_t effect = GetLightInfoRecord().selectItem;
    if (!Wired() || (effect != KeyboardLightingPreview::kAudioEffect && effect != KeyboardLightingPreview::kStreamEffect))
        return;
    const auto frame = LightFrame();
    const size_t length = std::min<size_t>(static_cast<size_t>(Info()[5]) * 3, frame.size());
    if (CommandSet(ChannelA()).CMD_LIGHT_FRAME(frame.data(), length) != kResultOk)
        Pause(kFailedSendPauseMs);
}

void CVarnokKeyboardDevice::LoadCustomColours()
{
    const LightInfoRecord info = GetLightInfoRecord();
    const std::vector<KeyColor> colours =
        m_profile.ReadCustomLightColors(info.customGroup, static_cast<int32_t>(LedColours().Size()));
    for (size_t k = 0; k < colours.size() && k < LedColours().Size(); ++k)
        LedColours().Set(k, {colours[k].red, colours[k].green, colours[k].blue}, PreviewTables::Level(info.light));
}

int CVarnokKeyboardDevice::SendColourTable(const std::array<uint8_t, kMaxTable>& table)
{
    if (!Wired() || !ChannelA().IsOpen())
        return 0;
    const unsigned group = GetLightInfoRecord().customGroup;
    if (CommandSet(ChannelA()).CMD_WRITE_KEY_COLORS(table.data(), table.size(), group, kMaxTable) == kResultOk)
        return 1;
    Pause(kFailedSendPauseMs);
    return 0;
}

int CVarnokKeyboardDevice::ClickCustomKey(int key, bool groupSelected)
{
    const LightInfoRecord info = GetLightInfoRecord();
    if (info.selectItem != kCustomEffect || key < 0 || static_cast<size_t>(key) >= LedColours().Size())
        return 0;
    LedColours().Set(static_cast<size_t>(key), {info.red, info.green, info.blue}, PreviewTables::Level(info.light));
    if (groupSelected) {
        std::vector<KeyColor> colours(LedColours().Size());
        for (size_t k = 0; k < colours.size(); ++k) {
            const LedColour c = LedColours().Get(k);
            colours[k] = {c.r, c.g, c.b, 255};
        }
        m_profile.WriteCustomLightColors(colours, info.customGroup);
        SaveProfileData();
    }
    return SendColourTable(KeyColourImage::Build(LedColours(), m_keyMap.Leds(), false));
}

int CVarnokKeyboardDevice::SendCustomColours()
{
    return SendColourTable(KeyColourImage::Build(LedColours(), m_keyMap.Leds(), true));
}

void CVarnokKeyboardDevice::SetAudioLightRecord(const AudioLightRecord& record)
{
    {
        std::lock_guard lock(m_audioLock);
        m_audio = record;
    }
    m_profile.WriteAudioLighting(record);
}

AudioLightRecord CVarnokKeyboardDevice::AudioLight() const
{
    std::lock_guard lock(m_audioLock);
    return m_audio;
}

void CVarnokKeyboardDevice::FeedAudioSpectrum(const uint8_t* spectrum100, int count)
{
    if (spectrum100 == nullptr)
        return;
    const LightInfoRecord info = GetLightInfoRecord();
    if (LightValues().CodeOf(info.selectItem) != kAudioEffectCode || AudioLight().audioMode != kAudioColourMode)
        return;
    std::array<int32_t, KeyboardAudioMeter::kBands> bands{};
    std::memcpy(bands.data(), spectrum100, sizeof(bands));
    if (m_audioMeter.Feed(bands, count))
        if (KeyboardLightingPreview* preview = KeyboardPreview())
            preview->FireCentre();
}

void CVarnokKeyboardDevice::FeedAudioLevels(const uint32_t* levels6, int count)
{
    if (levels6 == nullptr)
        return;
    const size_t n = static_cast<size_t>(std::clamp(count, 0, static_cast<int>(m_audioLevels.size())));
    std::copy_n(levels6, n, m_audioLevels.begin());
}

bool CVarnokKeyboardDevice::AfterPreviewPass()
{
    std::lock_guard lock(m_regionLock);
    return m_regions.Step(m_regionRecords, LedColours());
}

// System settings.

void CVarnokKeyboardDevice::StoreSystem(bool sendBlock)
{
    m_profile.WriteKeyboardSystem(m_system);
    SaveProfileData();
    if (sendBlock)
        SendProfileBlock();
}

void CVarnokKeyboardDevice::SetPollingRate(int index)
{
    m_system.pollingRate = KeyboardProfileBlock::PollingRate(index);
    StoreSystem(true);
}

void CVarnokKeyboardDevice::SetWinFlag(int flag)
{
    m_system.winFlag = static_cast<uint16_t>(flag != 0);
    StoreSystem(true);
}

void CVarnokKeyboardDevice::SetWFlag(int flag)
{
    m_system.wFlag = static_cast<uint16_t>(flag != 0);
    StoreSystem(true);
}

void CVarnokKeyboardDevice::SetKey6Flag(int flag)
{
    m_system.key6Flag = static_cast<uint16_t>(flag != 0);
    StoreSystem(true);
}

void CVarnokKeyboardDevice::SetRepeat(int rate)
{
    m_system.repeat = static_cast<uint16_t>(std::clamp(rate, 0, 0xFFFF));
    StoreSystem(false);
}

void CVarnokKeyboardDevice::SetRepeatDelay(int index)
{
    m_system.repeatDelay = static_cast<uint16_t>(std::clamp(index, 0, 3));
    StoreSystem(false);
}

// Power, link and device codes.

void CVarnokKeyboardDevice::QueryPower()
{
    if (TrayFlag() != 1)
        CVarnokKeyedDevice::QueryPower();
}

void CVarnokKeyboardDevice::OnDeviceCode(int code)
{
    const int hi = ProfileCodeKind(code);
    if (hi == 0)
        return;
    SetActiveProfile(code & 0x0F);
    {
        std::lock_guard lock(m_blockLock);
        m_block[0] = static_cast<uint8_t>(code & 0x0F);
        if (hi == 0x11)
            m_block[17] = static_cast<uint8_t>((code >> 4) & 0x0F);
    }
    ReportDeviceCode(code);
}
