#pragma once

#include "hid/ReportFrame.h"
#include "platform/UniqueFd.h"

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

using Report = std::vector<uint8_t>;

// The device end of a socket node on its own thread: records every report it
// receives and answers with what the script returns for it.
class ScriptedDevice {
public:
    // report number (from 0) and the report -> the replies to send, in order.
    using Script = std::function<std::vector<Report>(size_t index, const Report& report)>;

    ScriptedDevice(UniqueFd fd, Script script) : m_fd(std::move(fd)), m_script(std::move(script))
    {
        m_thread = std::thread([this] { Run(); });
    }
    ~ScriptedDevice()
    {
        m_stop = true;
        m_thread.join();
    }
    ScriptedDevice(const ScriptedDevice&) = delete;
    ScriptedDevice& operator=(const ScriptedDevice&) = delete;

    std::vector<Report> Received() const
    {
        std::lock_guard lock(m_mutex);
        return m_received;
    }

    // Sends an unsolicited report (an event).
    void Send(const Report& report) { (void)!::write(m_fd.Get(), report.data(), report.size()); }

    // The normal answer: the command echoed with status 0 and data bytes set to
    // their position plus seed.
    static Report Echo(const Report& command, uint8_t status = 0, uint8_t seed = 0)
    {
        Report reply(ReportFrame::kSize, 0);
        for (size_t i = 0; i < ReportFrame::kDataOffset && i < command.size(); ++i)
            reply[i] = command[i];
        reply[ReportFrame::kStatusOffset] = status;
        for (size_t i = ReportFrame::kDataOffset; i < ReportFrame::kSize; ++i)
            reply[i] = static_cast<uint8_t>(i - ReportFrame::kDataOffset + seed);
        return reply;
    }

    static Script EchoAll()
    {
        return [](size_t, const Report& r) { return std::vector<Report>{Echo(r)}; };
    }

private:
    void Run()
    {
        uint8_t buffer[4096];
        while (!m_stop) {
            pollfd p{m_fd.Get(), POLLIN, 0};
            if (::poll(&p, 1, 20) <= 0)
                continue;
            const ssize_t n = ::read(m_fd.Get(), buffer, sizeof buffer);
            if (n <= 0)
                return;
            Report report(buffer, buffer + n);
            size_t index = 0;
            {
                std::lock_guard lock(m_mutex);
                index = m_received.size();
                m_received.push_back(report);
            }
            for (const auto& reply : m_script(index, report))
                (void)!::write(m_fd.Get(), reply.data(), reply.size());
        }
    }

    UniqueFd m_fd;
    Script m_script;
    mutable std::mutex m_mutex;
    std::vector<Report> m_received;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
