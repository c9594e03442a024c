#include "hid/DeviceRecognizer.h"
#include "hid/HidEnumerator.h"
#include "hid/HidPath.h"
#include "hid/SupportedDeviceTable.h"

#include "SocketHidBackend.h"
#include "TestDescriptors.h"

#include <gtest/gtest.h>

namespace {

using K = DeviceKind;

TEST(SupportedDeviceTable, RowsAreTheSupportedInterfacesInOrder)
{
    struct Row {
        uint16_t vid, pid, mi, col;
        DeviceKind kind;
        uint16_t role, page, usage, paired, partner;
    };
    const Row expected[] = {
        {0x320F, 0x0000, 1, 4, K::Keyboard, 0x00, 0xFF1C, 0x92, 1, 2},
        {0x320F, 0x0000, 1, 3, K::Keyboard, 0xFF, 0x000C, 0x01, 1, 3},
        {0x320F, 0x0000, 1, 4, K::KeyboardReceiver, 0x00, 0xFF1C, 0x92, 1, 0},
        {0x320F, 0x0000, 1, 3, K::KeyboardReceiver, 0xFF, 0x000C, 0x01, 1, 1},
        {0x320F, 0x221C, 1, 4, K::Mouse, 0x00, 0xFF1C, 0x92, 1, 6},
        {0x320F, 0x221C, 1, 3, K::Mouse, 0xFF, 0x000C, 0x01, 1, 7},
        {0x320F, 0x222F, 1, 4, K::MouseReceiver, 0x00, 0xFF1C, 0x92, 1, 4},
        {0x320F, 0x222F, 1, 3, K::MouseReceiver, 0xFF, 0x000C, 0x01, 1, 5},
        {0x320F, 0x1004, 1, 4, K::MousePad, 0x00, 0xFF1C, 0x92, 0, 0},
        {0x320F, 0x1004, 1, 3, K::MousePad, 0xFF, 0x000C, 0x01, 0, 0},
        {0x0C76, 0x1630, 3, 0, K::Headset, 0x00, 0x000C, 0x01, 0, 0},
    };
    const auto& rows = SupportedDeviceTable::Rows();
    ASSERT_EQ(rows.size(), std::size(expected));
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        const auto& r = rows[i];
        const auto& e = expected[i];
        EXPECT_EQ(r.vendorId, e.vid);
        EXPECT_EQ(r.productId, e.pid);
        EXPECT_EQ(r.interfaceNumber, e.mi);
        EXPECT_EQ(r.collectionNumber, e.col);
        EXPECT_EQ(r.kind, e.kind);
        EXPECT_EQ(r.role, e.role);
        EXPECT_EQ(r.usagePage, e.page);
        EXPECT_EQ(r.usage, e.usage);
        EXPECT_EQ(r.paired, e.paired);
        EXPECT_EQ(r.partner, e.partner);
        EXPECT_EQ(r.connected, 0);
        EXPECT_TRUE(r.path.empty());
    }
}

TEST(SupportedDeviceTable, IdentityIgnoresPathAndConnectedButNotKind)
{
    DeviceSlot a{SupportedDeviceTable::Row(0)};
    DeviceSlot b{SupportedDeviceTable::Row(0)};
    b.Take("/dev/hidraw1#vid_320f&pid_0000&mi_01&col04");
    EXPECT_TRUE(SameIdentity(a, b));
    EXPECT_FALSE(SameIdentity(SupportedDeviceTable::Row(0), SupportedDeviceTable::Row(2)));
}

TEST(HidPath, MarkersParseInAnyCase)
{
    struct Case {
        const char* path;
        uint16_t vid, pid, mi, col;
    };
    const Case cases[] = {
        {"/dev/hidraw3#vid_320f&pid_221c&mi_01&col04", 0x320F, 0x221C, 1, 4},
        {"\\\\?\\HID#VID_320F&PID_221C&MI_01&COL04#7&1a2b", 0x320F, 0x221C, 1, 4},
        {"/dev/hidraw9#vid_0c76&pid_1630&mi_03", 0x0C76, 0x1630, 3, 0},
        {"/dev/hidraw0", 0, 0, 0, 0},
        {"x#vid_&pid_zz&mi_1g&col", 0, 0, 1, 0},
        {"x#vid_123456789&pid_0001", 0x6789, 1, 0, 0},  // low 16 bits
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(HidPath::VendorId(c.path), c.vid);
        EXPECT_EQ(HidPath::ProductId(c.path), c.pid);
        EXPECT_EQ(HidPath::InterfaceNumber(c.path), c.mi);
        EXPECT_EQ(HidPath::CollectionNumber(c.path), c.col);
    }
    EXPECT_EQ(HidPath::Make("/dev/hidraw3", 0x320F, 0x221C, 1, 4), "/dev/hidraw3#vid_320f&pid_221c&mi_01&col04");
    EXPECT_EQ(HidPath::Make("sim:headset", 0x0C76, 0x1630, 3, 0), "sim:headset#vid_0c76&pid_1630&mi_03");
    EXPECT_EQ(HidPath::NodePart("sim:mouse#vid_320f"), "sim:mouse");
}

