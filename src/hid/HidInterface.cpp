#include "hid/HidInterface.h"

#include "hid/DefaultHidBackend.h"
#include "hid/HidBackend.h"
#include "hid/HidPath.h"
#include "hid/ReportDescriptorParser.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>

namespace {

int64_t NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

constexpr size_t kMinScratch = 65;

} // namespace

HidInterface::HidInterface() : HidInterface(DefaultHidBackend()) {}

HidInterface::HidInterface(HidBackend& backend)
    : m_backend(backend), m_cancel(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
}

HidInterface::~HidInterface() { Close(); }

bool HidInterface::IsOpen() const
{
    std::lock_guard lock(m_mutex);
    return m_fd.Valid() && !m_closing;
}

bool HidInterface::Open(const std::string& path, bool read, bool write, bool /*overlapped*/, bool /*exclusive*/)
{
    Close();
    const std::string node(HidPath::NodePart(path));
    const auto facts = m_backend.QueryNode(node);
    if (!facts)
        return false;
    auto descriptor = ReportDescriptorParser::Parse(facts->reportDescriptor);
    if (!descriptor || descriptor->collections.empty())
        return false;
    const uint16_t collectionNumber = HidPath::CollectionNumber(path);
    size_t index = 0;
    if (collectionNumber == 0) {
        if (descriptor->collections.size() != 1)
            return false;  // a path must name one collection of a node that has several
    } else {
        index = collectionNumber - 1u;
        if (index >= descriptor->collections.size())
            return false;
    }
    UniqueFd fd = m_backend.OpenNode(node, read, write);
    if (!fd)
        return false;

    HidCollectionInfo& collection = descriptor->collections[index];
    HidCaps caps;
    caps.usagePage = collection.usagePage;
    caps.usage = collection.usage;
    caps.inputReportLength = collection.ReportLength(HidReportType::Input);
    caps.outputReportLength = collection.ReportLength(HidReportType::Output);
    caps.featureReportLength = collection.ReportLength(HidReportType::Feature);
    for (const auto& field : collection.fields) {
        const auto type = static_cast<size_t>(field.type);
        auto& counter = field.IsButton() ? caps.buttonCaps[type] : caps.valueCaps[type];
        if (counter < 0xFFFF)
            ++counter;
    }
    size_t longestInput = 0;
    for (const auto& c : descriptor->collections)
        longestInput = std::max<size_t>(longestInput, c.ReportLength(HidReportType::Input));

    std::lock_guard lock(m_mutex);
    m_path = path;
    m_attributes = {facts->vendorId, facts->productId, facts->version};
    m_caps = caps;
    m_interfaceNumber = HidPath::InterfaceNumber(path);
    m_collectionNumber = collectionNumber;
    m_nodeUsesReportIds = descriptor->usesReportIds;
    // A single collection owns every report of its node, including ones its
    // descriptor does not declare (the headset answers command frames).
    m_filterByReportId = descriptor->collections.size() > 1;
    m_reportBuffers[0].assign(caps.inputReportLength, 0);
    m_reportBuffers[1].assign(caps.outputReportLength, 0);
    m_reportBuffers[2].assign(caps.featureReportLength, 0);
    {
        std::lock_guard readLock(m_readMutex);
        m_decoder = ReportDecoder(collection);
        m_collection = std::move(collection);
        m_scratch.assign(std::max(longestInput + 1, kMinScratch), 0);
    }
    m_fd = std::move(fd);
    return true;
}

void HidInterface::Close()
{
    std::unique_lock lock(m_mutex);
    if (m_closing) {
        // Another thread is closing: return once it is done.
        m_idle.wait(lock, [this] { return !m_closing; });
        return;
    }
    if (!m_fd.Valid())
        return;
    m_closing = true;
    if (m_inProgress > 0 && m_cancel) {
        const uint64_t one = 1;
        (void)!::write(m_cancel.Get(), &one, sizeof one);
    }
    m_idle.wait(lock, [this] { return m_inProgress == 0; });
    if (m_cancel) {
        uint64_t drained = 0;
        (void)!::read(m_cancel.Get(), &drained, sizeof drained);
    }
    ResetState();
    m_closing = false;
    m_idle.notify_all();
}

void HidInterface::ResetState()
{
    m_fd.Reset();
    m_caps = {};
    m_attributes = {};
    {
        std::lock_guard readLock(m_readMutex);
        m_collection = {};
        m_decoder = {};
    }
    for (auto& buffer : m_reportBuffers)
        buffer = {};
    m_nodeUsesReportIds = false;
    m_filterByReportId = false;
}

bool HidInterface::BeginIo(int& fd)
{
    std::lock_guard lock(m_mutex);
    if (!m_fd.Valid() || m_closing)
        return false;
    ++m_inProgress;
    fd = m_fd.Get();
    return true;
}

