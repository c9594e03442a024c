#pragma once

#include "devices/DevicePageObserver.h"
#include "devices/LedColourList.h"
#include "devices/LightListPlayer.h"
#include "devices/LightValueList.h"
#include "devices/LightingPreview.h"
#include "devices/LightingPreviewThread.h"
#include "devices/PreviewSchedule.h"
#include "devices/SelectorTimerSchedule.h"
#include "hid/CommandChannel.h"
#include "hid/CommandSet.h"
#include "hid/DeviceKind.h"
#include "hid/DeviceSlot.h"
#include "profiles/DataFolders.h"
#include "profiles/LightRecords.h"
#include "profiles/ProfileRecords.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class CBasicProfiledata;
class HidBackend;

// The model every device kind builds on: its two command channels, the
// information block it reported, its identity, lighting state and preview,
// and the operations the main window, the discovery code, the editors and the
// worker threads call on any device. The base talks to the device only for
// the keyboard's light control; the kinds override the rest. What works on
// the kind's profile data (paths, load, save, LightInfo, the effect codes of
// "default_light.json", the lighting editor's state) is done here for every
// kind that has profile data, and not at all without it.
class CVarnokUSBDevice : public ScheduledDevice {
public:
    static constexpr size_t kInfoSize = CommandSet::kInfoSize;
    using InfoBlock = std::array<uint8_t, kInfoSize>;
    using LightInfoWords = std::array<uint32_t, 4>;

    // What the discovery code hands a device when it sets it up.
    struct Setup {
        std::string pageLayoutPath;
        std::string profileOwner;
        std::string lightFilePrefix = "mirva_light";
        std::string modelFolder;  // "mouse", "keyboard", "MousePad" or "HD"
        int keyCount = 0;
        int ledCount = 0;
        int deviceIndex = -1;
        int powerIndicator = 0;
        DeviceSlot slot;
    };

    explicit CVarnokUSBDevice(HidBackend& backend, DeviceKind kind = DeviceKind::None);
    ~CVarnokUSBDevice() override;
    CVarnokUSBDevice(const CVarnokUSBDevice&) = delete;
    CVarnokUSBDevice& operator=(const CVarnokUSBDevice&) = delete;

    virtual const char* ClassName() const { return "VarnokUSBDevice"; }

    // Set up (all fields at once, or one by one).
    void SetUp(const Setup& setup);
    void SetPageLayoutPath(const std::string& path) { m_pageLayoutPath = path; }
    void SetProfileOwner(const std::string& owner) { m_profileOwner = owner; }
    void SetLightFilePrefix(const std::string& prefix) { m_lightFilePrefix = prefix; }
    void SetModelFolder(const std::string& folder) { m_modelFolder = folder; }
    void SetKeyCount(int count);
    // Resizes and clears the LED colour list and the per-LED records; a new
    // preview of the kind's layout is made over the new list.
    void SetLedCount(int count);
    void SetDeviceIndex(int index) { m_deviceIndex = index; }
    void SetPowerIndicator(int flag) { m_powerIndicator = flag; }
    // Also sets kind and role.
    void SetSlot(const DeviceSlot& slot);
    void SetPageObserver(DevicePageObserver* observer) { m_observer = observer; }
    void SetDataFolders(const CDataFolders& folders) { m_folders = folders; }
    // The screen size the profile block carries (mouse).
    void SetScreenSize(int width, int height);
    // The current profile's identifier (the profile bar's selection).
    void SetProfileId(const std::wstring& id) { m_profileId = id; }
    const std::wstring& ProfileId() const { return m_profileId; }
    // Takes the profile identifier the kind's profile list selects, as the
    // profile bar hands it over (the list and "profile1" are made when missing).
    void SelectListedProfile();

