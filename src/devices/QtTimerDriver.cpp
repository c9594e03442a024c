#include "devices/QtTimerDriver.h"

void QtTimerDriver::Arm(int id, int ms)
{
    auto& timer = m_timers[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer.get(), &QTimer::timeout, this, [this, id] {
            if (m_handler)
                m_handler(id);
        });
    }
    timer->start(ms);
}

void QtTimerDriver::Kill(int id)
{
    if (auto it = m_timers.find(id); it != m_timers.end())
        it->second->stop();
}

bool QtTimerDriver::Armed(int id) const
{
    auto it = m_timers.find(id);
    return it != m_timers.end() && it->second->isActive();
}
