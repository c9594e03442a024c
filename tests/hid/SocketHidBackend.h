#pragma once

#include "hid/HidBackend.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <map>
#include <mutex>

// HID nodes whose device node is one end of a SOCK_SEQPACKET socket pair:
// every open gets a duplicate of the host end, the test drives the other.
class SocketHidBackend : public HidBackend {
public:
    // Adds the node and returns the device end of its socket pair.
    UniqueFd AddNode(const HidNode& node)
    {
        int fds[2] = {-1, -1};
        if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds) != 0)
            return UniqueFd();
        std::lock_guard lock(m_mutex);
        m_nodes[node.devicePath] = Entry{node, UniqueFd(fds[0])};
        return UniqueFd(fds[1]);
    }

    void RemoveNode(const std::string& devicePath)
    {
        std::lock_guard lock(m_mutex);
        m_nodes.erase(devicePath);
    }

    std::vector<HidNode> ListNodes() override
    {
        std::lock_guard lock(m_mutex);
        std::vector<HidNode> nodes;
        for (const auto& [path, entry] : m_nodes)
            nodes.push_back(entry.node);
        return nodes;
    }

    std::optional<HidNode> QueryNode(const std::string& devicePath) override
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_nodes.find(devicePath);
        if (it == m_nodes.end())
            return std::nullopt;
        return it->second.node;
    }

    UniqueFd OpenNode(const std::string& devicePath, bool, bool) override
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_nodes.find(devicePath);
        if (it == m_nodes.end())
            return UniqueFd();
        ++m_opens;
        UniqueFd fd(::fcntl(it->second.host.Get(), F_DUPFD_CLOEXEC, 0));
        if (fd)
            ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) | O_NONBLOCK);
        return fd;
    }

    bool SetOutputReport(int fd, const uint8_t* report, size_t length) override
    {
        return ::write(fd, report, length) == static_cast<ssize_t>(length);
    }

    int Opens() const
    {
        std::lock_guard lock(m_mutex);
        return m_opens;
    }

private:
    struct Entry {
        HidNode node;
        UniqueFd host;
    };
    mutable std::mutex m_mutex;
    std::map<std::string, Entry> m_nodes;
    int m_opens = 0;
};
