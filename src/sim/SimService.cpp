#include "sim/SimService.h"

#include "sim/SimProduct.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace {
constexpr size_t kPacketsPerPass = 16;
constexpr size_t kReceiveBuffer = 4096;
} // namespace

SimService::SimService() : m_receiveBuffer(kReceiveBuffer), m_wake(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
    if (!m_wake)
        throw std::system_error(errno, std::generic_category(), "emulator: cannot create its control eventfd");
    m_connections.reserve(32);
    m_delayed.reserve(64);
    m_unplugAfterPass.reserve(8);
    m_thread = std::thread([this] { Run(); });
}

SimService::~SimService()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    Wake();
    m_thread.join();
}

void SimService::Wake()
{
    const uint64_t one = 1;
    (void)!::write(m_wake.Get(), &one, sizeof one);
}

UniqueFd SimService::Connect(SimProduct& product, bool read, bool write)
{
    int ends[2] = {-1, -1};
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) != 0)
        return UniqueFd();
    UniqueFd client(ends[0]);
    UniqueFd server(ends[1]);
    {
        std::lock_guard lock(m_mutex);
        if (!product.Plugged()) {
            errno = ENODEV;
            return UniqueFd();
        }
        m_connections.push_back(Connection{std::move(server), ends[0], &product, read, write, false});
        ++m_generation;
    }
    Wake();
    return client;
}

void SimService::Plug(SimProduct& product)
{
    std::lock_guard lock(m_mutex);
    product.SetPlugged(true);
}

void SimService::Unplug(SimProduct& product)
{
    {
        std::lock_guard lock(m_mutex);
        UnplugLocked(product);
    }
    Wake();
}

void SimService::UnplugLocked(SimProduct& product)
{
    product.SetPlugged(false);
    for (Connection& c : m_connections) {
        if (c.product == &product && !c.dead) {
            // Shut down first: the peer sees hang-up even while poll() still
            // holds this end.
            ::shutdown(c.fd.Get(), SHUT_RDWR);
            c.dead = true;
        }
    }
    std::erase_if(m_connections, [](const Connection& c) { return c.dead; });
    std::erase_if(m_delayed, [&product](const Delayed& d) { return d.product == &product; });
    ++m_generation;
}

bool SimService::SendInput(SimProduct& product, const uint8_t* report, size_t length)
{
    std::lock_guard lock(m_mutex);
    if (!product.Plugged())
        return false;
    DeliverLocked(product, report, length);
    return true;
}

void SimService::DeliverLocked(SimProduct& product, const uint8_t* report, size_t length)
{
    product.Trace().Record(SimDirection::DeviceToHost, report, length);
    for (Connection& c : m_connections) {
        // A reader that does not keep up loses reports, as with a full hidraw queue.
        if (c.product == &product && c.readable && !c.dead)
            (void)::send(c.fd.Get(), report, length, MSG_DONTWAIT | MSG_NOSIGNAL);
    }
}

int SimService::FlushDelayedLocked()
{
    if (m_delayed.empty())
        return -1;
    const auto now = std::chrono::steady_clock::now();
    auto next = std::chrono::steady_clock::time_point::max();
    size_t kept = 0;
    for (size_t i = 0; i < m_delayed.size(); ++i) {
        Delayed& d = m_delayed[i];
        if (d.due <= now) {
            DeliverLocked(*d.product, d.report.data(), d.report.size());
            continue;
        }
        next = std::min(next, d.due);
        if (kept != i)
            m_delayed[kept] = d;
        ++kept;
    }
    m_delayed.resize(kept);
    if (kept == 0)
        return -1;
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(next - now).count();
    return static_cast<int>(std::clamp<int64_t>(wait, 0, 60000));
}

bool SimService::ServeLocked(Connection& connection)
{
    SimProduct& product = *connection.product;
    for (size_t n = 0; n < kPacketsPerPass; ++n) {
        if (!product.Plugged())
            return false;
        const ssize_t got = ::recv(connection.fd.Get(), m_receiveBuffer.data(), m_receiveBuffer.size(), MSG_DONTWAIT);
        if (got == 0) {
            connection.dead = true;  // the host closed its descriptor
            return false;
        }
        if (got < 0) {
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                connection.dead = true;
            return false;
        }
        if (!connection.writable)
            continue;  // a descriptor opened without write access sends nothing
        if (!HandleLocked(product, m_receiveBuffer.data(), static_cast<size_t>(got)))
            return false;
    }
    return true;
}

