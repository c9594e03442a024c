#include "hid/TestDescriptors.h"

#include "devices/DiscoveryScan.h"
#include "hid/HidEnumerator.h"
#include "hid/SysfsHidBackend.h"
#include "sim/SimHidBackend.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A sysfs tree whose hidraw entries can be replaced the ways the kernel
// replaces them: another HID device under the same hidraw name, or the same
// HID device with its hidraw folder made anew (a driver rebind).
class ReplacedNodes : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = fs::temp_directory_path() / ("gd-scan-cache-" + std::to_string(::getpid()) + "-"
                                              + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_root);
        fs::create_directories(m_root / "sys" / "class" / "hidraw");
        fs::create_directories(m_root / "dev");
    }
    void TearDown() override { fs::remove_all(m_root); }

    std::string Sys() const { return (m_root / "sys").string(); }
    std::string Dev() const { return (m_root / "dev").string(); }

    static void Write(const fs::path& file, const std::vector<uint8_t>& bytes)
    {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                    static_cast<std::streamsize>(bytes.size()));
    }
    static void Write(const fs::path& file, const std::string& text)
    {
        Write(file, std::vector<uint8_t>(text.begin(), text.end()));
    }

    // The HID device folder "0003:VVVV:PPPP.<instance>" with its uevent and descriptor.
    fs::path HidDevice(const std::string& instance, const std::string& productId,
                       const std::vector<uint8_t>& descriptor)
    {
        const fs::path dir = m_root / "sys" / "devices" / "virtual" / ("0003:320F:" + productId + "." + instance);
        Write(dir / "uevent", "HID_ID=0003:0000320F:0000" + productId + "\nHID_PHYS=bridge/input1\n");
        Write(dir / "report_descriptor", descriptor);
        return dir;
    }

    // hidrawN of a HID device: its folder, the device link and the class
    // entry. The new entry is made before the old one goes, so that it is
    // another entry, as sysfs makes it.
    void Link(const std::string& name, const fs::path& hidDevice)
    {
        const fs::path folder = hidDevice / "hidraw" / name;
        const fs::path freshFolder = hidDevice / "hidraw" / (name + ".new");
        fs::create_directories(freshFolder);
        fs::create_directory_symlink(hidDevice, freshFolder / "device");
        fs::remove_all(folder);
        fs::rename(freshFolder, folder);
        const fs::path entry = m_root / "sys" / "class" / "hidraw" / name;
        const fs::path freshEntry = m_root / "sys" / "class" / (name + ".new");
        fs::create_directory_symlink(folder, freshEntry);
        fs::rename(freshEntry, entry);
    }

    fs::path m_root;
};

