#include "devices/VarnokKeyedDevice.h"

#include "devices/MacroImage.h"
#include "profiles/BasicProfiledata.h"
#include "profiles/MacroStore.h"

#include <algorithm>
#include <span>

CVarnokKeyedDevice::CVarnokKeyedDevice(HidBackend& backend, DeviceKind kind) : CVarnokUSBDevice(backend, kind) {}

void CVarnokKeyedDevice::LoadProfileContents()
{
    if (CBasicProfiledata* profile = ProfileData())
        m_keys = profile->ReadKeyList();
    LoadLighting();
}

bool CVarnokKeyedDevice::BeginAndReadKeyTable(CommandSet& commands, KeyTableBytes& table)
{
    if (!ChannelA().IsOpen() || !ExchangeLinkReady())
        return false;
    commands.CMD_CONFIG_BEGIN();
    InfoBlock info{};
    if (commands.CMD_READ_INFO(info.data()) != kResultOk)
        return false;
    SetInfo(info);
    const unsigned tableSize = static_cast<unsigned>(info[5]) * 3;
    if (tableSize > kMaxKeyTable || !ChannelA().SetBlockSize(tableSize))
        return false;
    return commands.CMD_READ_KEYMAP(table.data()) == kResultOk;
}

bool CVarnokKeyedDevice::WriteInConfiguration(const std::function<void(CommandSet&)>& write, bool checkBeforeWrite)
{
    if (!ExchangeLinkReady())
        return false;
    CommandSet commands(ChannelA());
    commands.CMD_CONFIG_BEGIN();
    if (checkBeforeWrite && !ExchangeLinkReady())
        return false;
    write(commands);
    if (!ExchangeLinkReady())
        return false;
    commands.CMD_CONFIG_END(1);
    return true;
}

size_t CVarnokKeyedDevice::MacroCount()
{
    CMacroStore store;
    store.SetFolder(GetDeviceDataFolder());
    store.LoadMacroList();
    return store.Items().size();
}

std::vector<int> CVarnokKeyedDevice::CollectUsedMacros() { return KeyTable().UsedMacros(m_keys, MacroCount()); }

int CVarnokKeyedDevice::WriteKeyTable(const std::vector<KeyEntry>& keyList)
{
    if (!ChannelA().IsOpen() || !ExchangeLinkReady())
        return 0;
    InfoBlock info{};
    if (CommandSet(ChannelA()).CMD_READ_INFO(info.data()) != kResultOk)
        return 0;
    SetInfo(info);
    const size_t tableSize = std::min<size_t>(static_cast<size_t>(info[5]) * 3, kMaxKeyTable);
    std::vector<KeyEntry> keys = keyList;
    std::vector<uint8_t> table =
        KeyTable().Build(std::span<const uint8_t>(m_baseline).first(tableSize), keys, MacroCount());
    table.resize(kMaxKeyTable, 0);
    const bool sent = WriteInConfiguration([&](CommandSet& commands) { commands.CMD_WRITE_KEYMAP(table.data(), 0); });
    return sent ? 1 : 0;
}

int CVarnokKeyedDevice::WriteKeyTableFromProfile() { return WriteKeyTable(m_keys); }

void CVarnokKeyedDevice::DropMissingMacros()
{
    if (!KeyTableImage::RestoreMissingMacros(m_keys, MacroCount()))
        return;
    if (CBasicProfiledata* profile = ProfileData())
        profile->WriteKeyList(m_keys);
    NotifyPageRefresh();
}

int CVarnokKeyedDevice::WriteMacros(const std::vector<int>& macroIndices)
{
    if (ChannelA().IsOpen() && Wireless() && !ExchangeLinkReady())
        return 0;
    InfoBlock info{};
    // Without a fresh information block the capacity is unknown: nothing is sent.
    if (CommandSet(ChannelA()).CMD_READ_INFO(info.data()) != kResultOk)
        return macroIndices.empty() ? 0 : -1;
    SetInfo(info);
    CMacroStore store;
    store.SetFolder(GetDeviceDataFolder());
    store.LoadMacroList();
    if (macroIndices.empty())
        return 0;
    MacroImage image;
    for (int index : macroIndices)
        image.AddEntry(store.ReadMacroEvents(index));
    const int overflow = image.Overflow(static_cast<size_t>(info[6]) * 128);
    if (overflow > 0)
        return overflow;
    const std::vector<uint8_t> bytes = image.Build();
    const bool sent = WriteInConfiguration(
        [&](CommandSet& commands) { commands.CMD_WRITE_MACROS(bytes.data(), bytes.size()); }, true);
    return sent ? 0 : -1;
}

bool CVarnokKeyedDevice::StoreKeyFunction(int key, uint8_t type, uint8_t p1, uint8_t p2)
{
    CBasicProfiledata* profile = ProfileData();
    if (!profile || key < 0 || static_cast<size_t>(key) >= m_keys.size())
        return false;
    KeyEntry& e = m_keys[static_cast<size_t>(key)];
    e[2] = type;
    e[3] = p1;
    e[4] = p2;
    profile->WriteKeyList(m_keys);
    return true;
}

void CVarnokKeyedDevice::QueryPower()
{
    if (!ChannelA().IsOpen() || ChannelA().IsBusy() || !LinkReady())
        return;
    ReadPowerRecord();
}

bool CVarnokKeyedDevice::IsLinkUp() { return WirelessLinkUp(); }
