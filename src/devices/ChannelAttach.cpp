#include "devices/ChannelAttach.h"

#include "hid/CommandChannel.h"

#include <mutex>

bool ChannelAttach::UsesReceiver(DeviceKind kind)
{
    return kind == DeviceKind::MouseReceiver || kind == DeviceKind::KeyboardReceiver;
}

bool ChannelAttach::Open(CommandChannel& channel, const DeviceSlot& slot)
{
    if (channel.IsOpen())
        return true;
    std::lock_guard lock(channel.ExchangeLock());
    const bool receiver = UsesReceiver(slot.kind);
    HidInterface& link = receiver ? channel.Receiver() : channel.Cable();
    if (!link.Open(slot.path, true, true))
        return false;
    channel.SetOpen(true);
    if (receiver)
        channel.SetMode(kChannelWireless);
    else if (slot.kind == DeviceKind::Mouse || slot.kind == DeviceKind::Keyboard)
        channel.SetMode(kChannelCable);
    return true;
}

void ChannelAttach::Close(CommandChannel& channel)
{
    std::lock_guard lock(channel.ExchangeLock());
    channel.SetOpen(false);
    channel.Cable().Close();
    channel.Receiver().Close();
}
