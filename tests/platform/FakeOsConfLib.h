/* Extra exports of the fake audio library the tests load in place of the real
 * one: set up its endpoints and answers, read back every call it received. */
#ifndef GD_FAKE_OSCONFLIB_H
#define GD_FAKE_OSCONFLIB_H

#include "platform/osConfLib.h"

#ifdef __cplusplus
extern "C" {
#endif

#define FAKE_OSCONF_NAME_SIZE 64

/* One PropertyControl call as the fake received it. */
typedef struct FakeOsConfCall {
    char property[FAKE_OSCONF_NAME_SIZE];
    OsConfEndpoint endpoint;
    int32_t set;
    uint8_t value[OSCONF_VALUE_BUFFER_SIZE];
    int32_t hasChannel;
    int32_t channel[OSCONF_CHANNEL_WORDS];
} FakeOsConfCall;

/* Forgets endpoints, answers and calls. */
OSCONF_EXPORT void FakeOsConf_Reset(void);
OSCONF_EXPORT void FakeOsConf_SetInitResult(int32_t result);
OSCONF_EXPORT void FakeOsConf_AddEndpoint(int32_t flow, OsConfEndpoint endpoint);
/* Makes GetDeviceCount report `count` for a flow whatever its list holds. */
OSCONF_EXPORT void FakeOsConf_SetReportedCount(int32_t flow, int32_t count);
/* Result of every call of `property`; a get also receives `size` bytes (at most
 * the value buffer's size) at the start of its value buffer. Properties without
 * an answer fail with -2. */
OSCONF_EXPORT void FakeOsConf_SetAnswer(const char* property, int32_t result, const void* bytes, int32_t size);
OSCONF_EXPORT int32_t FakeOsConf_PropertyCallCount(void);
OSCONF_EXPORT int32_t FakeOsConf_GetPropertyCall(int32_t index, FakeOsConfCall* call);
/* Calls of any of the eleven exports. */
OSCONF_EXPORT int32_t FakeOsConf_ExportCallCount(void);
OSCONF_EXPORT int32_t FakeOsConf_InitCount(void);
OSCONF_EXPORT int32_t FakeOsConf_UnInitCount(void);

#ifdef __cplusplus
}
#endif

#endif
