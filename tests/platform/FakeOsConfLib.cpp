// A stand-in for the audio library with configurable endpoints and answers
// that records every property call. FAKE_OSCONF_DROP_CLOSE_TEST_SOUND builds it
// without one export.
#include "FakeOsConfLib.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace {

struct Answer {
    int32_t result = -2;
    std::vector<uint8_t> bytes;
};

struct FakeState {
    int32_t initResult = 0;
    std::vector<OsConfEndpoint> endpoints[2];
    std::optional<int32_t> reportedCount[2];
    std::map<std::string, Answer> answers;
    std::vector<FakeOsConfCall> calls;
    int32_t exportCalls = 0;
    int32_t inits = 0;
    int32_t unInits = 0;
};

std::mutex g_lock;
FakeState g_state;

std::vector<OsConfEndpoint>* Flow(int32_t flow)
{
    return flow == 0 || flow == 1 ? &g_state.endpoints[flow] : nullptr;
}

} // namespace

extern "C" {

OSCONF_EXPORT void FakeOsConf_Reset(void)
{
    const std::lock_guard lock(g_lock);
    g_state = FakeState{};
}

OSCONF_EXPORT void FakeOsConf_SetInitResult(int32_t result)
{
    const std::lock_guard lock(g_lock);
    g_state.initResult = result;
}

OSCONF_EXPORT void FakeOsConf_AddEndpoint(int32_t flow, OsConfEndpoint endpoint)
{
    const std::lock_guard lock(g_lock);
    if (auto* list = Flow(flow))
        list->push_back(endpoint);
}

OSCONF_EXPORT void FakeOsConf_SetReportedCount(int32_t flow, int32_t count)
{
    const std::lock_guard lock(g_lock);
    if (flow == 0 || flow == 1)
        g_state.reportedCount[flow] = count;
}

OSCONF_EXPORT void FakeOsConf_SetAnswer(const char* property, int32_t result, const void* bytes, int32_t size)
{
    const std::lock_guard lock(g_lock);
    Answer answer{result, {}};
    const auto* begin = static_cast<const uint8_t*>(bytes);
    if (begin && size > 0)
        answer.bytes.assign(begin, begin + std::min<int32_t>(size, OSCONF_VALUE_BUFFER_SIZE));
    g_state.answers[property] = answer;
}

OSCONF_EXPORT int32_t FakeOsConf_PropertyCallCount(void)
{
    const std::lock_guard lock(g_lock);
    return static_cast<int32_t>(g_state.calls.size());
}

OSCONF_EXPORT int32_t FakeOsConf_GetPropertyCall(int32_t index, FakeOsConfCall* call)
{
    const std::lock_guard lock(g_lock);
    if (!call || index < 0 || static_cast<size_t>(index) >= g_state.calls.size())
        return -1;
    *call = g_state.calls[static_cast<size_t>(index)];
    return 0;
}

OSCONF_EXPORT int32_t FakeOsConf_ExportCallCount(void)
{
    const std::lock_guard lock(g_lock);
    return g_state.exportCalls;
}

OSCONF_EXPORT int32_t FakeOsConf_InitCount(void)
{
    const std::lock_guard lock(g_lock);
    return g_state.inits;
}

OSCONF_EXPORT int32_t FakeOsConf_UnInitCount(void)
{
    const std::lock_guard lock(g_lock);
    return g_state.unInits;
}

OSCONF_EXPORT int32_t ConfLibInit(void)
{
    const std::lock_guard lock(g_lock);
    ++g_state.exportCalls;
    ++g_state.inits;
    return g_state.initResult;
}

OSCONF_EXPORT int32_t ConfLibUnInit(void)
{
    const std::lock_guard lock(g_lock);
    ++g_state.exportCalls;
    ++g_state.unInits;
    return 0;
}

OSCONF_EXPORT int32_t CreateDeviceList(void)
{
    const std::lock_guard lock(g_lock);
    ++g_state.exportCalls;
    return 0;
}

OSCONF_EXPORT int32_t GetDeviceCount(int32_t flow, int32_t /*reserved*/, int32_t* count)
{
    const std::lock_guard lock(g_lock);
    ++g_state.exportCalls;
    const auto* list = Flow(flow);
    if (!list || !count)
        return -1;
    *count = g_state.reportedCount[flow].value_or(static_cast<int32_t>(list->size()));
    return 0;
}

OSCONF_EXPORT int32_t GetDeviceById(int32_t flow, int32_t index, OsConfEndpoint* record)
{
    const std::lock_guard lock(g_lock);
    ++g_state.exportCalls;
    const auto* list = Flow(flow);
    if (!list || !record || index < 0 || static_cast<size_t>(index) >= list->size())
        return -1;
    *record = (*list)[static_cast<size_t>(index)];
    return 0;
}

OSCONF_EXPORT int32_t PropertyControl(int32_t id, int32_t kind, int32_t state, int32_t reserved, const char* property,
                                      void* value, int32_t* channel, int32_t set)
{
    const std::lock_guard lock(g_lock);
    ++g_state.exportCalls;
    if (!property || !value)
        return -1;
    FakeOsConfCall call{};
    std::strncpy(call.property, property, FAKE_OSCONF_NAME_SIZE - 1);
    call.endpoint = OsConfEndpoint{id, kind, state, reserved};
    call.set = set;
    std::memcpy(call.value, value, OSCONF_VALUE_BUFFER_SIZE);
    call.hasChannel = channel ? 1 : 0;
    if (channel)
        std::memcpy(call.channel, channel, sizeof call.channel);
    g_state.calls.push_back(call);

    const auto found = g_state.answers.find(property);
    if (found == g_state.answers.end())
        return -2;
    if (set == OSCONF_PROPERTY_GET && !found->second.bytes.empty())
        std::memcpy(value, found->second.bytes.data(), found->second.bytes.size());
    return found->second.result;
}

OSCONF_EXPORT int32_t RegisterCallbackFunction(OsConfEventCallback /*callback*/, void* /*context*/)
{
    const std::lock_guard lock(g_lock);
    ++g_state.exportCalls;
    return 0;
}

OSCONF_EXPORT int32_t ShowAsioPanel(void* /*parentWindow*/)
{
    const std::lock_guard lock(g_lock);
    ++g_state.exportCalls;
    return 0;
}

OSCONF_EXPORT int32_t PlayTestSound(int32_t, int32_t, int32_t, int32_t, int32_t)
{
    const std::lock_guard lock(g_lock);
    ++g_state.exportCalls;
    return 0;
}

OSCONF_EXPORT int32_t StopTestSound(void)
{
    const std::lock_guard lock(g_lock);
    ++g_state.exportCalls;
    return 0;
}

#ifndef FAKE_OSCONF_DROP_CLOSE_TEST_SOUND
OSCONF_EXPORT int32_t CloseTestSound(void)
{
    const std::lock_guard lock(g_lock);
    ++g_state.exportCalls;
    return 0;
}
#endif

} // extern "C"
