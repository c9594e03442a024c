#include "hid/HidInterface.h"

#include "SocketHidBackend.h"
#include "TestDescriptors.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

class HidInterfaceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        HidNode product;
        product.devicePath = "sock:mouse";
        product.vendorId = 0x320F;
        product.productId = 0x221C;
        product.version = 0x0105;
        product.interfaceNumber = 1;
        product.reportDescriptor = TestDescriptors::ProductInterface();
        m_device = m_backend.AddNode(product);
        HidNode plain;
        plain.devicePath = "sock:headset";
        plain.vendorId = 0x0C76;
        plain.productId = 0x1630;
        plain.interfaceNumber = 3;
        plain.reportDescriptor = TestDescriptors::NoIdInterface();
        m_plainDevice = m_backend.AddNode(plain);
    }

    void DeviceSends(const std::vector<uint8_t>& report, const UniqueFd& end)
    {
        ASSERT_EQ(::write(end.Get(), report.data(), report.size()), static_cast<ssize_t>(report.size()));
    }

    static constexpr const char* kCommandPath = "sock:mouse#vid_320f&pid_221c&mi_01&col04";
    static constexpr const char* kEventPath = "sock:mouse#vid_320f&pid_221c&mi_01&col03";
    static constexpr const char* kPlainPath = "sock:headset#vid_0c76&pid_1630&mi_03";

    SocketHidBackend m_backend;
    UniqueFd m_device;
    UniqueFd m_plainDevice;
};

TEST_F(HidInterfaceTest, OpenTakesTheCollectionNamedByThePath)
{
    struct Case {
        std::string path;
        bool opens;
        uint16_t page, usage, in, out, col, mi;
    };
    const Case cases[] = {
        {kCommandPath, true, 0xFF1C, 0x92, 64, 64, 4, 1},
        {kEventPath, true, 0x000C, 0x01, 3, 0, 3, 1},
        {kPlainPath, true, 0x000C, 0x01, 9, 17, 0, 3},
        {"sock:mouse#vid_320f&pid_221c&mi_01&col05", false, 0, 0, 0, 0, 0, 0},
        {"sock:mouse#vid_320f&pid_221c&mi_01", false, 0, 0, 0, 0, 0, 0},  // which of four?
        {"sock:gone#vid_320f&pid_221c&mi_01&col04", false, 0, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        HidInterface hid(m_backend);
        ASSERT_EQ(hid.Open(c.path, true, true), c.opens);
        EXPECT_EQ(hid.IsOpen(), c.opens);
        if (!c.opens)
            continue;
        EXPECT_EQ(hid.UsagePage(), c.page);
        EXPECT_EQ(hid.Usage(), c.usage);
        EXPECT_EQ(hid.InputReportLength(), c.in);
        EXPECT_EQ(hid.OutputReportLength(), c.out);
        EXPECT_EQ(hid.CollectionNumber(), c.col);
        EXPECT_EQ(hid.InterfaceNumber(), c.mi);
        EXPECT_EQ(hid.ReportBuffer(HidReportType::Input).size(), c.in);
        EXPECT_EQ(hid.Path(), c.path);
    }
}

TEST_F(HidInterfaceTest, OpenAgainClosesTheOldHandle)
{
    HidInterface hid(m_backend);
    ASSERT_TRUE(hid.Open(kCommandPath, true, true));
    ASSERT_TRUE(hid.Open(kPlainPath, true, true));
    EXPECT_EQ(hid.VendorId(), 0x0C76);
    EXPECT_EQ(m_backend.Opens(), 2);
    hid.Close();
    EXPECT_FALSE(hid.IsOpen());
    hid.Close();  // closing a closed interface does nothing
    uint8_t buffer[64];
    size_t n = 99;
    EXPECT_FALSE(hid.Read(buffer, sizeof buffer, n, 10));
    EXPECT_EQ(n, 0u);
}

TEST_F(HidInterfaceTest, ReadTimesOutWithoutAReport)
{
    HidInterface hid(m_backend);
    ASSERT_TRUE(hid.Open(kCommandPath, true, true));
    uint8_t buffer[64];
    size_t n = 0;
    const auto start = Clock::now();
    EXPECT_FALSE(hid.Read(buffer, sizeof buffer, n, 1000));
    const auto elapsed = Clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(990));
    EXPECT_LT(elapsed, std::chrono::seconds(3));
    EXPECT_EQ(n, 0u);
    // Nothing is left waiting: a report sent now is read by the next call.
    DeviceSends(std::vector<uint8_t>(64, 0x04), m_device);
    EXPECT_TRUE(hid.Read(buffer, sizeof buffer, n, 1000));
    EXPECT_EQ(n, 64u);
}

