#include "devices/VarnokMouseDevice.h"

#include "devices/MacroImage.h"
#include "devices/MouseLightingPreview.h"
#include "hid/ReportFrame.h"
#include "profiles/JsonFile.h"

#include <algorithm>

namespace {

using Triple = std::array<uint8_t, 3>;

// The factory function of each logical key, by which it is found in the key table.
constexpr std::array<Triple, CVarnokMouseDevice::kLogicalKeys> kLogicalKeyTriples = {{
    {0x10, 0x01, 0x00}, {0x10, 0x02, 0x00}, {0x10, 0x04, 0x00}, {0x10, 0x10, 0x00},
    {0x10, 0x08, 0x00}, {0x13, 0x01, 0x00}, {0x13, 0x02, 0x00}, {0xA0, 0x02, 0x00},
    {0xA0, 0x1B, 0x00}, {0x16, 0x90, 0x01}, {0x14, 0x78, 0x02},
}};

constexpr size_t kStageOffset = 14;
constexpr size_t kStageSize = 9;

void PutWord(uint8_t* at, unsigned value)
{
    at[0] = static_cast<uint8_t>(value & 0xFF);
    at[1] = static_cast<uint8_t>((value >> 8) & 0xFF);
}

}  // namespace

CVarnokMouseDevice::CVarnokMouseDevice(HidBackend& backend) : CVarnokKeyedDevice(backend, DeviceKind::Mouse)
{
    SetModelFolder("mouse");
    m_logicalMap.fill(kAbsent);
    RebuildPreview();
}

CVarnokMouseDevice::~CVarnokMouseDevice() { StopPreviewThread(); }

std::unique_ptr<LightingPreview> CVarnokMouseDevice::MakePreview(LedColourList& leds, LightingPreview::Clock clock)
{
    return std::make_unique<MouseLightingPreview>(leds, std::move(clock));
}

const PreviewSchedule* CVarnokMouseDevice::Schedule() const { return &PreviewSchedule::Mouse(); }

Rgb CVarnokMouseDevice::FixedColour(uint8_t number)
{
    static constexpr std::array<Rgb, 6> kColours = {{
        {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 0, 138}, {255, 255, 0}, {61, 239, 255},
    }};
    return number < kColours.size() ? kColours[number] : Rgb{255, 255, 255};
}

void CVarnokMouseDevice::Connect()
{
    ReadInfoAndKeys();
    LoadProfile();
    int profile = 0;
    ReadProfileBlock(profile);
    RefreshPage();
    StartPreviewThread();
}

bool CVarnokMouseDevice::ReadInfoAndKeys()
{
    CommandSet commands(ChannelA());
    KeyTableBytes table{};
    if (!BeginAndReadKeyTable(commands, table))
        return false;
    SetBaseline(table);
    commands.CMD_CONFIG_END(1);
    m_logicalMap.fill(kAbsent);
    const size_t keys = Info()[5];
    for (size_t k = 0; k < kLogicalKeys; ++k) {
        for (size_t h = 0; h < keys; ++h) {
            if (std::equal(kLogicalKeyTriples[k].begin(), kLogicalKeyTriples[k].end(), &table[h * 3])) {
                m_logicalMap[k] = static_cast<uint8_t>(h);
                break;
            }
        }
    }
    return true;
}

void CVarnokMouseDevice::LoadProfileContents()
{
    CVarnokKeyedDevice::LoadProfileContents();
    m_stages = m_profile.ReadDpiStages();
    m_system = m_profile.ReadMouseSystem();
}

bool CVarnokMouseDevice::ReadProfileBlock(int& profileNumber)
{
    ChannelA().SetPreviewHold(false);
    m_previousProfile = ActiveProfile();
    if (!LinkReady())
        return false;
    CommandSet commands(ChannelA());
    uint8_t number = 0;
    if (commands.CMD_READ_PARAMS(&number, 1, 0) != kResultOk)
        return false;
    std::array<uint8_t, kBlockSize> block{};
    if (commands.CMD_READ_PARAMS(block.data(), block.size(), static_cast<uint16_t>(number * kProfileStride))
        != kResultOk)
        return false;
    block[0] = number;
    block[1] = LightValues().IndexOf(block[1]);
    block[10] = 0;
    {
        std::lock_guard lock(m_blockLock);
        m_block = block;
    }
    SetActiveProfile(number);
    profileNumber = number;

    LightInfoRecord info = GetLightInfoRecord();
    info.selectItem = block[1];
    info.light = block[2];
    info.speed = static_cast<uint8_t>(4 - block[3]);
    info.multiColor = block[5];
    info.red = block[6];
    info.green = block[7];
    info.blue = block[8];
    info.clColor = block[9];
    SetLightInfoRecord(info);
    m_profile.WriteActiveStage(block[12]);
    m_profile.WriteLightInfo(info);
    SaveProfileData();
    return true;
}

void CVarnokMouseDevice::RefreshFromDevice()
{
    int profile = 0;
    if (ReadProfileBlock(profile)) {
        LightInfoRecord info = GetLightInfoRecord();
        if (info.selectItem == 2) {
            const Rgb colour = FixedColour(info.clColor);
            info.red = colour.r;
            info.green = colour.g;
            info.blue = colour.b;
            SetLightInfoRecord(info);
        }
    }
    RefreshPage();
}

