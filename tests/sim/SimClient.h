#pragma once

#include "hid/ReportFrame.h"
#include "platform/UniqueFd.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

// Host-side helpers for driving emulated nodes through their descriptors.
namespace simtest {

using Frame = std::array<uint8_t, ReportFrame::kSize>;

inline Frame Command(uint8_t code, uint8_t length = 0, uint16_t address = 0, const std::vector<uint8_t>& data = {})
{
    Frame f{};
    f[ReportFrame::kReportIdOffset] = ReportFrame::kReportId;
    f[ReportFrame::kCommandOffset] = code;
    f[ReportFrame::kLengthOffset] = length;
    ReportFrame::WriteLe16(&f[ReportFrame::kAddressOffset], address);
    if (!data.empty())
        std::memcpy(&f[ReportFrame::kDataOffset], data.data(), std::min(data.size(), ReportFrame::kMaxData));
    ReportFrame::StoreChecksum(f.data());
    return f;
}

inline bool Send(int fd, const Frame& frame)
{
    return ::write(fd, frame.data(), frame.size()) == static_cast<ssize_t>(frame.size());
}

// One input report, or nullopt when none arrives within the limit.
inline std::optional<std::vector<uint8_t>> Receive(int fd, int timeoutMs = 2000)
{
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0 || !(p.revents & POLLIN))
        return std::nullopt;
    std::vector<uint8_t> buffer(256);
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n <= 0)
        return std::nullopt;
    buffer.resize(static_cast<size_t>(n));
    return buffer;
}

// Sends a command and returns its reply.
inline std::optional<std::vector<uint8_t>> Exchange(int fd, const Frame& frame, int timeoutMs = 2000)
{
    if (!Send(fd, frame))
        return std::nullopt;
    return Receive(fd, timeoutMs);
}

// True when the descriptor reports hang-up within the limit; input still
// queued before the hang-up is read and dropped.
inline bool HungUp(int fd, int timeoutMs = 3000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
        pollfd p{fd, POLLIN, 0};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (::poll(&p, 1, static_cast<int>(std::max<int64_t>(left.count(), 1))) <= 0)
            return false;
        if (p.revents & POLLHUP)
            return true;
        std::array<uint8_t, 256> drop{};
        if (::read(fd, drop.data(), drop.size()) < 0)
            return false;
    }
    return false;
}

} // namespace simtest
