#include "hid/SysfsHidBackend.h"

#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string_view>

namespace fs = std::filesystem;

namespace {

constexpr size_t kMaxSysfsFile = 65536;

std::optional<std::string> ReadSmallFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string text;
    char buffer[4096];
    while (in && text.size() < kMaxSysfsFile) {
        in.read(buffer, sizeof buffer);
        text.append(buffer, static_cast<size_t>(in.gcount()));
    }
    return text;
}

std::optional<unsigned long> ParseHex(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(text.c_str(), &end, 16);
    if (errno != 0 || end == text.c_str())
        return std::nullopt;
    return value;
}

std::optional<unsigned long> ReadHexFile(const fs::path& path)
{
    auto text = ReadSmallFile(path);
    if (!text)
        return std::nullopt;
    return ParseHex(*text);
}

struct Uevent {
    std::string hidId;
    std::string phys;
};

Uevent ParseUevent(const std::string& text)
{
    Uevent ev;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.starts_with("HID_ID="))
            ev.hidId = line.substr(7);
        else if (line.starts_with("HID_PHYS="))
            ev.phys = line.substr(9);
    }
    return ev;
}

// HID_ID is "BBBB:VVVVVVVV:PPPPPPPP" in hex.
bool ParseHidId(const std::string& id, uint16_t& vendor, uint16_t& product)
{
    const auto first = id.find(':');
    const auto second = id.find(':', first == std::string::npos ? first : first + 1);
    if (first == std::string::npos || second == std::string::npos)
        return false;
    const auto v = ParseHex(id.substr(first + 1, second - first - 1));
    const auto p = ParseHex(id.substr(second + 1));
    if (!v || !p)
        return false;
    vendor = static_cast<uint16_t>(*v & 0xFFFF);
    product = static_cast<uint16_t>(*p & 0xFFFF);
    return true;
}

// "usb-0000:00:14.0-1/input1" or "gd-uhid-bridge/input3": the number after the last "/input".
std::optional<uint16_t> InterfaceFromPhys(const std::string& phys)
{
    const auto at = phys.rfind("/input");
    if (at == std::string::npos)
        return std::nullopt;
    const std::string digits = phys.substr(at + 6);
    if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    return static_cast<uint16_t>(std::strtoul(digits.c_str(), nullptr, 10) & 0xFFFF);
}

// The version of a node without a USB parent: the input device the HID core
// made for it carries the version it was created with.
std::optional<uint16_t> VersionFromInputChild(const fs::path& hidDevice)
{
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(hidDevice / "input", ec)) {
        if (auto v = ReadHexFile(entry.path() / "id" / "version"))
            return static_cast<uint16_t>(*v & 0xFFFF);
    }
    return std::nullopt;
}

} // namespace

SysfsHidBackend::SysfsHidBackend(std::string sysRoot, std::string devRoot)
    : m_sysRoot(std::move(sysRoot)), m_devRoot(std::move(devRoot)), m_classDir(m_sysRoot / "class" / "hidraw")
{
}

ino_t SysfsHidBackend::EntryInode(const std::string& name) const
{
    struct stat info {};
    return ::lstat((m_classDir / name).c_str(), &info) == 0 ? info.st_ino : 0;
}

std::optional<HidNode> SysfsHidBackend::Node(const std::string& name, ino_t inode)
{
    if (inode != 0) {
        std::lock_guard lock(m_cacheMutex);
        for (const KnownEntry& known : m_known)
            if (known.name == name && known.inode == inode)
                return known.node;
    }
    auto node = ReadNode(name);
    std::lock_guard lock(m_cacheMutex);
    std::erase_if(m_known, [&name](const KnownEntry& known) { return known.name == name; });
    // Kept only when the entry read is still the one listed.
    if (node && inode != 0 && EntryInode(name) == inode)
        m_known.push_back(KnownEntry{name, inode, *node});
    return node;
}

