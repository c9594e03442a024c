#include "cli/CliContext.h"
#include "cli/ProfileCliSupport.h"

#include "devices/DefaultDeviceModelFactory.h"
#include "devices/DeviceAttach.h"
#include "devices/DeviceManager.h"
#include "devices/DeviceManagerListener.h"
#include "devices/DevicePage.h"
#include "devices/VarnokUSBDevice.h"
#include "sim/SimHidBackend.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace {

std::string VidPid(const DeviceSlot& slot)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04x:%04x", slot.vendorId, slot.productId);
    return text;
}

bool IsReceiverKind(DeviceKind kind)
{
    return kind == DeviceKind::MouseReceiver || kind == DeviceKind::KeyboardReceiver;
}

int RunDevices(CliContext& context, const std::vector<std::string>& args)
{
    if (!args.empty()) {
        context.Err() << "usage: devices\n";
        return 2;
    }
    const DeviceSlotList found = DeviceAttach::Scan(context.Backend());
    for (size_t i = 0; i < found.size(); ++i) {
        const DeviceSlot& slot = found[i];
        if (slot.connected == 0 || slot.role != kRoleCommand)
            continue;
        const auto option = CDeviceManager::OptionRowFor(i);
        context.Out() << (option ? static_cast<int>(*option) : -1) << ' ' << static_cast<unsigned>(slot.kind) << ' '
                      << (IsReceiverKind(slot.kind) ? "2.4G" : "cable") << ' ' << VidPid(slot) << '\n';
    }
    return 0;
}

// The option-table row a watch target names.
std::optional<int> WatchTarget(const std::string& name)
{
    if (name == "mouse" || name == "mouse-receiver")
        return 0;
    if (name == "keyboard" || name == "keyboard-receiver")
        return 1;
    if (name == "mousepad")
        return 2;
    if (name == "headset")
        return 3;
    return std::nullopt;
}

class WatchPrinter : public DeviceManagerListener {
public:
    WatchPrinter(std::ostream& out, int device) : m_out(out), m_device(device) {}

    void DeviceCode(int device, uint16_t code) override
    {
        if (device != m_device)
            return;
        char text[8];
        std::snprintf(text, sizeof text, "0x%04x", code);
        m_out << "code " << text << std::endl;
    }
    void Reachability(int device, bool reachable) override
    {
        if (device == m_device)
            m_out << "reachable " << (reachable ? 1 : 0) << std::endl;
    }
    void PowerRecord(int device, const std::array<uint8_t, 6>& record, int batteryLevel) override
    {
        if (device != m_device)
            return;
        m_out << "power";
        for (uint8_t byte : record)
            m_out << ' ' << static_cast<unsigned>(byte);
        m_out << " battery " << batteryLevel << std::endl;
    }

private:
    std::ostream& m_out;
    int m_device;
};

int RunWatch(CliContext& context, const std::vector<std::string>& args)
{
    int64_t seconds = 0;
    const auto device = args.size() == 2 ? WatchTarget(args[0]) : std::nullopt;
    if (!device || !ParseCliNumber(args[1], 0, 24 * 3600, seconds)) {
        context.Err() << "usage: watch TARGET SECONDS (TARGET: mouse, mouse-receiver, keyboard, "
                         "keyboard-receiver, mousepad, headset)\n";
        return 2;
    }
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "gaming-device-cli";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    const CDataFolders folders = CliDataFolders(context);
    const CliOptions& options = context.Options();
    auto factory = [&](DeviceKind kind, HidBackend& backend) {
        DeviceModel model = DefaultDeviceModelFactory::Create(kind, backend);
        if (model.device) {
            model.device->SetDataFolders(folders);
            model.device->SetScreenSize(options.screenWidth, options.screenHeight);
        }
        return model;
    };
    WatchPrinter printer(context.Out(), *device);
    bool present = false;
    {
        CDeviceManager manager(context.Backend(), factory, &printer);
        manager.PreCreatePages();
        // The first pass on this thread, so that the product is attached before the loop runs.
        if (!manager.ScanNow()) {
            context.Err() << "the HID interfaces cannot be listed\n";
            return 1;
        }
        DevicePage* page = manager.Page(*device);
        present = page && page->Model().ChannelA().IsOpen();
        if (!present)
            context.Err() << args[0] << " is not connected\n";
        manager.StartDiscovery();
        // Precise: a coarse timer of 20 s or more ends on a whole second, up to one early.
        QTimer::singleShot(static_cast<int>(seconds * 1000), Qt::PreciseTimer, [] { QCoreApplication::quit(); });
        QCoreApplication::exec();
        manager.StopDiscovery();
    }
    return present ? 0 : 1;
}

const CliCommandRegistrar kDevices("devices",
                                   "  devices             run the first discovery scan; one line per product found:\n"
                                   "                      \"<device-index> <kind> <cable|2.4G> <vid>:<pid>\" "
                                   "(device index = option-table row)\n",
                                   RunDevices);

const CliCommandRegistrar kWatch("watch",
                                 "  watch TARGET SECONDS  attach, Connect, run threads and timer schedule; print "
                                 "device codes received,\n"
                                 "                      reachability changes and power records as they happen\n",
                                 RunWatch);

} // namespace
