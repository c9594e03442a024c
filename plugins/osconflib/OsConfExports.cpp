// The C exports of the library. All state lives in one session created by
// ConfLibInit and destroyed by ConfLibUnInit; a lock serialises the calls.
#include "AlsaMixer.h"
#include "HeadsetCardLocator.h"
#include "OsConfSession.h"
#include "platform/osConfLib.h"

#include <memory>
#include <mutex>
#include <string>

namespace {

constexpr std::int32_t kNotStarted = -4;
constexpr std::int32_t kNotSupported = -2;

std::mutex g_lock;
std::unique_ptr<OsConfSession> g_session;

std::unique_ptr<HeadsetMixer> OpenHeadsetMixer()
{
    const auto card = HeadsetCardLocator().FindFromEnvironment();
    if (!card)
        return nullptr;
    return AlsaMixer::Open("hw:" + std::to_string(*card));
}

// Runs `call` on the session under the lock; kNotStarted outside Init/UnInit.
// Exceptions never cross the C boundary.
template <typename Call>
std::int32_t WithSession(Call call) noexcept
{
    try {
        const std::lock_guard lock(g_lock);
        if (!g_session)
            return kNotStarted;
        return call(*g_session);
    } catch (...) {
        return OsConfSession::kMixerFailed;
    }
}

} // namespace

extern "C" {

OSCONF_EXPORT int32_t ConfLibInit(void)
{
    try {
        const std::lock_guard lock(g_lock);
        g_session = std::make_unique<OsConfSession>(OpenHeadsetMixer);
        return 0;
    } catch (...) {
        return OsConfSession::kMixerFailed;
    }
}

OSCONF_EXPORT int32_t ConfLibUnInit(void)
{
    const std::lock_guard lock(g_lock);
    g_session.reset();
    return 0;
}

OSCONF_EXPORT int32_t CreateDeviceList(void)
{
    return WithSession([](OsConfSession& session) { return session.CreateDeviceList(); });
}

OSCONF_EXPORT int32_t GetDeviceCount(int32_t flow, int32_t /*reserved*/, int32_t* count)
{
    return WithSession([&](OsConfSession& session) { return session.DeviceCount(flow, count); });
}

OSCONF_EXPORT int32_t GetDeviceById(int32_t flow, int32_t index, OsConfEndpoint* record)
{
    return WithSession([&](OsConfSession& session) { return session.DeviceById(flow, index, record); });
}

OSCONF_EXPORT int32_t PropertyControl(int32_t id, int32_t kind, int32_t state, int32_t reserved, const char* property,
                                      void* value, int32_t* channel, int32_t set)
{
    return WithSession([&](OsConfSession& session) {
        return session.PropertyControl(OsConfEndpoint{id, kind, state, reserved}, property, value, channel, set);
    });
}

// This build raises no events; the registration is accepted and ignored.
OSCONF_EXPORT int32_t RegisterCallbackFunction(OsConfEventCallback /*callback*/, void* /*context*/)
{
    return 0;
}

OSCONF_EXPORT int32_t ShowAsioPanel(void* /*parentWindow*/)
{
    return kNotSupported;
}

OSCONF_EXPORT int32_t PlayTestSound(int32_t /*id*/, int32_t /*kind*/, int32_t /*state*/, int32_t /*reserved*/,
                                    int32_t /*channel*/)
{
    return kNotSupported;
}

OSCONF_EXPORT int32_t StopTestSound(void)
{
    return kNotSupported;
}

OSCONF_EXPORT int32_t CloseTestSound(void)
{
    return kNotSupported;
}

} // extern "C"
