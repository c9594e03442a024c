#pragma once

#include "devices/KeyboardAudioMeter.h"
#include "devices/KeyboardKeyMap.h"
#include "devices/KeyboardProfileBlock.h"
#include "devices/LedRegionSteps.h"
#include "devices/VarnokKeyedDevice.h"
#include "profiles/KeyboardProfiledata.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

class KeyboardLightingPreview;

// The gaming keyboard, by cable or through its receiver: information block,
// key table and LED index table at connect, the 26-byte profile block with the
// keyboard system flags, key table and macro image, per-key colour groups,
// light frames of the host-streamed effects, the audio-driven effect, power
// records and the device codes of its notification readers.
class CVarnokKeyboardDevice : public CVarnokKeyedDevice {
public:
    static constexpr size_t kMaxTable = 512;
    static constexpr uint8_t kCustomEffect = 20;
    static constexpr uint8_t kAudioEffectCode = 29;
    static constexpr uint8_t kAudioColourMode = 2;
    static constexpr int kRefreshCode = 0x0402;  // the device asks for its profiles to be read again
    static constexpr int kFailedSendPauseMs = 200;
    // The logical key whose button is enabled on the lighting page (1) and disabled on the key page (2).
    static constexpr int kLightingOnlyKey = 110;

    explicit CVarnokKeyboardDevice(HidBackend& backend);
    ~CVarnokKeyboardDevice() override;

    const char* ClassName() const override { return "VarnokKeyboardDevice"; }
    CBasicProfiledata* ProfileData() override { return &m_profile; }
    CKeyboardProfiledata& Profile() { return m_profile; }

    int LoadLighting() override;
    void StepBreathing() override;
    void StepStatic() override;
    void PaintLights() override;
    void Connect() override;
    void RefreshFromDevice() override;
    // Not while the main window is in the tray.
    void QueryPower() override;
    int WriteProfileBlock(int profile, int byte0, int spare, int width, int height) override;
    // 25 band values (32 bits each) and a level.
    void FeedAudioSpectrum(const uint8_t* spectrum100, int count) override;
    void FeedAudioLevels(const uint32_t* levels6, int count) override;
    std::vector<std::pair<std::string, int>> DescribeProfileBlock() const override;
    // Base behaviour, then the button of kLightingOnlyKey on pages 1 and 2.
    void ShowFunctionPage(int page) override;
    // The per-LED region steps of the loaded per-LED records.
    bool AfterPreviewPass() override;

    // Reads the active profile number and its block; false when the channel
    // is closed or a read fails (then nothing changes).
    bool ReadProfileBlock();
    // A code above 0x0402 from a notification reader (any thread).
    void OnDeviceCode(int code);
    // Every code the readers receive; RefreshFromDevice looks at the last one.
    void NoteReaderCode(int code) override { m_lastReaderCode.store(code); }
    int LastReaderCode() const { return m_lastReaderCode.load(); }

    // The audio settings of the lighting editor (the colour mode drives the audio effect).
    void SetAudioLightRecord(const AudioLightRecord& record);
    AudioLightRecord AudioLight() const;

    // Custom key colours (effect 20). A click on key i's light button: the key
    // takes the LightInfo colour; with a custom group selected the colours go
    // into the profile's group; the group's table is sent to a wired keyboard.
    // 1 when sent, 0 otherwise.
    int ClickCustomKey(int key, bool groupSelected);
    // After a group operation of the lighting editor: the colours scaled by
    // their levels, sent the same way.
    int SendCustomColours();
    // The LED list takes the colours of the profile's selected custom group.
    void LoadCustomColours();

    // Keyboard system settings: each stores the triple into the profile and
    // saves; polling rate and the three flags are also sent with the block.
    void SetPollingRate(int index);
    void SetWinFlag(int flag);
    void SetWFlag(int flag);
    void SetKey6Flag(int flag);
    void SetRepeat(int rate);
    void SetRepeatDelay(int index);
    // The delay the repeat option shows: index × 250 + 250 ms.
    static int RepeatDelayMs(int index) { return index * 250 + 250; }
    KeyboardSystemRecord System() const;

    KeyboardProfileBlock::Bytes BuildProfileBlock() const;
    KeyboardProfileBlock::Bytes StoredBlock() const;
    KeyboardProfileBlock::Bytes PreviousBlock() const;
    const KeyboardKeyMap& LogicalKeys() const { return m_keyMap; }
    const KeyboardAudioMeter& AudioMeter() const { return m_audioMeter; }
    const std::array<uint32_t, 6>& AudioLevels() const { return m_audioLevels; }

    // The frame the keyboard gets for the host-streamed effects: 3 bytes per
    // LED number, each channel scaled by its key's level.
    std::array<uint8_t, kMaxTable> LightFrame() const;
    // Sleeps after a send the keyboard did not accept (tests replace it).
    void SetPause(std::function<void(int ms)> pause);

protected:
    std::unique_ptr<LightingPreview> MakePreview(LedColourList& leds, LightingPreview::Clock clock) override;
    const PreviewSchedule* Schedule() const override;
    // Keyboard system, audio lighting, key list and lighting.
    void LoadProfileContents() override;
    KeyTableImage KeyTable() const override { return KeyTableImage(m_keyMap.Positions(), KeyboardKeyMap::kAbsent); }
    // The keyboard's reads and writes make no link checks.
    bool ExchangeLinkReady() override { return true; }

private:
    bool ReadInfoKeysAndLeds();
    void StoreSystem(bool sendBlock);
    int SendColourTable(const std::array<uint8_t, kMaxTable>& table);
    KeyboardLightingPreview* KeyboardPreview();
    void RunKeyboardStep(unsigned effect);
    bool Wired() { return !ChannelA().IsWireless(); }
    void Pause(int ms);

    CKeyboardProfiledata m_profile;
    KeyboardKeyMap m_keyMap;
    std::array<uint8_t, kMaxTable> m_ledTable{};
    mutable std::mutex m_blockLock;
    KeyboardProfileBlock::Bytes m_block{};
    KeyboardProfileBlock::Bytes m_previousBlock{};
    std::atomic<int> m_lastReaderCode{0};
    KeyboardSystemRecord m_system;
    mutable std::mutex m_audioLock;
    AudioLightRecord m_audio;
    KeyboardAudioMeter m_audioMeter;
    std::array<uint32_t, 6> m_audioLevels{};
    std::function<void(int ms)> m_pause;
    std::mutex m_regionLock;
    std::vector<LightInfoRecord> m_regionRecords;
    LedRegionSteps m_regions;
};
