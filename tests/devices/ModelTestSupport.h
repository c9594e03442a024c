#pragma once

#include "devices/DeviceAttach.h"
#include "devices/DevicePageObserver.h"
#include "devices/VarnokUSBDevice.h"
#include "hid/SupportedDeviceTable.h"
#include "profiles/JsonFile.h"
#include "sim/SimHidBackend.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace modeltest {

// A data root and a copy of the shipped data in a fresh folder.
class DataSandbox {
public:
    DataSandbox()
    {
        const char* source = std::getenv("GD_SOURCE_DIR");
        m_root = std::filesystem::temp_directory_path()
            / ("gd-models-" + std::to_string(::getpid()) + "-" + std::to_string(s_counter++));
        std::filesystem::remove_all(m_root);
        std::filesystem::create_directories(DefaultData());
        std::filesystem::copy(std::filesystem::path(source ? source : ".") / "DefaultData", DefaultData(),
                              std::filesystem::copy_options::recursive);
    }
    ~DataSandbox()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }
    DataSandbox(const DataSandbox&) = delete;
    DataSandbox& operator=(const DataSandbox&) = delete;

    std::filesystem::path AppData() const { return m_root / "appdata"; }
    std::filesystem::path DefaultData() const { return m_root / "DefaultData"; }
    CDataFolders Folders() const { return CDataFolders(AppData(), DefaultData()); }

    // A model's effect codes in "default_light.json" (model 0 unless given).
    void SetEffectCodes(const std::vector<int>& codes, int model = 0)
    {
        const auto file = DefaultData() / "default_light.json";
        Json::Value doc = ReadJsonFile(file);
        Json::Value row(Json::arrayValue);
        for (int code : codes) {
            Json::Value entry;
            entry["LightName"] = "light_mode_" + std::to_string(code);
            entry["value"] = code;
            entry["visible"] = 1;
            row.append(entry);
        }
        doc["DefaultLightName"][model] = row;
        ASSERT_TRUE(StoreJsonFileChecked(file, doc));
    }

    // Macros in a kind's folder, each with `events` simple events.
    void WriteMacros(const std::string& folder, const std::vector<int>& eventCounts)
    {
        const auto dir = AppData() / folder;
        std::filesystem::create_directories(dir);
        Json::Value list;
        list["MacroInfo"] = Json::Value(Json::arrayValue);
        for (size_t m = 0; m < eventCounts.size(); ++m) {
            Json::Value item;
            item["MacroName"] = "macro" + std::to_string(m);
            item["Guid"] = "m" + std::to_string(m);
            list["MacroInfo"].append(item);
            Json::Value file;
            file["Events"] = Events(eventCounts[m], static_cast<int>(m));
            ASSERT_TRUE(StoreJsonFileChecked(dir / ("m" + std::to_string(m) + ".mac"), file));
        }
        ASSERT_TRUE(StoreJsonFileChecked(dir / "macro.config", list));
    }

    // Events whose button is the tag and whose delay counts up from 1.
    static Json::Value Events(int count, int tag)
    {
        Json::Value events(Json::arrayValue);
        for (int e = 0; e < count; ++e) {
            Json::Value ev;
            ev["Type"] = 1;
            ev["Action"] = e % 2 == 0 ? "down" : "up";
            ev["Button"] = tag;
            ev["Delay"] = e + 1;
            events.append(ev);
        }
        return events;
    }

private:
    static inline int s_counter = 0;
    std::filesystem::path m_root;
};

// What the device told its page.
struct RecordingObserver : DevicePageObserver {
    void RefreshPage(CVarnokUSBDevice&) override { ++refreshes; }
    void ShowMessage(const std::string& key, std::optional<int> number) override
    {
        messages.push_back(key + (number ? " " + std::to_string(*number) : std::string()));
    }
    void PowerRecord(const std::array<uint8_t, 6>& record, int level) override
    {
        power = record;
        battery = level;
    }
    void ProfileNumber(int profile) override { profileNumber = profile; }
    void DeviceCode(int code) override { codes.push_back(code); }

    int refreshes = 0;
    std::vector<std::string> messages;
    std::optional<std::array<uint8_t, 6>> power;
    int battery = -1;
    int profileNumber = -1;
    std::vector<int> codes;
};

// The slot of an emulated product's command interface.
inline std::optional<DeviceSlot> CommandSlot(SimHidBackend& sim, SimProductKind kind)
{
    const std::string node = SimHidBackend::NodePath(kind);
    for (const DeviceSlot& slot : DeviceAttach::Scan(sim))
        if (slot.connected && slot.role == kRoleCommand && slot.path.starts_with(node + "#"))
            return slot;
    return std::nullopt;
}

// Sets the device up on the sandbox, selects its listed profile and attaches it.
inline void AttachDevice(CVarnokUSBDevice& device, SimHidBackend& sim, SimProductKind kind, DataSandbox& data,
                         DevicePageObserver* observer, int ledCount)
{
    const auto slot = CommandSlot(sim, kind);
    ASSERT_TRUE(slot.has_value()) << "no command interface for " << SimKindName(kind);
    device.SetDataFolders(data.Folders());
    device.SetPageObserver(observer);
    device.SetLedCount(ledCount);
    device.SetSlot(*slot);
    device.SelectListedProfile();
    ASSERT_TRUE(DeviceAttach::Attach(device.ChannelA(), *slot));
}

}  // namespace modeltest