TEST_F(ReplacedNodes, ListingAndQuerySeeEveryReplacement)
{
    const auto four = TestDescriptors::ProductInterface();
    const auto one = TestDescriptors::NoIdInterface();
    struct Case {
        const char* what;
        std::function<void()> replace;
        bool present;
        uint16_t productId;
        std::vector<uint8_t> descriptor;
    };
    const std::vector<Case> cases = {
        {"unchanged", [] {}, true, 0x221C, four},
        {"another device under the same name",
         [&] { Link("hidraw3", HidDevice("0009", "222F", four)); }, true, 0x222F, four},
        {"the same device rebound with another descriptor",
         [&] { Link("hidraw3", HidDevice("0004", "221C", one)); }, true, 0x221C, one},
        {"removed", [&] { fs::remove(m_root / "sys" / "class" / "hidraw" / "hidraw3"); }, false, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Link("hidraw3", HidDevice("0004", "221C", four));
        SysfsHidBackend backend(Sys(), Dev());
        ASSERT_EQ(backend.ListNodes().size(), 1u);
        ASSERT_TRUE(backend.QueryNode(Dev() + "/hidraw3"));

        c.replace();
        const auto listed = backend.ListNodes();
        const auto queried = backend.QueryNode(Dev() + "/hidraw3");
        ASSERT_EQ(listed.size(), c.present ? 1u : 0u);
        ASSERT_EQ(queried.has_value(), c.present);
        if (!c.present)
            continue;
        for (const HidNode& node : {listed[0], *queried}) {
            EXPECT_EQ(node.productId, c.productId);
            EXPECT_EQ(node.reportDescriptor, c.descriptor);
            EXPECT_EQ(node.interfaceNumber, 1);
        }
    }
}

// The class folder goes and comes back with the hidraw module; the node in
// the new folder is found at the scan interval, with or without nodes in the
// old one.
TEST_F(ReplacedNodes, ClassFolderThatComesBackIsListed)
{
    const fs::path classDir = m_root / "sys" / "class" / "hidraw";
    const auto listedWithin3s = [](SysfsHidBackend& backend, const std::vector<uint8_t>& descriptor) {
        for (int pass = 0; pass < 30; ++pass) {
            const auto nodes = backend.ListNodes();
            if (nodes.size() == 1 && nodes[0].reportDescriptor == descriptor)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    };
    for (const bool nodesBefore : {true, false}) {
        SCOPED_TRACE(nodesBefore ? "with a node before" : "empty before");
        fs::remove_all(classDir);
        SysfsHidBackend backend(Sys(), Dev());
        EXPECT_TRUE(backend.ListNodes().empty());
        fs::create_directories(classDir);
        if (nodesBefore) {
            Link("hidraw0", HidDevice("0001", "1004", TestDescriptors::ProductInterface()));
            EXPECT_TRUE(listedWithin3s(backend, TestDescriptors::ProductInterface()));
        } else {
            EXPECT_TRUE(backend.ListNodes().empty());
        }

        fs::remove_all(classDir);
        EXPECT_TRUE(backend.ListNodes().empty());
        fs::create_directories(classDir);
        Link("hidraw0", HidDevice("0002", "1004", TestDescriptors::NoIdInterface()));
        EXPECT_TRUE(listedWithin3s(backend, TestDescriptors::NoIdInterface()));
    }
}

// Nodes handed out by a test.
class ListedNodes : public HidBackend {
public:
    std::vector<HidNode> nodes;

    std::vector<HidNode> ListNodes() override { return nodes; }
    std::optional<HidNode> QueryNode(const std::string&) override { return std::nullopt; }
    UniqueFd OpenNode(const std::string&, bool, bool) override { return UniqueFd(); }
    bool SetOutputReport(int, const uint8_t*, size_t) override { return false; }
};

TEST(EnumeratorTest, ReworksTheInterfacesOfAChangedNode)
{
    const HidNode four{"/dev/hidraw1", 0x320F, 0x221C, 0x0105, 1, TestDescriptors::ProductInterface()};
    HidNode one = four;
    one.reportDescriptor = TestDescriptors::NoIdInterface();
    HidNode otherProduct = four;
    otherProduct.productId = 0x222F;
    HidNode broken = four;
    broken.reportDescriptor = {0xC0};
    struct Case {
        const char* what;
        HidNode next;
        std::vector<std::string> paths;
    };
    const std::vector<Case> cases = {
        {"unchanged", four, HidEnumerator::PathsOf(four)},
        {"another descriptor", one, {"/dev/hidraw1#vid_320f&pid_221c&mi_01"}},
        {"another product", otherProduct, HidEnumerator::PathsOf(otherProduct)},
        {"a descriptor that does not parse", broken, {}},
    };
    ASSERT_EQ(HidEnumerator::PathsOf(four).size(), 4u);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ListedNodes backend;
        HidEnumerator list(backend);
        backend.nodes = {four};
        ASSERT_TRUE(list.Enumerate());
        ASSERT_EQ(list.Paths(), HidEnumerator::PathsOf(four));
        backend.nodes = {c.next};
        ASSERT_TRUE(list.Enumerate());
        EXPECT_EQ(list.Paths(), c.paths);
        // Gone and back again.
        backend.nodes.clear();
        ASSERT_TRUE(list.Enumerate());
        EXPECT_TRUE(list.Paths().empty());
        backend.nodes = {four};
        ASSERT_TRUE(list.Enumerate());
        EXPECT_EQ(list.Paths(), HidEnumerator::PathsOf(four));
    }
}

// Passes over paths no slot could take must not hide them once a slot is free again.
TEST(DiscoveryScanTest, PathsComeBackWhenTheirSlotsAreFreeAgain)
{
    SimHidBackend sim({SimProductKind::Mouse});
    DiscoveryScan scan(sim);
    std::set<size_t> arrived;
    const auto record = [&arrived](size_t slot) {
        arrived.insert(slot);
        return true;
    };
    ASSERT_TRUE(scan.Fill(record));
    const std::set<size_t> mouseSlots = arrived;
    ASSERT_FALSE(mouseSlots.empty());
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        arrived.clear();
        ASSERT_TRUE(scan.Fill(record));
        EXPECT_TRUE(arrived.empty());  // all taken already

        ASSERT_TRUE(sim.Unplug(SimProductKind::Mouse));
        std::set<size_t> removed;
        scan.Probe([&removed](size_t slot) {
            removed.insert(slot);
            return true;
        });
        EXPECT_EQ(removed, mouseSlots);
        ASSERT_TRUE(sim.Plug(SimProductKind::Mouse));
        ASSERT_TRUE(scan.Fill(record));
        EXPECT_EQ(arrived, mouseSlots);
    }
    // Another product is taken while the first keeps its slots.
    arrived.clear();
    ASSERT_TRUE(sim.Plug(SimProductKind::MousePad));
    ASSERT_TRUE(scan.Fill(record));
    EXPECT_FALSE(arrived.empty());
    for (size_t slot : arrived)
        EXPECT_EQ(scan.Slot(slot).kind, DeviceKind::MousePad);
}

} // namespace
