#pragma once

#include "hid/DeviceSlot.h"

#include <optional>
#include <string>

class CommandChannel;
class HidBackend;

// Finding a product's interfaces and opening a command channel on one, as
// discovery does: receivers in mode 2, the mouse and keyboard cables in mode
// 1, the pad and the headset with the mode left unset.
class DeviceAttach {
public:
    // Every listed interface recognised into a fresh slot list.
    static DeviceSlotList Scan(HidBackend& backend);
    // The live command slot of a supported-table row. An emulated node names
    // its product ("sim:<name>"), which decides between the keyboard and its
    // receiver (same identity); a real one must sit in the row itself.
    static std::optional<DeviceSlot> FindCommandSlot(const DeviceSlotList& slots, size_t tableRow,
                                                     const std::string& simName);
    // 2 for receiver kinds, 1 for the mouse and keyboard, 0 (unset) otherwise.
    static int ModeFor(DeviceKind slotKind);
    // Opens the cable or receiver interface of the channel on the slot's path
    // (read and write), sets the mode and the open flag. False when it cannot open.
    static bool Attach(CommandChannel& channel, const DeviceSlot& slot);
    // Closes both interfaces and clears the open flag.
    static void Detach(CommandChannel& channel);
};
