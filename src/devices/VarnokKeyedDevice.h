#pragma once

#include "devices/KeyTableImage.h"
#include "devices/VarnokUSBDevice.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// What the mouse and the keyboard share: the key table the product reports
// at connect, the profile's key list written over it with the macros the
// list names, the active profile number the product reports, and the power
// and link queries. The kinds give where each logical key sits in the table
// and whether their writes check the link.
class CVarnokKeyedDevice : public CVarnokUSBDevice {
public:
    static constexpr size_t kMaxKeyTable = 512;
    using KeyTableBytes = std::array<uint8_t, kMaxKeyTable>;

    // Not while the channel is closed or busy, nor through a receiver whose product is out of reach.
    void QueryPower() override;
    bool IsLinkUp() override;
    std::vector<int> CollectUsedMacros() override;
    // The table reported at connect with the list's functions; 1 when sent.
    int WriteKeyTable(const std::vector<KeyEntry>& keyList) override;
    int WriteKeyTableFromProfile() override;
    // 0 when sent (or nothing to send), the overflow count when the image is
    // too large, -1 when it could not be sent.
    int WriteMacros(const std::vector<int>& macroIndices) override;
    void DropMissingMacros() override;
    bool StoreKeyFunction(int key, uint8_t type, uint8_t p1, uint8_t p2) override;

    int ActiveProfile() const { return m_activeProfile.load(); }
    const std::vector<KeyEntry>& Keys() const { return m_keys; }
    void SetKeys(std::vector<KeyEntry> keys) { m_keys = std::move(keys); }

protected:
    CVarnokKeyedDevice(HidBackend& backend, DeviceKind kind);

    // Where each logical key sits in the key table reported at connect.
    virtual KeyTableImage KeyTable() const = 0;
    // The link condition of the connect reads and of each step of a write:
    // LinkReady, unless the kind makes no link checks there.
    virtual bool ExchangeLinkReady() { return LinkReady(); }

    // The key list, then the lighting.
    void LoadProfileContents() override;
    // With the link ready: configuration begin, the information block, the
    // block size and the key table; false when any of them fails (the
    // configuration is left open for the kind's further reads).
    bool BeginAndReadKeyTable(CommandSet& commands, KeyTableBytes& table);
    void SetBaseline(const KeyTableBytes& table) { m_baseline = table; }
    // Configuration begin, the write, end, the link checked before the begin
    // and before the end (and with `checkBeforeWrite` before the write too);
    // false when a check stops it.
    bool WriteInConfiguration(const std::function<void(CommandSet&)>& write, bool checkBeforeWrite = false);
    void SetActiveProfile(int profile) { m_activeProfile.store(profile); }

private:
    size_t MacroCount();

    KeyTableBytes m_baseline{};
    std::vector<KeyEntry> m_keys;
    std::atomic<int> m_activeProfile{0};
};
