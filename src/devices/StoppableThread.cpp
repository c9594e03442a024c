#include "devices/StoppableThread.h"

#include "platform/DebugLog.h"

StoppableThread::~StoppableThread() { Stop(std::chrono::milliseconds(1000)); }

void StoppableThread::Start(Body body)
{
    Stop(std::chrono::milliseconds(1000));
    {
        std::lock_guard lock(m_mutex);
        m_stop = false;
        m_finished = false;
    }
    m_thread = std::thread([this, body = std::move(body)] {
        body(*this);
        std::lock_guard lock(m_mutex);
        m_finished = true;
        m_changed.notify_all();
    });
}

bool StoppableThread::Stop(std::chrono::milliseconds limit, const std::function<void()>& cancel)
{
    if (!m_thread.joinable())
        return true;
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_changed.notify_all();
    }
    if (cancel)
        cancel();
    bool ended;
    {
        std::unique_lock lock(m_mutex);
        ended = m_changed.wait_for(lock, limit, [this] { return m_finished; });
    }
    DebugOutput(ended ? "线程退出：：对象处于激发状态" : "线程退出：：对象处于非激发状态，超时");
    // The body observes the stop in every wait, so the join is short even after a time-out.
    m_thread.join();
    return ended;
}

bool StoppableThread::Running() const
{
    std::lock_guard lock(m_mutex);
    return !m_finished;
}

bool StoppableThread::WaitForStop(std::chrono::milliseconds duration)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, duration, [this] { return m_stop; });
}

bool StoppableThread::StopRequested() const
{
    std::lock_guard lock(m_mutex);
    return m_stop;
}
