// The "connect", "apply" and "set" commands: a device model attached to one
// product, doing what the GUI does to it.
#include "cli/CliContext.h"
#include "cli/CliTargets.h"
#include "cli/ProfileCliSupport.h"

#include "devices/DeviceAttach.h"
#include "devices/DeviceSetup.h"
#include "devices/DefaultDeviceModelFactory.h"
#include "devices/VarnokMouseDevice.h"
#include "hid/DeviceRecognizer.h"
#include "hid/SupportedDeviceTable.h"
#include "platform/HexText.h"
#include "profiles/BasicProfiledata.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Message boxes as lines.
class CliPage : public DevicePageObserver {
public:
    explicit CliPage(std::ostream& out) : m_out(out) {}
    void ShowMessage(const std::string& textKey, std::optional<int> number) override
    {
        m_out << "message " << textKey;
        if (number)
            m_out << ' ' << *number;
        m_out << '\n';
    }

private:
    std::ostream& m_out;
};

// A device model attached to its product and connected.
struct Session {
    std::unique_ptr<CliPage> page;
    std::unique_ptr<CVarnokUSBDevice> device;
};

std::optional<Session> Open(CliContext& context, const std::string& name)
{
    const CliTarget* target = FindCliTarget(name, context.Err());
    if (!target)
        return std::nullopt;
    HidBackend& backend = context.Backend();
    const auto slot = DeviceAttach::FindCommandSlot(DeviceAttach::Scan(backend), target->tableRow, target->name);
    if (!slot) {
        context.Err() << "no " << target->name << " is connected\n";
        return std::nullopt;
    }
    Session session;
    session.page = std::make_unique<CliPage>(context.Out());
    session.device = DefaultDeviceModelFactory::Create(SupportedDeviceTable::Row(target->tableRow).kind, backend).device;
    CVarnokUSBDevice& device = *session.device;
    device.SetDataFolders(CliDataFolders(context));
    device.SetScreenSize(context.Options().screenWidth, context.Options().screenHeight);
    device.SetPageObserver(session.page.get());
    if (!DeviceSetup::Apply(device, *slot)) {
        context.Err() << "no device page is known for " << target->name << '\n';
        return std::nullopt;
    }
    device.SelectListedProfile();
    if (!DeviceAttach::Attach(device.ChannelA(), *slot)) {
        context.Err() << "cannot open " << slot->path << " for reading and writing\n";
        return std::nullopt;
    }
    device.Connect();
    device.StopPreviewThread();
    return session;
}

bool Number(CliContext& context, const std::string& text, const char* what, int64_t min, int64_t max, int& out)
{
    int64_t value = 0;
    if (!ParseCliNumber(text, min, max, value)) {
        context.Err() << what << " must be a number from " << min << " to " << max << ", not \"" << text << "\"\n";
        return false;
    }
    out = static_cast<int>(value);
    return true;
}

int RunConnect(CliContext& context, const std::vector<std::string>& args)
{
    if (args.size() != 1) {
        context.Err() << "connect takes a TARGET (" << kCliTargetNames << ")\n";
        return kExitUsage;
    }
    auto session = Open(context, args[0]);
    if (!session)
        return kExitFailed;
    CVarnokUSBDevice& device = *session->device;
    if (!device.ChannelOpen()) {
        context.Err() << args[0] << " does not answer\n";
        return kExitFailed;
    }
    device.RefreshFromDevice();
    context.Out() << "info " << HexText(device.Info()) << '\n';
    for (const auto& [field, value] : device.DescribeProfileBlock())
        context.Out() << field << ' ' << value << '\n';
    return kExitOk;
}

int RunApply(CliContext& context, const std::vector<std::string>& args)
{
    if (args.size() != 1) {
        context.Err() << "apply takes a TARGET (" << kCliTargetNames << ")\n";
        return kExitUsage;
    }
    auto session = Open(context, args[0]);
    if (!session)
        return kExitFailed;
    session->device->ApplySelectedProfile();
    return kExitOk;
}

int SetLight(CliContext& context, CVarnokUSBDevice& device, const std::vector<std::string>& values)
{
    int effect = 0, brightness = 0, speed = 0, red = 0, green = 0, blue = 0;
    if (!Number(context, values[0], "EFFECT", 0, 255, effect) || !Number(context, values[1], "BRIGHTNESS", 0, 4, brightness)
        || !Number(context, values[2], "SPEED", 0, 4, speed) || !Number(context, values[3], "R", 0, 255, red)
        || !Number(context, values[4], "G", 0, 255, green) || !Number(context, values[5], "B", 0, 255, blue))
        return kExitUsage;
    CBasicProfiledata* profile = device.ProfileData();
    LightInfoRecord info = profile ? profile->ReadLightInfo() : device.GetLightInfoRecord();
    info.selectItem = static_cast<uint8_t>(effect);
    info.light = static_cast<uint8_t>(brightness);
    info.speed = static_cast<uint8_t>(speed);
    info.red = static_cast<uint8_t>(red);
    info.green = static_cast<uint8_t>(green);
    info.blue = static_cast<uint8_t>(blue);
    device.ApplyLightingEdit(info);
    return kExitOk;
}