std::array<uint8_t, CVarnokMouseDevice::kBlockSize> CVarnokMouseDevice::BuildProfileBlock(int byte0, int width,
                                                                                         int height)
{
    std::array<uint8_t, kBlockSize> block{};
    const LightInfoRecord info = m_profile.ReadLightInfo();
    const unsigned effect = info.selectItem >= 10 ? 0 : info.selectItem;
    block[0] = static_cast<uint8_t>(byte0);
    block[1] = LightValues().CodeOf(effect);
    block[2] = info.light;
    block[3] = static_cast<uint8_t>(4 - std::min<uint8_t>(info.speed, 4));
    block[4] = info.fx;
    block[5] = info.multiColor;
    block[6] = info.red;
    block[7] = info.green;
    block[8] = info.blue;
    block[9] = info.clColor;
    block[11] = static_cast<uint8_t>(m_profile.ReadMouseSystem().reportStage);
    const std::vector<DpiStage> stages = m_profile.ReadDpiStages();
    block[12] = static_cast<uint8_t>(m_profile.GetActiveStage());
    for (size_t i = 0; i < std::min(stages.size(), kMaxDpiStages); ++i) {
        uint8_t* at = &block[kStageOffset + kStageSize * i];
        const DpiStage& s = stages[i];
        at[0] = s.active;
        at[1] = s.xy;
        PutWord(at + 2, s.dpiX);
        PutWord(at + 4, s.dpiY);
        at[6] = s.red;
        at[7] = s.green;
        at[8] = s.blue;
    }
    PutWord(&block[69], static_cast<unsigned>(std::clamp(width, 0, 0xFFFF)));
    PutWord(&block[71], static_cast<unsigned>(std::clamp(height, 0, 0xFFFF)));
    for (const CorrectEntry& entry : m_profile.ReadCorrectInfo()) {
        if (entry.selected != 0) {
            block[73] = entry.minSquare;
            block[74] = entry.pixThresh;
            break;
        }
    }
    return block;
}

int CVarnokMouseDevice::WriteProfileBlock(int profile, int byte0, int /*spare*/, int width, int height)
{
    const auto block = BuildProfileBlock(byte0, width, height);
    const bool sent = WriteInConfiguration([&](CommandSet& commands) {
        commands.CMD_WRITE_PARAMS(block.data(), kWrittenBlockSize, static_cast<uint16_t>(profile * kProfileStride));
    });
    return sent ? 1 : 0;
}

int CVarnokMouseDevice::WriteRecoil()
{
    MacroImage image;
    for (int i = 0; i < 4; ++i) {
        const Json::Value file =
            ReadJsonFile(GetDeviceDataFolder() / ("ShootData_" + std::to_string(i) + ".Shoot"));
        image.AddEntry(file.isObject() ? file["Events"] : Json::Value());
    }
    const std::vector<uint8_t> bytes = image.Build();
    const bool sent = WriteInConfiguration(
        [&](CommandSet& commands) { commands.CMD_WRITE_SHOOT(bytes.data(), bytes.size()); }, true);
    return sent ? 0 : -1;
}

void CVarnokMouseDevice::OnDeviceCode(int code)
{
    const int hi = ProfileCodeKind(code);
    if (hi == 0)
        return;
    SetActiveProfile(code & 0x0F);
    if (hi == 0x11) {
        std::lock_guard lock(m_blockLock);
        m_block[12] = static_cast<uint8_t>((code >> 4) & 0x0F);
    }
    ReportDeviceCode(code);
}

std::vector<std::pair<std::string, int>> CVarnokMouseDevice::DescribeProfileBlock() const
{
    std::array<uint8_t, kBlockSize> b{};
    {
        std::lock_guard lock(m_blockLock);
        b = m_block;
    }
    std::vector<std::pair<std::string, int>> out = {
        {"profile", b[0]}, {"effect", b[1]}, {"light", b[2]}, {"speed", 4 - b[3]}, {"fx", b[4]},
        {"multicolor", b[5]}, {"red", b[6]}, {"green", b[7]}, {"blue", b[8]}, {"clcolor", b[9]},
        {"polling", b[11]}, {"dpi-active", b[12]},
    };
    for (size_t i = 0; i < kMaxDpiStages; ++i) {
        const uint8_t* s = &b[kStageOffset + kStageSize * i];
        const std::string name = "dpi" + std::to_string(i);
        out.emplace_back(name + "-enabled", s[0]);
        out.emplace_back(name + "-x", ReportFrame::ReadLe16(s + 2));
        out.emplace_back(name + "-y", ReportFrame::ReadLe16(s + 4));
    }
    return out;
}

void CVarnokMouseDevice::SendSettings()
{
    SaveProfileData();
    SendProfileBlock();
}

void CVarnokMouseDevice::SetDpiStageValue(int stage, uint16_t stepIndex)
{
    if (stage < 0 || static_cast<size_t>(stage) >= kMaxDpiStages)
        return;
    std::vector<DpiStage> stages = m_profile.ReadDpiStages();
    if (stages.size() <= static_cast<size_t>(stage))
        stages.resize(static_cast<size_t>(stage) + 1);
    stages[static_cast<size_t>(stage)].dpiX = stepIndex;
    m_profile.WriteDpiStages(stages);
    m_stages = stages;
    SendSettings();
}

void CVarnokMouseDevice::SetActiveDpiStage(int stage)
{
    if (stage < 0 || static_cast<size_t>(stage) >= kMaxDpiStages)
        return;
    m_profile.WriteActiveStage(stage);
    SendSettings();
}

void CVarnokMouseDevice::SetPollingStage(int stage)
{
    if (stage < 0 || stage > 4)
        return;
    MouseSystemRecord system = m_profile.ReadMouseSystem();
    system.reportStage = static_cast<uint16_t>(stage);
    m_profile.WriteMouseSystem(system);
    m_system = system;
    SendSettings();
}
