#include "devices/DeviceManager.h"

#include "devices/DeviceAttach.h"
#include "devices/DeviceManagerListener.h"
#include "devices/DeviceOptionTable.h"
#include "devices/DevicePage.h"
#include "devices/DeviceSetup.h"
#include "devices/VarnokUSBDevice.h"
#include "hid/CommandChannel.h"
#include "hid/CommandSet.h"
#include "hid/SupportedDeviceTable.h"
#include "platform/DebugLog.h"

#include <QMetaObject>

#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

bool IsReceiver(DeviceKind kind) { return kind == DeviceKind::MouseReceiver || kind == DeviceKind::KeyboardReceiver; }
bool IsMouse(DeviceKind kind) { return kind == DeviceKind::Mouse || kind == DeviceKind::MouseReceiver; }
bool IsKeyboard(DeviceKind kind) { return kind == DeviceKind::Keyboard || kind == DeviceKind::KeyboardReceiver; }

// The table row with these values and role 0.
std::optional<size_t> CommandRow(uint16_t vendorId, uint16_t productId, DeviceKind kind)
{
    const auto& rows = SupportedDeviceTable::Rows();
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].vendorId == vendorId && rows[i].productId == productId && rows[i].kind == kind
            && rows[i].role == kRoleCommand)
            return i;
    return std::nullopt;
}

// Command row of an interface's product (the row itself, or the command row of its kind).
size_t CommandRowOf(size_t slotIndex)
{
    const SupportedDeviceEntry& row = SupportedDeviceTable::Row(slotIndex);
    if (row.role == kRoleCommand)
        return slotIndex;
    return CommandRow(row.vendorId, row.productId, row.kind).value_or(slotIndex);
}

} // namespace

CDeviceManager::CDeviceManager(HidBackend& backend, DeviceModelFactory factory, DeviceManagerListener* listener)
    : m_backend(backend), m_factory(std::move(factory)), m_listener(listener), m_scan(backend)
{
}

CDeviceManager::~CDeviceManager()
{
    StopDiscovery();
    for (auto& page : m_pages)
        if (page)
            page->Shutdown();
}

const SupportedDeviceEntry& CDeviceManager::PageIdentity(size_t slotIndex)
{
    const size_t command = CommandRowOf(slotIndex);
    const SupportedDeviceEntry& row = SupportedDeviceTable::Row(command);
    if (IsReceiver(row.kind) && row.paired && row.partner < SupportedDeviceTable::kRowCount)
        return SupportedDeviceTable::Row(row.partner);
    return row;
}

std::optional<size_t> CDeviceManager::OptionRowFor(size_t tableRow)
{
    if (tableRow >= SupportedDeviceTable::kRowCount)
        return std::nullopt;
    return DeviceSetup::OptionFor(DeviceSlot{SupportedDeviceTable::Row(tableRow)});
}

// --- discovery thread ------------------------------------------------------

void CDeviceManager::StartDiscovery()
{
    m_discovery.Start([this](StoppableThread& thread) { DiscoveryLoop(thread); });
}

void CDeviceManager::StopDiscovery() { m_discovery.Stop(std::chrono::milliseconds(1000)); }

bool CDeviceManager::DiscoveryRunning() const { return m_discovery.Running(); }

