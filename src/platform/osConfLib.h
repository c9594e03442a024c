/* C interface of the audio configuration library (SDK/libosConfLib.so).
 *
 * The program loads the library at run time and looks the exports up by name;
 * the function pointer types below are what it casts them to. Every call that
 * returns int32_t answers 0 on success. */
#ifndef GD_OSCONFLIB_H
#define GD_OSCONFLIB_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__)
#define OSCONF_EXPORT __attribute__((visibility("default")))
#else
#define OSCONF_EXPORT
#endif

/* Flow argument of GetDeviceCount and GetDeviceById. */
#define OSCONF_FLOW_PLAYBACK 0
#define OSCONF_FLOW_RECORDING 1

/* Set flag of PropertyControl. */
#define OSCONF_PROPERTY_GET 0
#define OSCONF_PROPERTY_SET 1

/* Size in bytes of the value buffer of PropertyControl. Its first 32-bit word
 * (integers, 32-bit floats) or its NUL-terminated text carries the value. */
#define OSCONF_VALUE_BUFFER_SIZE 1024

/* Size in 32-bit words of the optional channel buffer of PropertyControl.
 * The first word is the channel: -1 all channels, 0 the first one. */
#define OSCONF_CHANNEL_WORDS 4

#define OSCONF_CHANNEL_ALL (-1)

/* Endpoint kinds this program looks for. */
#define OSCONF_KIND_SPEAKERS 1
#define OSCONF_KIND_MICROPHONE 2
#define OSCONF_KIND_HEADSET_OUT 4
#define OSCONF_KIND_HEADPHONES 7
#define OSCONF_KIND_DIGITAL_OUT 12

/* The state value of an endpoint that is present and enabled. */
#define OSCONF_STATE_ACTIVE 1

/* One endpoint as GetDeviceById reports it. All four fields go back unchanged
 * to every PropertyControl call on that endpoint. */
typedef struct OsConfEndpoint {
    int32_t id;
    int32_t kind;
    int32_t state;
    int32_t reserved;
} OsConfEndpoint;

/* Event callback of RegisterCallbackFunction: an event code and the context
 * pointer given at registration. */
typedef void (*OsConfEventCallback)(int32_t event, void* context);

OSCONF_EXPORT int32_t ConfLibInit(void);
OSCONF_EXPORT int32_t ConfLibUnInit(void);
/* (Re)builds the endpoint list from the devices present now. */
OSCONF_EXPORT int32_t CreateDeviceList(void);
/* Number of endpoints of a flow. `reserved` is 0. */
OSCONF_EXPORT int32_t GetDeviceCount(int32_t flow, int32_t reserved, int32_t* count);
OSCONF_EXPORT int32_t GetDeviceById(int32_t flow, int32_t index, OsConfEndpoint* record);
/* Gets or sets one named property of an endpoint. `value` points to
 * OSCONF_VALUE_BUFFER_SIZE bytes; `channel` to OSCONF_CHANNEL_WORDS words or
 * is null. */
OSCONF_EXPORT int32_t PropertyControl(int32_t id, int32_t kind, int32_t state, int32_t reserved,
                                      const char* property, void* value, int32_t* channel, int32_t set);
OSCONF_EXPORT int32_t RegisterCallbackFunction(OsConfEventCallback callback, void* context);
OSCONF_EXPORT int32_t ShowAsioPanel(void* parentWindow);
OSCONF_EXPORT int32_t PlayTestSound(int32_t id, int32_t kind, int32_t state, int32_t reserved, int32_t channel);
OSCONF_EXPORT int32_t StopTestSound(void);
OSCONF_EXPORT int32_t CloseTestSound(void);

typedef int32_t (*OsConfInitFn)(void);
typedef int32_t (*OsConfUnInitFn)(void);
typedef int32_t (*OsConfCreateDeviceListFn)(void);
typedef int32_t (*OsConfGetDeviceCountFn)(int32_t, int32_t, int32_t*);
typedef int32_t (*OsConfGetDeviceByIdFn)(int32_t, int32_t, OsConfEndpoint*);
typedef int32_t (*OsConfPropertyControlFn)(int32_t, int32_t, int32_t, int32_t, const char*, void*, int32_t*,
                                           int32_t);
typedef int32_t (*OsConfRegisterCallbackFn)(OsConfEventCallback, void*);
typedef int32_t (*OsConfShowAsioPanelFn)(void*);
typedef int32_t (*OsConfPlayTestSoundFn)(int32_t, int32_t, int32_t, int32_t, int32_t);
typedef int32_t (*OsConfStopTestSoundFn)(void);
typedef int32_t (*OsConfCloseTestSoundFn)(void);

#ifdef __cplusplus
}
#endif

#endif
