#include "sim/SimHidBackend.h"

#include "sim/SimHeadsetFirmware.h"
#include "sim/SimKeyboardFirmware.h"
#include "sim/SimMouseFirmware.h"
#include "sim/SimMousePadFirmware.h"
#include "sim/SimStateFile.h"

#include <cerrno>
#include <csignal>

namespace {

size_t Index(SimProductKind kind) { return static_cast<size_t>(kind); }

void IgnoreSigpipeIfDefault()
{
    struct sigaction current {};
    if (::sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL
        && !(current.sa_flags & SA_SIGINFO)) {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        ::sigaction(SIGPIPE, &ignore, nullptr);
    }
}

std::string KnownNames()
{
    std::string names;
    for (SimProductKind kind : kAllSimProductKinds) {
        if (!names.empty())
            names += ", ";
        names += SimKindName(kind);
    }
    return names;
}

SimStateFile::Memories MemoriesOf(const std::array<std::unique_ptr<SimProduct>, kAllSimProductKinds.size()>& products)
{
    SimStateFile::Memories memories{};
    for (const auto& product : products)
        memories[static_cast<size_t>(SimKindFamily(product->Kind()))] = &product->Memory();
    return memories;
}

} // namespace

SimHidBackend::SimHidBackend(const std::vector<SimProductKind>& plugged)
{
    IgnoreSigpipeIfDefault();
    auto mouse = SimMouseFirmware::NewMemory();
    auto keyboard = SimKeyboardFirmware::NewMemory();
    auto make = [this](SimProductKind kind, std::unique_ptr<SimFirmware> firmware) {
        m_products[Index(kind)] = std::make_unique<SimProduct>(kind, std::move(firmware));
    };
    make(SimProductKind::Mouse, std::make_unique<SimMouseFirmware>(mouse, false));
    make(SimProductKind::MouseReceiver, std::make_unique<SimMouseFirmware>(mouse, true));
    make(SimProductKind::Keyboard, std::make_unique<SimKeyboardFirmware>(keyboard, false));
    make(SimProductKind::KeyboardReceiver, std::make_unique<SimKeyboardFirmware>(keyboard, true));
    make(SimProductKind::MousePad, std::make_unique<SimMousePadFirmware>(nullptr, false));
    make(SimProductKind::Headset, std::make_unique<SimHeadsetFirmware>(nullptr, false));
    m_service = std::make_unique<SimService>();
    for (SimProductKind kind : plugged)
        Plug(kind);
}

SimHidBackend::~SimHidBackend() = default;

std::optional<std::vector<SimProductKind>> SimHidBackend::ParseKinds(std::string_view list, std::string* error)
{
    std::vector<SimProductKind> kinds;
    auto fail = [error](const std::string& text) {
        if (error)
            *error = text;
        return std::nullopt;
    };
    size_t start = 0;
    while (start <= list.size()) {
        const size_t comma = list.find(',', start);
        const size_t end = comma == std::string_view::npos ? list.size() : comma;
        std::string_view name = list.substr(start, end - start);
        while (!name.empty() && name.front() == ' ')
            name.remove_prefix(1);
        while (!name.empty() && name.back() == ' ')
            name.remove_suffix(1);
        if (name.empty())
            return fail("The list of emulated products has an empty name; use one of: " + KnownNames() + ".");
        const auto kind = SimKindFromName(name);
        if (!kind) {
            return fail("\"" + std::string(name) + "\" is not an emulated product; use one of: " + KnownNames()
                        + ".");
        }
        for (SimProductKind seen : kinds) {
            if (seen == *kind)
                return fail("\"" + std::string(name) + "\" is named twice in the list of emulated products.");
        }
        kinds.push_back(*kind);
        if (comma == std::string_view::npos)
            break;
        start = comma + 1;
    }
    return kinds;
}

std::string SimHidBackend::NodePath(SimProductKind kind) { return "sim:" + std::string(SimKindName(kind)); }

bool SimHidBackend::LoadState(const std::string& file, std::string* error)
{
    return SimStateFile::Load(file, MemoriesOf(m_products), error);
}

bool SimHidBackend::SaveState(const std::string& file, std::string* error) const
{
    return SimStateFile::Save(file, MemoriesOf(m_products), error);
}

std::vector<HidNode> SimHidBackend::ListNodes()
{
    std::vector<HidNode> nodes;
    for (const auto& product : m_products) {
        if (product->Plugged())
            nodes.push_back(product->Node());
    }
    return nodes;
}

SimProduct* SimHidBackend::Find(const std::string& devicePath)
{
    for (const auto& product : m_products) {
        if (product->Node().devicePath == devicePath)
            return product.get();
    }
    return nullptr;
}

std::optional<HidNode> SimHidBackend::QueryNode(const std::string& devicePath)
{
    SimProduct* product = Find(devicePath);
    if (!product || !product->Plugged())
        return std::nullopt;
    return product->Node();
}

UniqueFd SimHidBackend::OpenNode(const std::string& devicePath, bool read, bool write)
{
    SimProduct* product = Find(devicePath);
    if (!product) {
        errno = ENOENT;
        return UniqueFd();
    }
    return m_service->Connect(*product, read, write);
}

bool SimHidBackend::SetOutputReport(int fd, const uint8_t* report, size_t length)
{
    return m_service->Output(fd, report, length);
}

bool SimHidBackend::Plug(SimProductKind kind)
{
    SimProduct& product = Product(kind);
    if (product.Plugged())
        return false;
    m_service->Plug(product);
    return true;
}

bool SimHidBackend::Unplug(SimProductKind kind)
{
    SimProduct& product = Product(kind);
    if (!product.Plugged())
        return false;
    m_service->Unplug(product);
    return true;
}

bool SimHidBackend::IsPlugged(SimProductKind kind) const { return m_products[Index(kind)]->Plugged(); }

SimProduct& SimHidBackend::Product(SimProductKind kind) { return *m_products[Index(kind)]; }

SimMemory& SimHidBackend::Memory(SimProductKind kind) { return Product(kind).Memory(); }

bool SimHidBackend::InjectEvent(SimProductKind kind, uint16_t code)
{
    SimProduct& product = Product(kind);
    const auto report = product.EventReport(code);
    return m_service->SendInput(product, report.data(), report.size());
}

bool SimHidBackend::SendInputReport(SimProductKind kind, const uint8_t* report, size_t length)
{
    return m_service->SendInput(Product(kind), report, length);
}

void SimHidBackend::ResetToFactory()
{
    for (const auto& product : m_products) {
        if (!product->Firmware().IsReceiver())
            product->Firmware().ResetToFactory();
    }
}