std::vector<SysfsHidBackend::Entry> SysfsHidBackend::Entries()
{
    std::vector<Entry> entries;
    std::lock_guard lock(m_folderMutex);
    // The folder stays open between listings: opening walks the path, the
    // dearest part of a listing. An old descriptor of a folder that went away
    // (the hidraw module unloaded) lists nothing, so after an empty listing the
    // folder is opened anew: at once when it had entries before, else at most
    // once a second.
    const auto now = std::chrono::steady_clock::now();
    if (m_folder && m_emptyListings > 0 && (m_emptyListings == 1 || now - m_folderOpened >= kReopenEmptyFolder))
        m_folder.reset();
    if (m_folder) {
        ::rewinddir(m_folder.get());
    } else {
        m_folder.reset(::opendir(m_classDir.c_str()));
        m_folderOpened = now;
        if (!m_folder)
            return entries;  // not there (yet): tried again next time
    }
    while (const dirent* entry = ::readdir(m_folder.get())) {
        const std::string_view name(entry->d_name);
        if (name.starts_with("hidraw"))
            entries.push_back(Entry{std::string(name), entry->d_ino});
    }
    m_emptyListings = entries.empty() ? m_emptyListings + 1 : 0;
    return entries;
}

std::optional<HidNode> SysfsHidBackend::ReadNode(const std::string& name) const
{
    const fs::path entry = m_classDir / name;
    std::error_code ec;
    const fs::path hidDevice = fs::canonical(entry / "device", ec);
    if (ec)
        return std::nullopt;
    auto uevent = ReadSmallFile(hidDevice / "uevent");
    auto descriptor = ReadSmallFile(hidDevice / "report_descriptor");
    if (!uevent || !descriptor)
        return std::nullopt;
    const Uevent ev = ParseUevent(*uevent);
    HidNode node;
    node.devicePath = (m_devRoot / name).string();
    if (!ParseHidId(ev.hidId, node.vendorId, node.productId))
        return std::nullopt;
    node.reportDescriptor.assign(descriptor->begin(), descriptor->end());

    // Above a USB HID device: the interface directory, then the USB device.
    bool fromUsb = false;
    const fs::path root = fs::canonical(m_sysRoot, ec);
    for (fs::path dir = hidDevice.parent_path(); !ec && dir.has_relative_path() && dir != root;
         dir = dir.parent_path()) {
        if (auto number = ReadHexFile(dir / "bInterfaceNumber")) {
            node.interfaceNumber = static_cast<uint16_t>(*number & 0xFFFF);
            if (auto bcd = ReadHexFile(dir.parent_path() / "bcdDevice"))
                node.version = static_cast<uint16_t>(*bcd & 0xFFFF);
            fromUsb = true;
            break;
        }
    }
    if (!fromUsb) {
        node.interfaceNumber = InterfaceFromPhys(ev.phys).value_or(0);
        node.version = VersionFromInputChild(hidDevice).value_or(0);
    }
    return node;
}

std::vector<HidNode> SysfsHidBackend::ListNodes()
{
    std::vector<Entry> entries = Entries();
    // hidraw2 before hidraw10, as the kernel numbers them.
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.name.size() != b.name.size() ? a.name.size() < b.name.size() : a.name < b.name;
    });
    std::vector<HidNode> nodes;
    for (const Entry& entry : entries)
        if (auto node = Node(entry.name, entry.inode))
            nodes.push_back(std::move(*node));
    {
        // Entries that went away are forgotten.
        std::lock_guard lock(m_cacheMutex);
        std::erase_if(m_known, [&entries](const KnownEntry& known) {
            return std::none_of(entries.begin(), entries.end(),
                                [&known](const Entry& entry) { return entry.name == known.name; });
        });
    }
    return nodes;
}

std::optional<HidNode> SysfsHidBackend::QueryNode(const std::string& devicePath)
{
    const fs::path path(devicePath);
    const std::string name = path.filename().string();
    if (!name.starts_with("hidraw") || path.parent_path() != m_devRoot)
        return std::nullopt;
    return Node(name, EntryInode(name));
}

UniqueFd SysfsHidBackend::OpenNode(const std::string& devicePath, bool read, bool write)
{
    int flags = O_CLOEXEC | O_NONBLOCK;
    if (read && write)
        flags |= O_RDWR;
    else if (write)
        flags |= O_WRONLY;
    else if (read)
        flags |= O_RDONLY;
    else
        flags = O_PATH | O_CLOEXEC;
    return UniqueFd(::open(devicePath.c_str(), flags));
}

bool SysfsHidBackend::SetOutputReport(int fd, const uint8_t* report, size_t length)
{
    if (fd < 0 || report == nullptr || length == 0)
        return false;
    std::vector<uint8_t> copy(report, report + length);  // the ioctl may write back into it
    if (::ioctl(fd, HIDIOCSOUTPUT(length), copy.data()) >= 0)
        return true;
    const ssize_t written = ::write(fd, report, length);
    return written == static_cast<ssize_t>(length);
}
