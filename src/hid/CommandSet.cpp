#include "hid/CommandSet.h"

#include "hid/CommandChannel.h"
#include "hid/ReportFrame.h"
#include "platform/DebugLog.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

namespace {

using namespace ReportFrame;

void BuildReport(uint8_t* report, uint8_t code, size_t length, uint32_t address, const uint8_t* data)
{
    std::memset(report, 0, kSize);
    report[kReportIdOffset] = kReportId;
    report[kCommandOffset] = code;
    report[kLengthOffset] = static_cast<uint8_t>(length);
    WriteLe16(report + kAddressOffset, static_cast<uint16_t>(address & 0xFFFF));
    if (data != nullptr && length > 0)
        std::memcpy(report + kDataOffset, data, std::min(length, kMaxData));
    StoreChecksum(report);
}

int StatusResult(const uint8_t* reply)
{
    if (reply[kStatusOffset] == kStatusFailed)
        return kResultStatusFailed;
    if (reply[kStatusOffset] == kStatusRejected)
        return kResultStatusRejected;
    return kResultOk;
}

} // namespace

std::mutex* CommandSet::LockFor(Lock lock)
{
    switch (lock) {
    case Lock::Command:
        return &m_channel.CommandLock();
    case Lock::Lighting:
        return &m_channel.LightingLock();
    case Lock::None:
        break;
    }
    return nullptr;
}

size_t CommandSet::ChannelChunk() const
{
    const size_t chunk = m_channel.ChunkSize();
    return chunk == 0 ? 24 : std::min(chunk, kMaxData);
}

int CommandSet::Send(uint8_t code, size_t length, uint32_t address, const uint8_t* data, Lock lock, uint8_t* reply)
{
    uint8_t report[kSize];
    BuildReport(report, code, length, address, data);
    std::memset(reply, 0, kSize);
    size_t got = 0;
    int result = kResultNoReply;
    if (std::mutex* mutex = LockFor(lock)) {
        std::lock_guard guard(*mutex);
        result = m_channel.Exchange(report, kSize, reply, kSize, got);
    } else {
        result = m_channel.Exchange(report, kSize, reply, kSize, got);
    }
    return result == kResultOk ? StatusResult(reply) : result;
}

int CommandSet::Transfer(const Chunking& how, size_t total, const uint8_t* source, uint8_t* destination)
{
    uint8_t reply[kSize];
    for (size_t offset = 0; offset < total; offset += how.chunk) {
        const size_t length = std::min(how.chunk, total - offset);
        const int result = Send(how.code, length, how.base + static_cast<uint32_t>(offset),
                                source ? source + offset : nullptr, how.lock, reply);
        if (result != kResultOk)
            return result;
        if (destination)
            std::memcpy(destination + offset, reply + kDataOffset, length);
    }
    return kResultOk;
}

int CommandSet::CMD_CONFIG_BEGIN()
{
    uint8_t reply[kSize];
    return Send(kCmdConfigBegin, 0, 0, nullptr, Lock::Command, reply);
}

int CommandSet::CMD_CONFIG_END(int /*unused*/)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    uint8_t reply[kSize];
    return Send(kCmdConfigEnd, 0, 0, nullptr, Lock::Command, reply);
}

int CommandSet::CMD_LIGHT_CONTROL()
{
    uint8_t reply[kSize];
    return Send(kCmdLightControl, 0, 0, nullptr, Lock::Command, reply);
}

int CommandSet::CMD_READ_INFO(uint8_t* destination)
{
    uint8_t info[kInfoSize];
    const int result = Transfer({kCmdReadInfo, Lock::Command, 0, ChannelChunk()}, kInfoSize, nullptr, info);
    if (result == kResultOk && destination)
        std::memcpy(destination, info, kInfoSize);
    return result;
}

int CommandSet::CMD_READ_PARAMS(uint8_t* destination, size_t length, uint16_t base)
{
    return Transfer({kCmdReadParams, Lock::Command, base, ChannelChunk()}, destination ? length : 0, nullptr,
                    destination);
}

int CommandSet::CMD_WRITE_PARAMS(const uint8_t* source, size_t length, uint16_t base)
{
    return Transfer({kCmdWriteParams, Lock::Command, base, ChannelChunk()}, source ? length : 0, source, nullptr);
}

int CommandSet::CMD_READ_KEYMAP(uint8_t* destination)
{
    return Transfer({kCmdReadKeymap, Lock::Command, 0, ChannelChunk()}, destination ? m_channel.BlockSize() : 0,
                    nullptr, destination);
}

int CommandSet::CMD_WRITE_KEYMAP(const uint8_t* source, unsigned page)
{
    if (page != 0)
        return kResultInvalidPage;
    return Transfer({kCmdWriteKeymap, Lock::Command, page * kKeymapPageSize, ChannelChunk()},
                    source ? m_channel.BlockSize() : 0, source, nullptr);
}

int CommandSet::CMD_WRITE_KEY_COLORS(const uint8_t* source, size_t length, unsigned page, unsigned stride)
{
    return Transfer({kCmdWriteKeyColors, Lock::Lighting, page * stride, ChannelChunk()}, source ? length : 0,
                    source, nullptr);
}

int CommandSet::CMD_LIGHT_FRAME(const uint8_t* source, size_t length)
{
    if (source == nullptr)
        return kResultOk;
    const size_t chunk = ChannelChunk();
    uint8_t report[kSize];
    uint8_t reply[kSize];
    for (size_t offset = 0; offset < length; offset += chunk) {
        if (m_channel.IsBusy()) {
            DebugOutput("放弃灯光数据");
            continue;
        }
        if (m_channel.IsWireless())
            continue;
        const size_t n = std::min(chunk, length - offset);
        BuildReport(report, kCmdLightFrame, n, static_cast<uint32_t>(offset), source + offset);
        std::memset(reply, 0, kSize);
        size_t got = 0;
        int result = kResultNoReply;
        {
            std::lock_guard guard(m_channel.LightingLock());
            result = m_channel.QuickExchange(report, kSize, reply, kSize, got);
        }
        if (result == kResultOk)
            result = StatusResult(reply);
        if (result != kResultOk)
            return result;
    }
    return kResultOk;
}

int CommandSet::CMD_WRITE_MACROS(const uint8_t* source, size_t length)
{
    return Transfer({kCmdWriteMacros, Lock::Command, 0, ChannelChunk()}, source ? length : 0, source, nullptr);
}

int CommandSet::CMD_WRITE_SHOOT(const uint8_t* source, size_t length)
{
    return Transfer({kCmdWriteShoot, Lock::None, 0, kMaxData}, source ? length : 0, source, nullptr);
}

int CommandSet::CMD_READ_POWER(uint8_t* destination, size_t length, uint16_t address)
{
    const size_t n = std::min(length, kMaxData);
    uint8_t reply[kSize];
    const int result = Send(kCmdReadPower, n, address, nullptr, Lock::Command, reply);
    if (result == kResultOk && destination)
        std::memcpy(destination, reply + kDataOffset, n);
    return result;
}

int CommandSet::CMD_READ_LED_MAP(uint8_t* destination)
{
    return Transfer({kCmdReadLedMap, Lock::Command, 0, ChannelChunk()},
                    destination ? m_channel.BlockSize() / 3u : 0, nullptr, destination);
}

bool CommandSet::CMD_LINK_STATUS()
{
    if (!m_channel.IsWireless())
        return true;
    uint8_t reply[kSize];
    return Send(kCmdLinkStatus, 0, 0, nullptr, Lock::Command, reply) == kResultOk && reply[kDataOffset] == 0xFF;
}