    // Getters.
    DeviceKind Kind() const { return m_kind; }
    uint16_t Role() const { return m_role; }
    int DeviceIndex() const { return m_deviceIndex; }
    int PowerIndicatorFlag() const { return m_powerIndicator; }
    int TrayFlag() const { return m_trayFlag.load(); }
    void SetTrayFlag(int flag);
    int KeyCount() const { return m_keyCount; }
    int LedCount() const { return m_ledCount; }
    const DeviceSlot& Slot() const { return m_slot; }
    const std::string& PageLayoutPath() const { return m_pageLayoutPath; }
    const std::string& ProfileOwner() const { return m_profileOwner; }
    const std::string& LightFilePrefix() const { return m_lightFilePrefix; }
    const std::string& ModelFolder() const { return m_modelFolder; }
    int SelectedKey() const { return m_selectedKey; }
    int ScreenWidth() const { return m_screenWidth; }
    int ScreenHeight() const { return m_screenHeight; }
    DevicePageObserver* PageObserver() const { return m_observer; }

    CommandChannel& ChannelA() { return m_channelA; }
    CommandChannel& ChannelB() { return m_channelB; }
    const InfoBlock& Info() const { return m_info; }
    // The profile data object of the kind; none in the base.
    virtual CBasicProfiledata* ProfileData() { return nullptr; }
    // The model's effect codes (LoadNameLists).
    const LightValueList& LightValues() const { return m_lightValues; }
    LightValueList& LightValues() { return m_lightValues; }

    // Light control and window activity.
    void SetLightControl(int flag);
    int LightControl() const { return m_lightControl.load(); }
    void SetWindowActive(int flag) { m_windowActive.store(flag); }
    int WindowActive() const { return m_windowActive.load(); }

    // Folders.
    std::filesystem::path GetDefaultDataFolder() const;
    std::filesystem::path GetDefaultFile() const;
    std::filesystem::path GetDeviceDataFolder() const;
    std::filesystem::path GetAppDataFolder() const;
    const CDataFolders& Folders() const { return m_folders; }

    // Lighting state.
    LightInfoWords GetLightInfo() const;
    LightInfoRecord GetLightInfoRecord() const;
    // Stores the record and hands it to the preview.
    void SetLightInfoRecord(const LightInfoRecord& record);
    std::vector<LightInfoRecord> LedRecords() const;
    // The records themselves; the caller holds LightInfoLock().
    const std::vector<LightInfoRecord>& LedRecordsLocked() const { return m_ledRecords; }
    void SetLedRecords(std::vector<LightInfoRecord> records);
    // The light list (custom effect steps) the light-list step plays.
    std::vector<CustomEffectStep> LightList() const;
    void SetLightList(std::vector<CustomEffectStep> list);
    LedColourList& LedColours() { return *m_ledColours; }
    const LedColourList& LedColours() const { return *m_ledColours; }
    std::mutex& LightInfoLock() { return m_lightInfoLock; }
    LightingPreview* Preview() { return m_preview.get(); }

    // Lighting preview thread.
    void StartPreviewThread();
    void StopPreviewThread();
    bool PreviewThreadRunning() const;
    // The clock of previews made from now on (tests); milliseconds.
    void SetPreviewClock(LightingPreview::Clock clock);

    // ScheduledDevice.
    bool ChannelOpen() const override { return m_channelA.IsOpen(); }
    bool Wireless() const override { return m_channelA.IsWireless(); }
    bool HasPowerIndicator() const override { return m_powerIndicator != 0; }