TEST_F(HidInterfaceTest, CloseFromAnotherThreadEndsAReadWithoutLimit)
{
    HidInterface hid(m_backend);
    ASSERT_TRUE(hid.Open(kEventPath, true, false));
    std::atomic<bool> returned{false};
    bool result = true;
    std::thread reader([&] {
        uint8_t buffer[3];
        size_t n = 0;
        result = hid.Read(buffer, sizeof buffer, n, HidInterface::kNoTimeLimit);
        returned = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(returned);
    const auto start = Clock::now();
    hid.Close();  // returns only after the reader's call has let go of the interface
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
    reader.join();
    EXPECT_TRUE(returned);
    EXPECT_FALSE(result);
    EXPECT_FALSE(hid.IsOpen());
    // The interface opens and reads again after the cancel.
    ASSERT_TRUE(hid.Open(kEventPath, true, false));
    DeviceSends({0x03, 0x01, 0x04}, m_device);
    uint8_t buffer[3];
    size_t n = 0;
    EXPECT_TRUE(hid.Read(buffer, sizeof buffer, n, 1000));
}

TEST_F(HidInterfaceTest, ReadKeepsOnlyReportsOfItsCollection)
{
    HidInterface events(m_backend);
    ASSERT_TRUE(events.Open(kEventPath, true, false));
    DeviceSends({0x04, 0xAA, 0xBB}, m_device);  // vendor reply: not for the event collection
    DeviceSends({0x01, 0x01, 0x00, 0x00, 0x00, 0x00}, m_device);
    DeviceSends({0x03, 0x02, 0x04}, m_device);
    uint8_t buffer[8];
    size_t n = 0;
    ASSERT_TRUE(events.Read(buffer, sizeof buffer, n, 1000));
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 8), (std::vector<uint8_t>{0x03, 0x02, 0x04, 0, 0, 0, 0, 0}));
    ASSERT_TRUE(events.DecodeInputReport(buffer, n));
    EXPECT_EQ(events.EventCode(), 0x0402);
    EXPECT_FALSE(events.DecodeInputReport(std::vector<uint8_t>{0x04, 0x01}.data(), 2));
    // Only foreign reports until the limit: failure, within the limit.
    DeviceSends({0x02, 0x01}, m_device);
    const auto start = Clock::now();
    EXPECT_FALSE(events.Read(buffer, sizeof buffer, n, 300));
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(2));
}

// With one collection there is no other reader to keep reports from: the
// headset's command replies (ID 4) reach its only collection.
TEST_F(HidInterfaceTest, ASingleCollectionGetsEveryReportOfItsNode)
{
    HidNode node;
    node.devicePath = "sock:single";
    node.reportDescriptor = TestDescriptors::SingleCollectionWithIds();
    const UniqueFd device = m_backend.AddNode(node);
    HidInterface hid(m_backend);
    ASSERT_TRUE(hid.Open("sock:single#vid_0c76&pid_1630&mi_03", true, true));
    EXPECT_EQ(hid.InputReportLength(), 3);
    EXPECT_EQ(hid.OutputReportLength(), 17);
    DeviceSends(std::vector<uint8_t>(64, 0x04), device);
    uint8_t buffer[64];
    size_t n = 0;
    ASSERT_TRUE(hid.Read(buffer, sizeof buffer, n, 1000));
    EXPECT_EQ(n, 64u);
    EXPECT_FALSE(hid.DecodeInputReport(buffer, n));  // not one of its declared inputs
    DeviceSends({0x01, 0xE9, 0x00}, device);
    ASSERT_TRUE(hid.Read(buffer, sizeof buffer, n, 1000));
    ASSERT_TRUE(hid.DecodeInputReport(buffer, n));
    EXPECT_EQ(hid.EventCode(), 0x00E9);
}

TEST_F(HidInterfaceTest, ReportsWithoutIdsGetAZeroIdByte)
{
    HidInterface hid(m_backend);
    ASSERT_TRUE(hid.Open(kPlainPath, true, true));
    DeviceSends({0xE9, 0x00, 1, 2, 3, 4, 5, 6}, m_plainDevice);
    uint8_t buffer[9];
    size_t n = 0;
    ASSERT_TRUE(hid.Read(buffer, sizeof buffer, n, 1000));
    EXPECT_EQ(n, 9u);
    EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 9), (std::vector<uint8_t>{0, 0xE9, 0x00, 1, 2, 3, 4, 5, 6}));
    ASSERT_TRUE(hid.DecodeInputReport(buffer, n));
    EXPECT_EQ(hid.EventCode(), 0x00E9);

    // A report longer than the caller's buffer is cut to it.
    DeviceSends(std::vector<uint8_t>(40, 0x11), m_plainDevice);
    ASSERT_TRUE(hid.Read(buffer, sizeof buffer, n, 1000));
    EXPECT_EQ(n, 9u);

    // Output reports go out as given, report ID byte first.
    const std::vector<uint8_t> light = {0x00, 1, 2, 3};
    size_t written = 0;
    ASSERT_TRUE(hid.Write(light.data(), light.size(), written, 1000));
    EXPECT_EQ(written, light.size());
    ASSERT_TRUE(hid.SetOutputReport(light.data(), light.size()));
    uint8_t got[16];
    EXPECT_EQ(::read(m_plainDevice.Get(), got, sizeof got), 4);
    EXPECT_EQ(::read(m_plainDevice.Get(), got, sizeof got), 4);
}

TEST_F(HidInterfaceTest, ReadFailsWhenTheDeviceGoesAway)
{
    HidInterface hid(m_backend);
    ASSERT_TRUE(hid.Open(kCommandPath, true, true));
    m_device.Reset();
    uint8_t buffer[64];
    size_t n = 0;
    const auto start = Clock::now();
    EXPECT_FALSE(hid.Read(buffer, sizeof buffer, n, HidInterface::kNoTimeLimit));
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(3));
    size_t written = 0;
    EXPECT_FALSE(hid.Write(buffer, sizeof buffer, written, 1000));
}

} // namespace
