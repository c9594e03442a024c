#include "hid/CommandChannel.h"

#include "hid/ReportDump.h"
#include "platform/DebugLog.h"

#include <algorithm>
#include <cstring>

CommandChannel::CommandChannel() = default;

CommandChannel::CommandChannel(HidBackend& backend) : m_cable(backend), m_receiver(backend) {}

CommandChannel::~CommandChannel()
{
    m_busy.store(0);
    m_receiver.Close();
    m_cable.Close();
}

void CommandChannel::SetMode(int mode)
{
    const bool wireless = mode == kChannelWireless;
    m_wireless.store(wireless ? 1 : 0);
    m_chunkSize.store(wireless ? 24 : 56);
}

bool CommandChannel::SetBlockSize(unsigned size)
{
    if (size > kMaxBlockSize)
        return false;
    m_blockSize.store(static_cast<uint16_t>(size));
    return true;
}

void CommandChannel::Frame(const uint8_t* command, size_t length, uint8_t* out)
{
    const size_t n = command ? std::min(length, ReportFrame::kSize) : 0;
    if (n)
        std::memcpy(out, command, n);
    std::memset(out + n, 0, ReportFrame::kSize - n);
}

int CommandChannel::Exchange(const uint8_t* command, size_t commandLength, uint8_t* reply, size_t replyLength,
                             size_t& bytesRead)
{
    m_busy.store(1);
    bytesRead = 0;
    int result = kResultNoReply;
    if (!IsOpen() || reply == nullptr || replyLength == 0) {
        m_busy.store(0);
        return result;
    }
    uint8_t report[ReportFrame::kSize];
    Frame(command, commandLength, report);
    const uint8_t code = report[ReportFrame::kCommandOffset];
    const bool debug = DebugOutputEnabled();
    if (debug)
        ReportDump::Write("命令", report);

    const bool wireless = IsWireless();
    HidInterface& link = wireless ? m_receiver : m_cable;
    const uint32_t limit = wireless ? kWirelessTimeLimitMs : kCableTimeLimitMs;
    bool written = false;
    {
        std::lock_guard lock(m_exchangeLock);
        size_t put = 0;
        written = link.Write(report, ReportFrame::kSize, put, limit);
    }
    if (!written) {
        m_busy.store(0);
        return kResultWriteFailed;
    }
    {
        std::lock_guard lock(m_exchangeLock);
        for (int attempt = 0; attempt < 2; ++attempt) {
            result = link.Read(reply, replyLength, bytesRead, limit) ? kResultOk : kResultNoReply;
            const bool echoed = replyLength > ReportFrame::kCommandOffset && reply[ReportFrame::kCommandOffset] == code;
            if (echoed)
                break;
            if (wireless && replyLength > ReportFrame::kCommandOffset
                && reply[ReportFrame::kCommandOffset] == ReportFrame::kUnreachable) {
                result = kResultUnreachable;
                break;
            }
        }
    }
    if (debug) {
        Frame(reply, replyLength, report);
        ReportDump::Write("返回", report);
    }
    m_busy.store(0);
    return result;
}

int CommandChannel::QuickExchange(const uint8_t* command, size_t commandLength, uint8_t* reply,
                                  size_t replyLength, size_t& bytesRead)
{
    bytesRead = 0;
    if (!IsOpen() || reply == nullptr || replyLength == 0)
        return kResultNoReply;
    uint8_t report[ReportFrame::kSize];
    Frame(command, commandLength, report);
    bool written = false;
    {
        std::lock_guard lock(m_exchangeLock);
        size_t put = 0;
        written = m_cable.Write(report, ReportFrame::kSize, put, kCableTimeLimitMs);
    }
    if (!written)
        return kResultWriteFailed;
    std::lock_guard lock(m_exchangeLock);
    return m_cable.Read(reply, replyLength, bytesRead, kCableTimeLimitMs) ? kResultOk : kResultNoReply;
}
