#pragma once

#include "devices/VarnokKeyedDevice.h"
#include "profiles/MouseProfiledata.h"

#include <array>
#include <cstdint>
#include <mutex>
#include <vector>

// The gaming mouse, by cable or through its receiver: information block and
// key table at connect, the profile block (lighting, polling, DPI stages,
// screen size and correction), key table, macro and recoil images, power
// records and the device codes of its notification readers.
class CVarnokMouseDevice : public CVarnokKeyedDevice {
public:
    static constexpr size_t kBlockSize = 80;
    static constexpr size_t kWrittenBlockSize = 75;
    static constexpr size_t kProfileStride = 128;
    static constexpr size_t kLogicalKeys = 11;
    static constexpr uint8_t kAbsent = 0xAA;
    static constexpr size_t kMaxDpiStages = 6;

    explicit CVarnokMouseDevice(HidBackend& backend);
    ~CVarnokMouseDevice() override;

    const char* ClassName() const override { return "VarnokMouseDevice"; }
    CBasicProfiledata* ProfileData() override { return &m_profile; }
    CMouseProfiledata& Profile() { return m_profile; }

    void Connect() override;
    void RefreshFromDevice() override;
    int WriteProfileBlock(int profile, int byte0, int spare, int width, int height) override;
    std::vector<std::pair<std::string, int>> DescribeProfileBlock() const override;

    // Page settings: each stores into the profile, saves and sends the profile block.
    void SetDpiStageValue(int stage, uint16_t stepIndex);
    void SetActiveDpiStage(int stage);
    void SetPollingStage(int stage);

    // Reads the active profile number and its block; false when any read fails.
    bool ReadProfileBlock(int& profileNumber);
    // The four recoil sequences in 56-byte chunks; 0 after sending, -1 on a lost link.
    int WriteRecoil();
    // A code from a notification reader (any thread).
    void OnDeviceCode(int code);

    // The block as the profile would write it (screen size from the arguments).
    std::array<uint8_t, kBlockSize> BuildProfileBlock(int byte0, int width, int height);

    const std::array<uint8_t, kBlockSize>& StoredBlock() const { return m_block; }
    const std::array<uint8_t, kLogicalKeys>& LogicalKeyMap() const { return m_logicalMap; }

    // The colour of a fixed-colour number.
    static Rgb FixedColour(uint8_t number);

protected:
    std::unique_ptr<LightingPreview> MakePreview(LedColourList& leds, LightingPreview::Clock clock) override;
    const PreviewSchedule* Schedule() const override;
    // Key list, lighting, DPI stages and the mouse system record.
    void LoadProfileContents() override;
    KeyTableImage KeyTable() const override { return KeyTableImage(m_logicalMap, kAbsent); }

private:
    bool ReadInfoAndKeys();
    void SendSettings();

    CMouseProfiledata m_profile;
    std::array<uint8_t, kLogicalKeys> m_logicalMap{};
    std::array<uint8_t, kBlockSize> m_block{};
    int m_previousProfile = 0;
    std::vector<DpiStage> m_stages;
    MouseSystemRecord m_system;
    mutable std::mutex m_blockLock;
};