TEST(DeviceRecognizer, PreMatchNeedsATableRowAndAFreeSlot)
{
    auto slots = SupportedDeviceTable::MakeSlots();
    const std::string command = "n#vid_320f&pid_221c&mi_01&col04";
    EXPECT_TRUE(DeviceRecognizer::PreMatch(command, slots));
    EXPECT_FALSE(DeviceRecognizer::PreMatch("n#vid_320f&pid_221c&mi_01&col02", slots));
    EXPECT_FALSE(DeviceRecognizer::PreMatch("n#vid_1234&pid_221c&mi_01&col04", slots));
    slots[4].Take(command);
    EXPECT_FALSE(DeviceRecognizer::PreMatch(command, slots));
}

TEST(DeviceRecognizer, ChoosesTheFirstFreeSlotWithTheSameSixValues)
{
    struct Case {
        const char* name;
        InterfaceIdentity identity;
        std::vector<size_t> taken;  // slots already holding an interface
        std::optional<size_t> slot;
    };
    const InterfaceIdentity keyboardCommand{0x320F, 0x0000, 1, 4, 0xFF1C, 0x92};
    const Case cases[] = {
        {"first keyboard", keyboardCommand, {}, 0},
        {"second keyboard", keyboardCommand, {0}, 2},
        {"third keyboard", keyboardCommand, {0, 2}, std::nullopt},
        {"mouse consumer", {0x320F, 0x221C, 1, 3, 0x000C, 0x01}, {}, 5},
        {"headset", {0x0C76, 0x1630, 3, 0, 0x000C, 0x01}, {}, 10},
        {"wrong usage", {0x320F, 0x221C, 1, 4, 0xFF00, 0x01}, {}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto slots = SupportedDeviceTable::MakeSlots();
        for (size_t t : c.taken)
            slots[t].Take("busy");
        EXPECT_EQ(DeviceRecognizer::ChooseSlot(c.identity, slots), c.slot);
        EXPECT_EQ(DeviceRecognizer::FullMatch(c.identity).has_value(), c.name != std::string("wrong usage"));
    }
}

// Whole recognition over a backend: the listed paths of two keyboards, a mouse
// and a headset fill their slots; the mouse's consumer collection is row 5.
TEST(DeviceRecognizer, RecognizesListedInterfaces)
{
    SocketHidBackend backend;
    std::vector<UniqueFd> deviceEnds;
    auto add = [&](const char* path, uint16_t vid, uint16_t pid, uint16_t mi, std::vector<uint8_t> descriptor) {
        HidNode node;
        node.devicePath = path;
        node.vendorId = vid;
        node.productId = pid;
        node.interfaceNumber = mi;
        node.reportDescriptor = std::move(descriptor);
        deviceEnds.push_back(backend.AddNode(node));
    };
    add("a:keyboard", 0x320F, 0x0000, 1, TestDescriptors::ProductInterface());
    add("b:keyboard", 0x320F, 0x0000, 1, TestDescriptors::ProductInterface());
    add("c:mouse", 0x320F, 0x221C, 1, TestDescriptors::ProductInterface());
    // The headset's single consumer collection, without report IDs.
    add("d:headset", 0x0C76, 0x1630, 3, TestDescriptors::NoIdInterface());

    HidEnumerator list(backend);
    ASSERT_TRUE(list.Enumerate());
    EXPECT_EQ(list.Count(), 13u);
    auto slots = SupportedDeviceTable::MakeSlots();
    while (auto path = list.NextPath())
        DeviceRecognizer::Recognize(*path, slots, backend);
    list.ReleaseList();
    EXPECT_EQ(list.Count(), 0u);

    const std::pair<size_t, const char*> filled[] = {
        {0, "a:keyboard#vid_320f&pid_0000&mi_01&col04"}, {1, "a:keyboard#vid_320f&pid_0000&mi_01&col03"},
        {2, "b:keyboard#vid_320f&pid_0000&mi_01&col04"}, {3, "b:keyboard#vid_320f&pid_0000&mi_01&col03"},
        {4, "c:mouse#vid_320f&pid_221c&mi_01&col04"},    {5, "c:mouse#vid_320f&pid_221c&mi_01&col03"},
        {10, "d:headset#vid_0c76&pid_1630&mi_03"},
    };
    for (const auto& [slot, path] : filled) {
        SCOPED_TRACE(slot);
        EXPECT_EQ(slots[slot].connected, 1);
        EXPECT_EQ(slots[slot].path, path);
    }
    for (size_t slot : {6u, 7u, 8u, 9u})
        EXPECT_TRUE(slots[slot].IsFree()) << slot;
}

} // namespace
