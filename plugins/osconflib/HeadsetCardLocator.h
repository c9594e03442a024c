#pragma once

#include <filesystem>
#include <optional>
#include <string>

// Finds the ALSA card of the headset from the card folders under /proc/asound:
// the card whose "usbid" is 0c76:1630, or the card named by an override
// (a card number or a card id such as "Headset").
class HeadsetCardLocator {
public:
    static constexpr const char* kUsbId = "0c76:1630";
    // Environment variable that names another card to drive instead.
    static constexpr const char* kOverrideVariable = "GD_OSCONF_CARD";

    explicit HeadsetCardLocator(std::filesystem::path procRoot = "/proc/asound");

    // The card number, or nothing when no such card is present.
    std::optional<int> Find(const std::string& override) const;
    // Find with the override from the environment.
    std::optional<int> FindFromEnvironment() const;

private:
    std::optional<int> FindByOverride(const std::string& override) const;
    std::optional<int> FindByUsbId() const;

    std::filesystem::path m_procRoot;
};