void HidInterface::EndIo()
{
    std::lock_guard lock(m_mutex);
    if (--m_inProgress == 0)
        m_idle.notify_all();
}

HidInterface::Wait HidInterface::WaitFor(int fd, short events, bool unlimited, int64_t deadlineNs) const
{
    for (;;) {
        int timeout = -1;
        if (!unlimited) {
            const int64_t left = deadlineNs - NowNs();
            timeout = left <= 0 ? 0 : static_cast<int>(std::min<int64_t>((left + 999999) / 1000000, INT_MAX));
        }
        pollfd fds[2] = {{m_cancel.Get(), POLLIN, 0}, {fd, events, 0}};
        const bool cancellable = m_cancel.Valid();
        pollfd* first = cancellable ? fds : fds + 1;
        const int ready = ::poll(first, cancellable ? 2 : 1, timeout);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            return Wait::Failed;
        }
        if (cancellable && (fds[0].revents & POLLIN))
            return Wait::Cancelled;
        if (fds[1].revents & events)
            return Wait::Ready;
        if (fds[1].revents & (POLLERR | POLLHUP | POLLNVAL))
            return Wait::Failed;
        if (ready == 0 && !unlimited && NowNs() >= deadlineNs)
            return Wait::TimedOut;
    }
}

bool HidInterface::Read(uint8_t* buffer, size_t length, size_t& bytesRead, uint32_t timeoutMs)
{
    bytesRead = 0;
    if (buffer == nullptr || length == 0)
        return false;
    int fd = -1;
    if (!BeginIo(fd))
        return false;
    const bool ok = ReadLocked(fd, buffer, length, bytesRead, timeoutMs);
    EndIo();
    return ok;
}

bool HidInterface::ReadLocked(int fd, uint8_t* buffer, size_t length, size_t& bytesRead, uint32_t timeoutMs)
{
    std::lock_guard readLock(m_readMutex);
    const bool unlimited = timeoutMs == kNoTimeLimit;
    const int64_t deadline = unlimited ? 0 : NowNs() + int64_t{timeoutMs} * 1000000;
    // Without report IDs the node sends bare data; room is kept for the 0 ID byte.
    const size_t skip = m_nodeUsesReportIds ? 0 : 1;
    uint8_t* scratch = m_scratch.data();
    const size_t room = m_scratch.size() - skip;
    for (;;) {
        const Wait wait = WaitFor(fd, POLLIN, unlimited, deadline);
        if (wait != Wait::Ready)
            return false;
        const ssize_t got = ::read(fd, scratch + skip, room);
        if (got < 0) {
            if (errno == EAGAIN || errno == EINTR)
                continue;
            return false;
        }
        if (got == 0)
            return false;  // the other end is gone
        if (skip)
            scratch[0] = 0;
        const size_t total = static_cast<size_t>(got) + skip;
        if (m_filterByReportId && !m_collection.HasReportId(HidReportType::Input, scratch[0]))
            continue;  // a report of another collection of this node
        const size_t copied = std::min(total, length);
        std::memcpy(buffer, scratch, copied);
        std::memset(buffer + copied, 0, length - copied);
        bytesRead = copied;
        return true;
    }
}

bool HidInterface::Write(const uint8_t* buffer, size_t length, size_t& bytesWritten, uint32_t timeoutMs)
{
    bytesWritten = 0;
    if (buffer == nullptr || length == 0)
        return false;
    int fd = -1;
    if (!BeginIo(fd))
        return false;
    const bool unlimited = timeoutMs == kNoTimeLimit;
    const int64_t deadline = unlimited ? 0 : NowNs() + int64_t{timeoutMs} * 1000000;
    bool ok = false;
    for (;;) {
        const ssize_t put = ::write(fd, buffer, length);
        if (put >= 0) {
            bytesWritten = static_cast<size_t>(put);
            ok = bytesWritten == length;
            break;
        }
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN || WaitFor(fd, POLLOUT, unlimited, deadline) != Wait::Ready)
            break;
    }
    EndIo();
    return ok;
}

bool HidInterface::SetOutputReport(const uint8_t* report, size_t length)
{
    int fd = -1;
    if (report == nullptr || length == 0 || !BeginIo(fd))
        return false;
    const bool ok = m_backend.SetOutputReport(fd, report, length);
    EndIo();
    return ok;
}

bool HidInterface::DecodeInputReport(const uint8_t* report, size_t length)
{
    if (report == nullptr || length == 0 || !IsOpen())
        return false;
    std::lock_guard readLock(m_readMutex);
    if (!m_collection.HasReportId(HidReportType::Input, report[0]))
        return false;
    m_decoder.Decode(report, length);
    return true;
}

std::vector<HidDecodedData> HidInterface::InputData() const
{
    std::lock_guard readLock(m_readMutex);
    return m_decoder.Elements();
}

uint16_t HidInterface::EventCode() const
{
    std::lock_guard readLock(m_readMutex);
    return m_decoder.FirstUsage();
}
