#include "devices/PadProfileBlock.h"

#include "hid/CommandChannel.h"
#include "hid/CommandSet.h"

#include <algorithm>

int PadProfileBlock::Read(CommandChannel& channel, const LightValueList& values)
{
    channel.SetPreviewHold(false);
    if (!channel.IsOpen())
        return -1;
    CommandSet commands(channel);
    uint8_t number = 0;
    if (commands.CMD_READ_PARAMS(&number, 1, 0) != kResultOk)
        return -1;
    std::array<uint8_t, kReadSize> block{};
    if (commands.CMD_READ_PARAMS(block.data(), block.size(), static_cast<uint16_t>(number * kReadStride))
        != kResultOk)
        return -1;
    block[0] = number;
    block[1] = values.IndexOf(block[1]);
    block[3] = static_cast<uint8_t>(4 - block[3]);
    std::lock_guard lock(m_mutex);
    std::copy_n(block.begin(), kSize, m_bytes.begin());
    return number;
}

void PadProfileBlock::Refresh(const LightInfoRecord& info)
{
    std::lock_guard lock(m_mutex);
    m_bytes[1] = info.selectItem;
    m_bytes[2] = info.light;
    m_bytes[3] = info.speed;
    m_bytes[5] = info.multiColor;
    m_bytes[6] = info.red;
    m_bytes[7] = info.green;
    m_bytes[8] = info.blue;
}

PadProfileBlock::Bytes PadProfileBlock::Wire(const LightValueList& values) const
{
    Bytes wire = Stored();
    wire[1] = values.CodeOf(wire[1]);
    wire[3] = static_cast<uint8_t>(4 - std::min<uint8_t>(wire[3], 4));
    return wire;
}

int PadProfileBlock::Write(CommandChannel& channel, const LightValueList& values, int profile) const
{
    const Bytes wire = Wire(values);
    if (!channel.IsOpen())
        return 0;
    CommandSet commands(channel);
    commands.CMD_CONFIG_BEGIN();
    commands.CMD_WRITE_PARAMS(wire.data(), wire.size(), static_cast<uint16_t>(profile * kWriteStride));
    commands.CMD_CONFIG_END(1);
    return 1;
}

PadProfileBlock::Bytes PadProfileBlock::Stored() const
{
    std::lock_guard lock(m_mutex);
    return m_bytes;
}

uint8_t PadProfileBlock::EffectIndex() const
{
    std::lock_guard lock(m_mutex);
    return m_bytes[1];
}

uint8_t PadProfileBlock::Speed() const
{
    std::lock_guard lock(m_mutex);
    return m_bytes[3];
}
