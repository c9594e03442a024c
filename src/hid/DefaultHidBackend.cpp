#include "hid/DefaultHidBackend.h"

#include "hid/SysfsHidBackend.h"

#include <atomic>

namespace {
std::atomic<HidBackend*> g_backend{nullptr};
} // namespace

void SetDefaultHidBackend(HidBackend* backend) { g_backend.store(backend); }

HidBackend& DefaultHidBackend()
{
    if (HidBackend* backend = g_backend.load())
        return *backend;
    static SysfsHidBackend sysfs;
    return sysfs;
}
