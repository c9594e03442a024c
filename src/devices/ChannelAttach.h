#pragma once

#include "hid/DeviceSlot.h"

class CommandChannel;

// Opens channel A of a device on the command interface of a slot as
// discovery does: the receiver interface for the 2.4G kinds (mode 2), the
// cable interface otherwise (mode 1 for a mouse or keyboard by cable, the
// mode left alone for the mouse pad and the headset). The channel's exchange
// lock is held while its interfaces are opened or closed.
class ChannelAttach {
public:
    static bool UsesReceiver(DeviceKind kind);

    // Does nothing and returns true when the channel is already open.
    static bool Open(CommandChannel& channel, const DeviceSlot& slot);
    // Clears the open flag and closes both interfaces.
    static void Close(CommandChannel& channel);
};