    // The device operations with their defaults.
    virtual void InitPage();
    // LightInfo, per-LED records and light list from the profile; 1, or 0 without profile data.
    virtual int LoadLighting();
    virtual void StepBreathing();
    virtual void StepBreathingFixed();
    virtual void StepStatic();
    virtual void StepSpectrum();
    virtual void StepFlash();
    virtual void StepFlashFixed();
    virtual void StepOff();
    void PaintLights() override;
    virtual void SetLedColour(int index, uint32_t value);
    virtual uint32_t GetLedColour(int index) const;
    void Connect() override {}
    void RefreshFromDevice() override {}
    virtual void Reserved1() {}
    virtual void Reserved2() {}
    void QueryPower() override {}
    bool IsLinkUp() override { return true; }
    // Paths, effect codes, the profile file and the light configuration, then
    // LoadProfileContents; 1, or 0 without profile data.
    virtual int LoadProfile();
    // Effect codes, the lighting editor's state (with profile data), then the page.
    virtual void RefreshPage();
    virtual void DropMissingMacros() {}
    // The factory profile of DefaultData, saved as the current one; then RefreshPage.
    virtual void LoadDefaultProfile();
    virtual std::vector<int> CollectUsedMacros() { return {}; }
    virtual int WriteKeyTable(const std::vector<KeyEntry>& /*keyList*/) { return 0; }
    virtual int WriteKeyTableFromProfile() { return 0; }
    virtual int WriteMacros(const std::vector<int>& /*macroIndices*/) { return 0; }
    virtual int WriteProfileBlock(int /*profile*/, int /*byte0*/, int /*spare*/, int /*width*/, int /*height*/)
    {
        return 0;
    }
    // The effect codes of the model's row of "default_light.json" (with profile data).
    virtual void LoadNameLists();
    virtual void SetKeyMap(const std::map<int, int>& map) { m_keyMaps[2] = map; }
    virtual void FadeLed(int led, int band);
    virtual void LightRing();
    virtual void RotateRing(int direction);
    virtual void ResetFades();
    virtual void ShowFunctionPage(int page);
    virtual int GetFunctionPage() const { return m_functionPage; }
    virtual void SetProfilePaths();
    virtual std::filesystem::path GetProfilePath() const;
    virtual void SaveProfileData();
    // Also selects element 0 of the profile data's "Device" array.
    virtual void SetModelIndex(int index);
    virtual int GetModelIndex() const { return m_modelIndex; }
    // Stores the LightInfo (and hands it to the preview), then into the profile data.
    virtual void SetLightInfo(const LightInfoWords& words);
    virtual void SetAudioLight(uint32_t a, uint32_t b, uint32_t c);
    virtual std::array<uint32_t, 3> GetAudioLight();
    virtual void SelectKey(int index);
    // Every code a notification reader receives, on the reader's thread.
    virtual void NoteReaderCode(int /*code*/) {}
    virtual void FeedAudioSpectrum(const uint8_t* /*spectrum100*/, int /*count*/) {}
    virtual void FeedAudioLevels(const uint32_t* /*levels6*/, int /*count*/) {}

    // The step the preview thread runs after every pass (light list, per-LED
    // regions); true when any work was done. The base does none.
    virtual bool AfterPreviewPass() { return false; }

    // What the main window runs after a profile selection: load, drop missing
    // macros, refresh, profile block, macros (an overflow shows "message_text_16"
    // with the count and ends here, a failure "message_text_7"), key table.
    void ApplySelectedProfile();
    // A lighting edit: store the record, save, load lighting, send the profile block.
    void ApplyLightingEdit(const LightInfoRecord& record);
    // The key editor's "write to device": macros (with the messages of
    // ApplySelectedProfile), then the key table, then the profile is saved.
    // False when a macro overflow stopped it.
    bool WriteKeysAndMacros();
    // Stores a function triple for a key of the key list (profile in memory);
    // false when the kind has no such key.
    virtual bool StoreKeyFunction(int /*key*/, uint8_t /*type*/, uint8_t /*p1*/, uint8_t /*p2*/) { return false; }
    // The profile block last read, as "name value" pairs for a listing.
    virtual std::vector<std::pair<std::string, int>> DescribeProfileBlock() const { return {}; }

    // A message box through the observer.
    void ShowMessage(const std::string& textKey, std::optional<int> number = std::nullopt);

