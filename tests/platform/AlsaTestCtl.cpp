// An ALSA control plugin ("gdtest") with the elements of a USB headset card:
// headphone volume, microphone capture volume and switch, microphone playback
// (monitor) volume and switch, with dB scales. Lets the mixer code run
// without sound hardware; GdTestCtl_Value reads an element's value back.
#include <alsa/asoundlib.h>
#include <alsa/control_external.h>

#include <cstring>
#include <memory>

namespace {

struct Element {
    const char* name;
    bool isSwitch;
    unsigned count;
    long max;
    int dbMin;  // hundredths of a dB at raw 0
    int dbStep; // hundredths of a dB per raw step
    long value[2];
};

Element g_elements[] = {
    {"Headphone Playback Volume", false, 2, 100, -10000, 100, {50, 50}},
    {"Mic Capture Volume", false, 1, 32, -1600, 100, {16, 0}},
    {"Mic Capture Switch", true, 1, 1, 0, 0, {1, 0}},
    {"Mic Playback Volume", false, 2, 31, -3100, 100, {10, 20}},
    {"Mic Playback Switch", true, 2, 1, 0, 0, {0, 0}},
};
constexpr unsigned kElementCount = sizeof g_elements / sizeof g_elements[0];
const Element kInitial[kElementCount] = {g_elements[0], g_elements[1], g_elements[2], g_elements[3], g_elements[4]};

Element* At(snd_ctl_ext_key_t key)
{
    return key < kElementCount ? &g_elements[key] : nullptr;
}

int ElemCount(snd_ctl_ext_t*)
{
    return static_cast<int>(kElementCount);
}

int ElemList(snd_ctl_ext_t*, unsigned int offset, snd_ctl_elem_id_t* id)
{
    if (offset >= kElementCount)
        return -EINVAL;
    snd_ctl_elem_id_set_interface(id, SND_CTL_ELEM_IFACE_MIXER);
    snd_ctl_elem_id_set_name(id, g_elements[offset].name);
    return 0;
}

snd_ctl_ext_key_t FindElem(snd_ctl_ext_t*, const snd_ctl_elem_id_t* id)
{
    const char* name = snd_ctl_elem_id_get_name(id);
    for (unsigned i = 0; i < kElementCount; ++i) {
        if (std::strcmp(name, g_elements[i].name) == 0)
            return i;
    }
    return SND_CTL_EXT_KEY_NOT_FOUND;
}

int GetAttribute(snd_ctl_ext_t*, snd_ctl_ext_key_t key, int* type, unsigned int* access, unsigned int* count)
{
    const Element* e = At(key);
    if (!e)
        return -EINVAL;
    *type = e->isSwitch ? SND_CTL_ELEM_TYPE_BOOLEAN : SND_CTL_ELEM_TYPE_INTEGER;
    *access = SND_CTL_EXT_ACCESS_READWRITE;
    if (!e->isSwitch)
        *access |= SND_CTL_EXT_ACCESS_TLV_READ | SND_CTL_EXT_ACCESS_TLV_CALLBACK;
    *count = e->count;
    return 0;
}

int GetIntegerInfo(snd_ctl_ext_t*, snd_ctl_ext_key_t key, long* min, long* max, long* step)
{
    const Element* e = At(key);
    if (!e)
        return -EINVAL;
    *min = 0;
    *max = e->max;
    *step = 1;
    return 0;
}

int ReadInteger(snd_ctl_ext_t*, snd_ctl_ext_key_t key, long* value)
{
    const Element* e = At(key);
    if (!e)
        return -EINVAL;
    for (unsigned c = 0; c < e->count; ++c)
        value[c] = e->value[c];
    return 0;
}

int WriteInteger(snd_ctl_ext_t*, snd_ctl_ext_key_t key, long* value)
{
    Element* e = At(key);
    if (!e)
        return -EINVAL;
    int changed = 0;
    for (unsigned c = 0; c < e->count; ++c) {
        if (value[c] < 0 || value[c] > e->max)
            return -EINVAL;
        changed |= e->value[c] != value[c];
        e->value[c] = value[c];
    }
    return changed;
}

int ReadEvent(snd_ctl_ext_t*, snd_ctl_elem_id_t*, unsigned int*)
{
    return -EAGAIN;
}

int Tlv(snd_ctl_ext_t*, snd_ctl_ext_key_t key, int opFlag, unsigned int, unsigned int* tlv, unsigned int size)
{
    const Element* e = At(key);
    if (!e || e->isSwitch || opFlag != 0)
        return -ENXIO;
    if (size < 4 * sizeof(unsigned int))
        return -ENOMEM;
    tlv[0] = SND_CTL_TLVT_DB_SCALE;
    tlv[1] = 2 * sizeof(unsigned int);
    tlv[2] = static_cast<unsigned int>(e->dbMin);
    tlv[3] = static_cast<unsigned int>(e->dbStep);
    return 0;
}

void Close(snd_ctl_ext_t* ext)
{
    std::unique_ptr<snd_ctl_ext_t> owned(ext);
}

const snd_ctl_ext_callback_t kCallbacks = [] {
    snd_ctl_ext_callback_t callbacks{};
    callbacks.close = Close;
    callbacks.elem_count = ElemCount;
    callbacks.elem_list = ElemList;
    callbacks.find_elem = FindElem;
    callbacks.get_attribute = GetAttribute;
    callbacks.get_integer_info = GetIntegerInfo;
    callbacks.read_integer = ReadInteger;
    callbacks.write_integer = WriteInteger;
    callbacks.read_event = ReadEvent;
    return callbacks;
}();

} // namespace

extern "C" {

__attribute__((visibility("default"))) long GdTestCtl_Value(const char* name, unsigned channel)
{
    for (const Element& e : g_elements) {
        if (std::strcmp(name, e.name) == 0 && channel < e.count)
            return e.value[channel];
    }
    return -1;
}

__attribute__((visibility("default"))) void GdTestCtl_Reset(void)
{
    std::memcpy(g_elements, kInitial, sizeof g_elements);
}

SND_CTL_PLUGIN_DEFINE_FUNC(gdtest)
{
    (void)root;
    (void)conf;
    // Owned by the handle from here on; alsa-lib gives it back through Close.
    auto owned = std::make_unique<snd_ctl_ext_t>();
    snd_ctl_ext_t* ext = owned.get();
    ext->version = SND_CTL_EXT_VERSION;
    ext->card_idx = 0;
    std::strcpy(ext->id, "GdTest");
    std::strcpy(ext->driver, "gdtest");
    std::strcpy(ext->name, "Test headset");
    std::strcpy(ext->longname, "Test headset card");
    std::strcpy(ext->mixername, "Test headset mixer");
    ext->poll_fd = -1;
    ext->callback = &kCallbacks;
    ext->tlv.c = Tlv;
    const int error = snd_ctl_ext_create(ext, name, mode);
    if (error < 0)
        return error;
    owned.release();
    *handlep = ext->handle;
    return 0;
}
SND_CTL_PLUGIN_SYMBOL(gdtest)

} // extern "C"
