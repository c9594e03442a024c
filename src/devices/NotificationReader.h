#pragma once

#include "devices/NotificationPolicy.h"
#include "devices/StoppableThread.h"
#include "hid/HidInterface.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>

class HidBackend;
class NotificationSink;

// The reader of one event link: its own interface, lock, open flag and
// thread, which blocks in a read without time limit and hands the codes of
// the input reports to the sink. Stopping closes the interface, which cancels
// the pending read, and waits a bounded time.
class NotificationReader {
public:
    static constexpr std::chrono::milliseconds kStopLimit{500};

    NotificationReader(HidBackend& backend, NotificationPolicy policy, NotificationSink& sink);
    ~NotificationReader();
    NotificationReader(const NotificationReader&) = delete;
    NotificationReader& operator=(const NotificationReader&) = delete;

    // Stops a running reader, (re)opens the path for reading under the link's
    // lock and starts the reader when the open succeeded.
    bool Open(const std::string& path);
    // Stops the reader and closes the interface under the lock.
    void Close();

    bool IsOpen() const { return m_open.load(); }
    bool Running() const { return m_thread.Running(); }
    const std::string& Path() const { return m_path; }

private:
    void Run(StoppableThread& thread);
    void Handle(uint16_t code);
    void Stop();

    NotificationPolicy m_policy;
    NotificationSink& m_sink;
    HidInterface m_interface;
    std::mutex m_lock;
    std::atomic<bool> m_open{false};
    std::string m_path;
    StoppableThread m_thread;
};