bool SimService::HandleLocked(SimProduct& product, const uint8_t* report, size_t length)
{
    const SimOutcome outcome = product.HandleOutput(report, length);
    for (size_t i = 0; i < outcome.count; ++i) {
        if (outcome.delayMs == 0) {
            DeliverLocked(product, outcome.reports[i].data(), outcome.reports[i].size());
        } else {
            m_delayed.push_back(Delayed{std::chrono::steady_clock::now() + std::chrono::milliseconds(outcome.delayMs),
                                        &product, outcome.reports[i]});
        }
    }
    if (!outcome.unplugAfter)
        return true;
    product.SetPlugged(false);
    m_unplugAfterPass.push_back(&product);
    return false;
}

bool SimService::EndPassLocked()
{
    bool changed = !m_unplugAfterPass.empty();
    for (SimProduct* product : m_unplugAfterPass)
        UnplugLocked(*product);
    m_unplugAfterPass.clear();
    if (std::erase_if(m_connections, [](const Connection& c) { return c.dead; }) > 0) {
        ++m_generation;
        changed = true;
    }
    return changed;
}

bool SimService::Output(int clientFd, const uint8_t* report, size_t length)
{
    bool wake = false;
    bool taken = false;
    bool found = false;
    {
        std::lock_guard lock(m_mutex);
        // The newest first: a number the host closed and got again belongs to the newer connection.
        auto it = std::find_if(m_connections.rbegin(), m_connections.rend(),
                               [clientFd](const Connection& c) { return c.clientFd == clientFd && !c.dead; });
        if (it != m_connections.rend() && it->product->Plugged()) {
            found = true;
            Connection& connection = *it;
            SimProduct& product = *connection.product;
            const size_t delayed = m_delayed.size();
            // What the host wrote before goes first.
            while (ServeLocked(connection)) {
            }
            if (!connection.dead && product.Plugged()) {
                taken = true;
                if (connection.writable)
                    HandleLocked(product, report, length);
            }
            wake = m_delayed.size() != delayed;
            wake = EndPassLocked() || wake;
        }
    }
    if (wake)
        Wake();
    if (!found) {
        // Not a live connection of the emulator: fails as a send on it would.
        const ssize_t sent = ::send(clientFd, report, length, MSG_DONTWAIT | MSG_NOSIGNAL);
        return sent == static_cast<ssize_t>(length);
    }
    if (!taken)
        errno = EPIPE;
    return taken;
}

void SimService::Run()
{
    std::vector<pollfd> fds;
    fds.reserve(33);
    uint64_t built = UINT64_MAX;
    for (;;) {
        int timeout = -1;
        {
            std::lock_guard lock(m_mutex);
            if (m_stop)
                return;
            if (built != m_generation) {
                fds.clear();
                fds.push_back({m_wake.Get(), POLLIN, 0});
                for (const Connection& c : m_connections)
                    fds.push_back({c.fd.Get(), POLLIN, 0});
                built = m_generation;
            }
            timeout = FlushDelayedLocked();
        }
        // Time-out: due replies go out at the top; interrupted: poll again.
        if (::poll(fds.data(), fds.size(), timeout) <= 0)
            continue;
        if (fds[0].revents & POLLIN) {
            uint64_t count = 0;
            (void)!::read(m_wake.Get(), &count, sizeof count);
        }
        std::lock_guard lock(m_mutex);
        if (m_stop)
            return;
        if (built != m_generation)
            continue;  // descriptors changed while polling; ready ones stay ready
        for (size_t i = 1; i < fds.size(); ++i) {
            const short events = fds[i].revents;
            if (events == 0)
                continue;
            Connection& c = m_connections[i - 1];
            if (c.dead || !c.product->Plugged())
                continue;
            if (events & POLLIN)
                ServeLocked(c);
            else
                c.dead = true;  // hang-up or error without data
        }
        EndPassLocked();
    }
}