    static LightInfoWords PackLightInfo(const LightInfoRecord& record);
    static LightInfoRecord UnpackLightInfo(const LightInfoWords& words);

protected:
    // The preview of the kind's layout over the LED colour list; none in the base.
    virtual std::unique_ptr<LightingPreview> MakePreview(LedColourList& /*leds*/, LightingPreview::Clock /*clock*/)
    {
        return nullptr;
    }
    virtual const PreviewSchedule* Schedule() const { return nullptr; }
    // The state the preview animates for a LightInfo (the pad and the headset
    // take effect and speed from their stored block).
    virtual PreviewLightState PreviewStateOf(const LightInfoRecord& record) const;
    // What LoadProfile and LoadDefaultProfile take from the loaded profile
    // besides the file itself; the base loads the lighting.
    virtual void LoadProfileContents() { LoadLighting(); }
    // Tells the page to refresh, without reloading anything.
    void NotifyPageRefresh();
    // The profile block of profile 0 with the screen size, as every page setting sends it.
    int SendProfileBlock();
    // Milliseconds of the steady clock (the preview's and the region steps' clock).
    static uint64_t SteadyMs();
    // Remakes the preview (derived constructors call it once their kind is set).
    void RebuildPreview();
    void SetKind(DeviceKind kind) { m_kind = kind; }
    void SetInfo(const InfoBlock& info) { m_info = info; }
    InfoBlock& MutableInfo() { return m_info; }
    void PushLightInfoToPreview();
    // The profile file: the kind's data folder, the profile identifier, ".Json".
    std::filesystem::path ProfileFilePath() const;
    // The light configuration file: the data root, the prefix, ".config".
    std::filesystem::path LightConfigPath() const;
    // The link condition of every exchange: open, and on the receiver link the product present.
    bool LinkReady();
    // Through the receiver, whether the product answers; false on cable or with the channel closed.
    bool WirelessLinkUp();
    // Reads the 6-byte power record (byte 3 marks the receiver link) and hands it to the page.
    void ReadPowerRecord();
    // The high byte of a profile code the product sends (0x10 profile switched,
    // 0x11 profile and DPI stage), or 0 for another code or a closed channel.
    int ProfileCodeKind(int code);
    // Tells the page of a device code and refreshes it.
    void ReportDeviceCode(int code);
    std::map<int, int>& KeyMap(size_t which) { return m_keyMaps[which % 3]; }

private:
    void RunPreviewStep(PreviewStep step);
    // Macros of the key list; false when an overflow ends the sequence.
    bool WriteUsedMacros();

    CommandChannel m_channelA;
    CommandChannel m_channelB;
    InfoBlock m_info{};

    std::string m_pageLayoutPath;
    std::string m_profileOwner;
    std::string m_lightFilePrefix = "mirva_light";
    std::string m_modelFolder;
    std::wstring m_profileId;
    DeviceKind m_kind = DeviceKind::None;
    uint16_t m_role = kRoleCommand;
    DeviceSlot m_slot;
    int m_deviceIndex = -1;
    int m_modelIndex = 0;
    int m_powerIndicator = 0;
    std::atomic<int> m_trayFlag{0};
    int m_keyCount = 0;
    int m_ledCount = 0;
    int m_selectedKey = -1;
    int m_functionPage = 1;
    int m_screenWidth = 1920;
    int m_screenHeight = 1080;
    std::array<std::map<int, int>, 3> m_keyMaps;
    DevicePageObserver* m_observer = nullptr;
    CDataFolders m_folders;
    LightValueList m_lightValues;

    mutable std::mutex m_lightInfoLock;
    LightInfoRecord m_lightInfo{};
    std::vector<LightInfoRecord> m_ledRecords;
    LightListPlayer m_lightList;
    std::unique_ptr<LedColourList> m_ledColours;
    std::atomic<int> m_lightControl{1};
    std::atomic<int> m_windowActive{1};
    std::array<uint32_t, 3> m_audioLight{};

    LightingPreview::Clock m_previewClock;
    std::unique_ptr<LightingPreview> m_preview;
    std::unique_ptr<LightingPreviewThread> m_previewThread;
};
