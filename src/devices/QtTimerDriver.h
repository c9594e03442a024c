#pragma once

#include "devices/TimerDriver.h"

#include <QObject>
#include <QTimer>

#include <map>
#include <memory>

// One single-shot QTimer per timer id, on the thread that owns the driver.
class QtTimerDriver : public QObject, public TimerDriver {
public:
    explicit QtTimerDriver(QObject* parent = nullptr) : QObject(parent) {}

    void SetHandler(Handler handler) override { m_handler = std::move(handler); }
    void Arm(int id, int ms) override;
    void Kill(int id) override;
    bool Armed(int id) const override;

private:
    Handler m_handler;
    std::map<int, std::unique_ptr<QTimer>> m_timers;
};
