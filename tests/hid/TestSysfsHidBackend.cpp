#include "hid/HidEnumerator.h"
#include "hid/HidInterface.h"
#include "hid/SysfsHidBackend.h"

#include "TestDescriptors.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

// A sysfs and /dev laid out like the kernel's, in a temporary folder.
class FakeSysfs : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_root = fs::temp_directory_path() / ("gd-sysfs-" + std::to_string(::getpid()) + "-"
                                              + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_root);
        fs::create_directories(Sys() / "class" / "hidraw");
        fs::create_directories(Dev());
    }
    void TearDown() override { fs::remove_all(m_root); }

    fs::path Sys() const { return m_root / "sys"; }
    fs::path Dev() const { return m_root / "dev"; }

    static void Write(const fs::path& file, const std::string& text)
    {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
    }

    // Makes hidrawN under hidDevice (a folder below sys/devices) and its /dev node.
    void AddHidraw(const std::string& name, const fs::path& hidDevice, const std::string& hidId,
                   const std::string& phys, const std::vector<uint8_t>& descriptor)
    {
        Write(hidDevice / "uevent", "DRIVER=hid-generic\nHID_ID=" + hidId + "\nHID_NAME=Test device\nHID_PHYS=" + phys
                                        + "\nHID_UNIQ=\nMODALIAS=hid:b0003\n");
        Write(hidDevice / "report_descriptor", std::string(descriptor.begin(), descriptor.end()));
        const fs::path classDir = hidDevice / "hidraw" / name;
        fs::create_directories(classDir);
        fs::create_directory_symlink(hidDevice, classDir / "device");
        fs::create_directory_symlink(classDir, Sys() / "class" / "hidraw" / name);
        Write(Dev() / name, "");
    }

    fs::path m_root;
};

TEST_F(FakeSysfs, NodesWithAUsbParentAndWithout)
{
    // A USB mouse: interface folder 1-1:1.1 with bInterfaceNumber, device folder with bcdDevice.
    const fs::path usbDevice = Sys() / "devices" / "pci0000:00" / "usb1" / "1-1";
    Write(usbDevice / "bcdDevice", "0105\n");
    Write(usbDevice / "1-1:1.1" / "bInterfaceNumber", "01\n");
    AddHidraw("hidraw3", usbDevice / "1-1:1.1" / "0003:320F:221C.0004", "0003:0000320F:0000221C",
              "usb-0000:00:14.0-1/input1", TestDescriptors::ProductInterface());
    // A uhid headset: no USB parent; interface from HID_PHYS, version from its input device.
    const fs::path uhid = Sys() / "devices" / "virtual" / "misc" / "uhid" / "0003:0C76:1630.0007";
    AddHidraw("hidraw10", uhid, "0003:00000C76:00001630", "gd-uhid-bridge/input3", TestDescriptors::NoIdInterface());
    Write(uhid / "input" / "input12" / "id" / "version", "0201\n");
    // An entry without a readable descriptor is left out.
    fs::create_directories(Sys() / "class" / "hidraw" / "hidraw5");

    SysfsHidBackend backend(Sys().string(), Dev().string());
    const auto nodes = backend.ListNodes();
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(nodes[0].devicePath, (Dev() / "hidraw3").string());
    EXPECT_EQ(nodes[0].vendorId, 0x320F);
    EXPECT_EQ(nodes[0].productId, 0x221C);
    EXPECT_EQ(nodes[0].interfaceNumber, 1);
    EXPECT_EQ(nodes[0].version, 0x0105);
    EXPECT_EQ(nodes[0].reportDescriptor, TestDescriptors::ProductInterface());
    EXPECT_EQ(nodes[1].devicePath, (Dev() / "hidraw10").string());
    EXPECT_EQ(nodes[1].vendorId, 0x0C76);
    EXPECT_EQ(nodes[1].productId, 0x1630);
    EXPECT_EQ(nodes[1].interfaceNumber, 3);
    EXPECT_EQ(nodes[1].version, 0x0201);

    EXPECT_TRUE(backend.QueryNode((Dev() / "hidraw10").string()));
    EXPECT_FALSE(backend.QueryNode((Dev() / "hidraw11").string()));
    EXPECT_FALSE(backend.QueryNode("/elsewhere/hidraw3"));

    HidEnumerator list(backend);
    ASSERT_TRUE(list.Enumerate());
    const std::string mouse = (Dev() / "hidraw3").string();
    const std::vector<std::string> expected = {
        mouse + "#vid_320f&pid_221c&mi_01&col01", mouse + "#vid_320f&pid_221c&mi_01&col02",
        mouse + "#vid_320f&pid_221c&mi_01&col03", mouse + "#vid_320f&pid_221c&mi_01&col04",
        (Dev() / "hidraw10").string() + "#vid_0c76&pid_1630&mi_03",
    };
    EXPECT_EQ(list.Paths(), expected);

    // The node file stands in for the device: the interface opens and reads its identity.
    HidInterface probe(backend);
    ASSERT_TRUE(probe.Open(expected[3], true, false));
    EXPECT_EQ(probe.UsagePage(), 0xFF1C);
    EXPECT_EQ(probe.Usage(), 0x92);
    EXPECT_EQ(probe.Version(), 0x0105);
    EXPECT_EQ(probe.InterfaceNumber(), 1);
    EXPECT_EQ(probe.CollectionNumber(), 4);
    EXPECT_EQ(probe.InputReportLength(), 64);
}

TEST_F(FakeSysfs, MissingTreeListsNothing)
{
    SysfsHidBackend backend((m_root / "nothing").string(), Dev().string());
    EXPECT_TRUE(backend.ListNodes().empty());
}

} // namespace