int SetMouse(CliContext& context, CVarnokUSBDevice& device, const std::string& what, const std::vector<std::string>& values)
{
    auto* mouse = dynamic_cast<CVarnokMouseDevice*>(&device);
    if (!mouse) {
        context.Err() << what << " is a mouse setting\n";
        return kExitUsage;
    }
    int stage = 0, value = 0;
    if (what == "dpi") {
        if (!Number(context, values[0], "STAGE", 0, 5, stage) || !Number(context, values[1], "INDEX", 0, 0xFFFF, value))
            return kExitUsage;
        mouse->SetDpiStageValue(stage, static_cast<uint16_t>(value));
    } else if (what == "dpi-active") {
        if (!Number(context, values[0], "STAGE", 0, 5, stage))
            return kExitUsage;
        mouse->SetActiveDpiStage(stage);
    } else {
        if (!Number(context, values[0], "N", 0, 4, stage))
            return kExitUsage;
        mouse->SetPollingStage(stage);
    }
    return kExitOk;
}

int SetKey(CliContext& context, CVarnokUSBDevice& device, const std::vector<std::string>& values)
{
    int key = 0, type = 0, p1 = 0, p2 = 0;
    if (!Number(context, values[0], "KEY", 0, 511, key) || !Number(context, values[1], "TYPE", 0, 255, type)
        || !Number(context, values[2], "P1", 0, 255, p1) || !Number(context, values[3], "P2", 0, 255, p2))
        return kExitUsage;
    if (!device.StoreKeyFunction(key, static_cast<uint8_t>(type), static_cast<uint8_t>(p1), static_cast<uint8_t>(p2))) {
        context.Err() << "this device has no key " << key << " in its key list\n";
        return kExitFailed;
    }
    // Stored as the key editor's save does, before the write to the device.
    device.SaveProfileData();
    device.WriteKeysAndMacros();
    return kExitOk;
}

int RunSet(CliContext& context, const std::vector<std::string>& args)
{
    struct Form {
        const char* what;
        size_t values;
    };
    static constexpr Form kForms[] = {{"light", 6}, {"dpi", 2}, {"dpi-active", 1}, {"polling", 1}, {"key", 4}};
    const Form* form = nullptr;
    if (args.size() >= 2)
        for (const auto& f : kForms)
            if (args[1] == f.what)
                form = &f;
    if (!form || args.size() != form->values + 2) {
        context.Err() << "set takes TARGET light EFFECT BRIGHTNESS SPEED R G B | dpi STAGE INDEX | dpi-active STAGE"
                         " | polling N | key KEY TYPE P1 P2\n";
        return kExitUsage;
    }
    auto session = Open(context, args[0]);
    if (!session)
        return kExitFailed;
    CVarnokUSBDevice& device = *session->device;
    const std::vector<std::string> values(args.begin() + 2, args.end());
    const std::string what = form->what;
    if (what == "light")
        return SetLight(context, device, values);
    if (what == "key")
        return SetKey(context, device, values);
    return SetMouse(context, device, what, values);
}

const CliCommandRegistrar kConnect(
    "connect",
    "  connect TARGET\n"
    "              attaches TARGET (mouse, mouse-receiver, keyboard, keyboard-receiver, mousepad, headset),\n"
    "              connects and prints \"info <hex>\" and the profile block read back as \"name value\" lines\n",
    RunConnect);

const CliCommandRegistrar kApply(
    "apply",
    "  apply TARGET\n"
    "              connects and applies the selected profile of the kind as after a profile selection;\n"
    "              message boxes are printed as \"message <text key> [<number>]\"\n",
    RunApply);

const CliCommandRegistrar kSet(
    "set",
    "  set TARGET light EFFECT BRIGHTNESS SPEED R G B\n"
    "  set TARGET dpi STAGE INDEX | set TARGET dpi-active STAGE | set TARGET polling N   (mouse)\n"
    "  set TARGET key KEY TYPE P1 P2\n"
    "              stores the setting into the selected profile and sends it as the GUI does\n",
    RunSet);

}  // namespace
