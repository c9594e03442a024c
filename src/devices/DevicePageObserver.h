#pragma once

#include "profiles/LightRecords.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

class CVarnokUSBDevice;

// What a device model does to its page. The GUI's page implements it; the
// CLI and the tests use their own or none. Calls come on the thread that runs
// the device operation; device codes arrive on the notification readers'
// threads, so an implementation that touches widgets queues to its UI thread.
class DevicePageObserver {
public:
    virtual ~DevicePageObserver() = default;

    // The model changed what the page shows (profile loaded, block read back).
    virtual void RefreshPage(CVarnokUSBDevice& /*device*/) {}
    // A message box: the language text key, with the number a format string takes.
    virtual void ShowMessage(const std::string& /*textKey*/, std::optional<int> /*number*/) {}
    // The lighting editor's state follows the device's LightInfo.
    virtual void LightingEditorState(const LightInfoRecord& /*lightInfo*/) {}
    // The LED colour list changed; the page paints its light buttons.
    virtual void PaintLights(CVarnokUSBDevice& /*device*/) {}
    // Function tab pages to select; -1 leaves that tab alone.
    virtual void SelectFunctionTabs(int /*functionSwitch*/, int /*keyFunctionSwitch*/) {}
    // A power record for the power indicator and the battery level for the main window.
    virtual void PowerRecord(const std::array<uint8_t, 6>& /*record*/, int /*batteryLevel*/) {}
    // A notification code the device acted on.
    virtual void DeviceCode(int /*code*/) {}
    // The active profile number the device reported (registered message 0x0D00).
    virtual void ProfileNumber(int /*profile*/) {}
    // An audio value for the page's editors: the property and its value.
    virtual void AudioValue(const std::string& /*name*/, double /*value*/) {}
    // The selected key changed.
    virtual void KeySelected(int /*keyIndex*/) {}
    // The key button of a logical key becomes usable or not.
    virtual void EnableKeyButton(int /*logicalKey*/, bool /*enabled*/) {}
};
