#pragma once

#include <functional>

// One-shot timers by id, fired on the owner's thread.
class TimerDriver {
public:
    using Handler = std::function<void(int id)>;

    virtual ~TimerDriver() = default;
    virtual void SetHandler(Handler handler) = 0;
    // (Re)starts timer `id` to fire once after `ms` milliseconds.
    virtual void Arm(int id, int ms) = 0;
    virtual void Kill(int id) = 0;
    virtual bool Armed(int id) const = 0;
};