bool CDeviceManager::Deliver(StoppableThread& thread, std::function<void()> fn)
{
    struct Done {
        std::mutex mutex;
        std::condition_variable cv;
        bool done = false;
    };
    auto done = std::make_shared<Done>();
    QMetaObject::invokeMethod(
        &m_owner,
        [fn = std::move(fn), done] {
            fn();
            std::lock_guard lock(done->mutex);
            done->done = true;
            done->cv.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock lock(done->mutex);
    while (!done->done) {
        // The stop is observed while waiting, so a stopping owner never deadlocks.
        if (thread.StopRequested())
            return false;
        done->cv.wait_for(lock, std::chrono::milliseconds(5));
    }
    return true;
}

void CDeviceManager::DiscoveryLoop(StoppableThread& thread)
{
    bool firstScanDue = true;
    // One wake-up per pass: a short pause before the first, the scan interval between passes.
    auto pause = std::chrono::milliseconds(1);
    while (!thread.WaitForStop(pause)) {
        pause = kScanInterval;
        if (m_scan.AnyFree()) {
            const bool listed = m_scan.Fill([&](size_t slot) {
                return Deliver(thread, [this, slot] { OnArrival(slot); });
            });
            if (!listed)
                return;
            if (firstScanDue) {
                firstScanDue = false;
                if (!Deliver(thread, [this] { FirstScanDone(); }))
                    break;
            }
        }
        m_scan.Probe([&](size_t slot) { return Deliver(thread, [this, slot] { OnRemoval(slot); }); });
    }
    DebugOutput("抓取设备线程设定退出");
}

bool CDeviceManager::ScanNow()
{
    bool listed = true;
    if (m_scan.AnyFree()) {
        listed = m_scan.Fill([this](size_t slot) {
            OnArrival(slot);
            return true;
        });
        if (listed)
            FirstScanDone();
    }
    m_scan.Probe([this](size_t slot) {
        OnRemoval(slot);
        return true;
    });
    return listed;
}

void CDeviceManager::FirstScanDone()
{
    if (m_firstScanDone)
        return;
    m_firstScanDone = true;
    if (m_listener)
        m_listener->InstanceNotification();
}

// --- pages -----------------------------------------------------------------

void CDeviceManager::PreCreatePages()
{
    for (size_t option : {size_t{0}, size_t{1}}) {
        const DeviceOption& row = DeviceOptionTable::Row(option);
        auto tableRow = CommandRow(static_cast<uint16_t>(row.vendorId), static_cast<uint16_t>(row.productId),
                                   static_cast<DeviceKind>(row.kind));
        if (tableRow && !m_pages[option])
            CreatePage(*tableRow);
    }
}

DevicePage* CDeviceManager::CreatePage(size_t tableRow)
{
    const auto option = OptionRowFor(tableRow);
    if (!option || !m_factory)
        return nullptr;
    if (m_pages[*option])
        return m_pages[*option].get();
    const DeviceOption& optionRow = DeviceOptionTable::Row(*option);
    DeviceModel model = m_factory(static_cast<DeviceKind>(optionRow.kind), m_backend);
    if (!model.device)
        return nullptr;

    // The page's identity is its product's command row (the cable row of a paired product).
    model.device->SetUp(DeviceSetup::ForOption(*option, DeviceSlot{PageIdentity(tableRow)}));
    model.device->SetModelIndex(optionRow.modelIndex);
    model.device->InitPage();

    m_pages[*option] =
        std::make_unique<DevicePage>(std::move(model), m_backend, *this, static_cast<int>(*option), m_listener);
    return m_pages[*option].get();
}

DevicePage* CDeviceManager::Page(int deviceIndex)
{
    if (deviceIndex < 0 || static_cast<size_t>(deviceIndex) >= m_pages.size())
        return nullptr;
    return m_pages[static_cast<size_t>(deviceIndex)].get();
}

DevicePage* CDeviceManager::FindPage(const SupportedDeviceEntry& identity)
{
    for (auto& page : m_pages)
        if (page && SameIdentity(page->Model().Slot(), identity))
            return page.get();
    return nullptr;
}

// --- arrival and removal -----------------------------------------------------

void CDeviceManager::OnArrival(size_t slotIndex)
{
    if (slotIndex >= m_scan.Count())
        return;
    const DeviceSlot slot = m_scan.Slot(slotIndex);
    if (IsKeyboard(slot.kind))
        DebugOutput("添加一个键盘设备");
    else if (IsMouse(slot.kind))
        DebugOutput("添加一个鼠标设备");
    else if (slot.kind == DeviceKind::MousePad || slot.kind == DeviceKind::Headset)
        DebugOutput("添加一个鼠标垫设备");
    if (!FindPage(PageIdentity(slotIndex)))
        CreatePage(CommandRowOf(slotIndex));
    Attach(slotIndex);
    Recount();
    if (m_listener)
        m_listener->DeviceArrived(slotIndex, slot);
}

void CDeviceManager::Attach(size_t slotIndex)
{
    const DeviceSlot slot = m_scan.Slot(slotIndex);
    if (slot.role == kRoleEvent) {
        if (DevicePage* page = FindPage(PageIdentity(slotIndex)))
            page->Readers().Open(slot.kind, slot.path);
        return;
    }
    AttachCommand(slotIndex, slot);
}

bool CDeviceManager::PartnerConnected(size_t slotIndex) const
{
    const SupportedDeviceEntry& row = SupportedDeviceTable::Row(slotIndex);
    if (!row.paired || row.partner >= m_scan.Count())
        return false;
    const DeviceSlot partner = m_scan.Slot(row.partner);
    return partner.connected != 0 && !partner.path.empty() && partner.partner == slotIndex;
}

void CDeviceManager::AttachCommand(size_t slotIndex, const DeviceSlot& slot)
{
    const bool pairedKind = IsMouse(slot.kind) || IsKeyboard(slot.kind);
    if (pairedKind && slot.paired && PartnerConnected(slotIndex)) {
        if (!IsReceiver(slot.kind))
            LinkSwitch(slotIndex);
        return;
    }
    const SupportedDeviceEntry& identity = pairedKind ? PageIdentity(slotIndex) : slot;
    DevicePage* page = FindPage(identity);
    if (!page)
        return;
    CommandChannel& channel = page->Model().ChannelA();
    if (pairedKind && channel.IsOpen())
        return;
    if (!channel.IsOpen() && DeviceAttach::Attach(channel, slot))
        page->Model().SetSlot(DeviceSlot{identity});
    // A failed open still shows the item; the first exchange then fails.
    if (!IsReceiver(slot.kind))
        ShowItem(*page, !AnyItemShown());
    page->Schedule().Arm(SelectorTimerSchedule::kConnect, 500);
}

void CDeviceManager::OnRemoval(size_t slotIndex)
{
    if (slotIndex >= m_scan.Count())
        return;
    const SupportedDeviceEntry& row = SupportedDeviceTable::Row(slotIndex);
    if (IsKeyboard(row.kind))
        DebugOutput("删除一个键盘设备");
    else if (IsMouse(row.kind))
        DebugOutput("删除一个鼠标设备");
    else if (row.kind == DeviceKind::MousePad || row.kind == DeviceKind::Headset)
        DebugOutput("删除一个鼠标垫设备");
    if (row.role == kRoleEvent) {
        if (DevicePage* page = FindPage(PageIdentity(slotIndex)))
            page->Readers().Close(row.kind);
    } else {
        DetachCommand(slotIndex);
        Recount();
    }
    if (m_listener)
        m_listener->DeviceRemoved(slotIndex, m_scan.Slot(slotIndex));
}

void CDeviceManager::DetachCommand(size_t slotIndex)
{
    const SupportedDeviceEntry& row = SupportedDeviceTable::Row(slotIndex);
    const bool pairedKind = IsMouse(row.kind) || IsKeyboard(row.kind);
    if (pairedKind) {
        DebugOutput(IsMouse(row.kind) ? "鼠标设备丢失" : "键盘设备丢失");
        if (row.paired && PartnerConnected(slotIndex)) {
            if (!IsReceiver(row.kind))
                LinkSwitch(slotIndex);
            return;
        }
    }
    DevicePage* page = FindPage(pairedKind ? PageIdentity(slotIndex) : row);
    if (!page)
        return;
    DeviceAttach::Detach(page->Model().ChannelA());
    // Nothing is left for the timers to drive.
    page->Schedule().KillAll();
    RemoveItem(*page);
}

// --- link switch ---------------------------------------------------------------

void CDeviceManager::LinkSwitch(size_t cableIndex)
{
    const SupportedDeviceEntry& cableRow = SupportedDeviceTable::Row(cableIndex);
    if (cableRow.partner >= m_scan.Count())
        return;
    DevicePage* page = FindPage(cableRow);
    if (!page)
        page = FindPage(SupportedDeviceTable::Row(cableRow.partner));
    if (!page)
        return;
    CVarnokUSBDevice& model = page->Model();
    CommandChannel& channel = model.ChannelA();
    const bool wasWireless = channel.IsWireless();
    const std::string path = wasWireless ? m_scan.Slot(cableIndex).path : m_scan.Slot(cableRow.partner).path;

    bool opened;
    {
        std::lock_guard lock(channel.ExchangeLock());
        channel.SetOpen(false);
        HidInterface& next = wasWireless ? channel.Cable() : channel.Receiver();
        HidInterface& previous = wasWireless ? channel.Receiver() : channel.Cable();
        next.Close();
        opened = !path.empty() && next.Open(path, true, true);
        // The link left behind is not used until the next switch reopens it.
        previous.Close();
        if (opened)
            channel.SetOpen(true);
    }
    if (!opened)
        return;

    CommandSet commands(channel);
    if (!wasWireless) {
        channel.SetMode(kChannelWireless);
        if (model.HasPowerIndicator()) {
            for (int attempt = 0; attempt < kLinkStatusTries; ++attempt) {
                if (commands.CMD_LINK_STATUS())
                    break;
                std::this_thread::sleep_for(kLinkStatusPause);
                if (attempt < kLinkStatusTries - 1)
                    DebugOutput("获取2.4G模式失败");
            }
            DebugOutput("获取2");
            model.QueryPower();
        }
        commands.CMD_CONFIG_BEGIN();
        page->Schedule().StartLinkWatch(SelectorTimerSchedule::kLinkWatchStartMs);
    } else {
        channel.SetMode(kChannelCable);
        page->Schedule().Arm(SelectorTimerSchedule::kConnect, 500);
        OnReachable(page->DeviceIndex(), true);
        if (model.HasPowerIndicator())
            model.QueryPower();
    }
}

// --- reachability and selector items ------------------------------------------

void CDeviceManager::OnReachable(int deviceIndex, bool reachable)
{
    DevicePage* page = Page(deviceIndex);
    if (!page)
        return;
    if (m_listener)
        m_listener->Reachability(deviceIndex, reachable);
    if (!reachable) {
        RemoveItem(*page);
        DebugOutput("2.4gcesvdfherhue 1");
    } else if (!page->Item().Shown()) {
        ShowItem(*page, !AnyItemShown());
    }
}

void CDeviceManager::ItemShowRequested(int deviceIndex, bool shown)
{
    DevicePage* page = Page(deviceIndex);
    if (!page)
        return;
    if (shown)
        ShowItem(*page, !AnyItemShown());
    else
        RemoveItem(*page);
}

void CDeviceManager::ItemPresence(int deviceIndex, bool present) { OnReachable(deviceIndex, present); }

bool CDeviceManager::AnyItemShown() const
{
    for (const auto& page : m_pages)
        if (page && page->Item().Shown())
            return true;
    return false;
}

int CDeviceManager::CurrentDevice() const
{
    for (const auto& page : m_pages)
        if (page && page->Item().Shown() && page->Item().Selected())
            return page->DeviceIndex();
    return -1;
}

void CDeviceManager::ShowItem(DevicePage& page, bool select)
{
    HeadlessSelectorItem& item = page.Item();
    item.RecordShown(true);
    if (select) {
        // One option group: selecting one item unselects the others.
        for (auto& other : m_pages)
            if (other && other.get() != &page && other->Item().Selected()) {
                other->Item().RecordSelected(false);
                if (m_listener)
                    m_listener->ItemChanged(other->DeviceIndex(), other->Item().Shown(), false);
            }
        item.RecordSelected(true);
    }
    if (m_listener)
        m_listener->ItemChanged(page.DeviceIndex(), true, item.Selected());
    Recount();
}

void CDeviceManager::RemoveItem(DevicePage& page)
{
    HeadlessSelectorItem& item = page.Item();
    if (!item.Shown())
        return;
    const bool wasSelected = item.Selected();
    DevicePage* another = nullptr;
    for (auto& other : m_pages)
        if (other && other.get() != &page && other->Item().Shown() && !another)
            another = other.get();
    item.RecordShown(false);
    item.RecordSelected(false);
    if (m_listener)
        m_listener->ItemChanged(page.DeviceIndex(), false, false);
    if (wasSelected && another)
        ShowItem(*another, true);
    Recount();
}

void CDeviceManager::Recount()
{
    const bool none = !AnyItemShown();
    if (none == m_noDeviceLink)
        return;
    m_noDeviceLink = none;
    if (m_listener)
        m_listener->NoDeviceLink(none);
}
