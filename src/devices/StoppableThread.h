#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// A worker thread with a stop signal that every wait of its body observes.
// Stopping never kills the thread: it signals, waits a bounded time and
// reports the outcome; the body is expected to end on the signal.
class StoppableThread {
public:
    using Body = std::function<void(StoppableThread&)>;

    StoppableThread() = default;
    ~StoppableThread();
    StoppableThread(const StoppableThread&) = delete;
    StoppableThread& operator=(const StoppableThread&) = delete;

    // Stops a running body first.
    void Start(Body body);

    // Signals the stop, runs `cancel` (which may unblock a pending read), waits
    // up to `limit` and writes the outcome's debug line. Nothing happens when no
    // thread runs. True when the body ended within the limit.
    bool Stop(std::chrono::milliseconds limit, const std::function<void()>& cancel = {});

    bool Running() const;

    // For the body: sleeps up to `duration`; true when the stop was signalled.
    bool WaitForStop(std::chrono::milliseconds duration);
    bool StopRequested() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_stop = false;
    bool m_finished = true;
    std::thread m_thread;
};
