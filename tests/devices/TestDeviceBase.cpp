#include "ModelTestSupport.h"

#include "devices/VarnokHS6533Device.h"
#include "devices/VarnokKeyboardDevice.h"
#include "devices/VarnokMouseDevice.h"
#include "devices/VarnokMousePadDevice.h"
#include "hid/ReportFrame.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace modeltest;

namespace {

struct TabObserver : DevicePageObserver {
    void SelectFunctionTabs(int f, int k) override
    {
        function = f;
        key = k;
    }
    int function = -9;
    int key = -9;
};

struct EditorObserver : DevicePageObserver {
    void RefreshPage(CVarnokUSBDevice&) override { ++refreshes; }
    void LightingEditorState(const LightInfoRecord& light) override { editor.push_back(light); }
    int refreshes = 0;
    std::vector<LightInfoRecord> editor;
};

// Every kind, and the bare base, made on one emulator.
struct KindCase {
    const char* name;
    std::function<std::unique_ptr<CVarnokUSBDevice>(SimHidBackend&)> make;
};

template <class Device>
KindCase Kind(const char* name)
{
    return {name, [](SimHidBackend& sim) { return std::make_unique<Device>(sim); }};
}

const std::vector<KindCase>& AllKinds()
{
    static const std::vector<KindCase> kinds = {
        Kind<CVarnokMouseDevice>("mouse"),   Kind<CVarnokKeyboardDevice>("keyboard"),
        Kind<CVarnokMousePadDevice>("pad"),  Kind<CVarnokHS6533Device>("headset"),
        Kind<CVarnokUSBDevice>("base"),
    };
    return kinds;
}

TEST(DeviceBaseTest, RefreshLoadsTheModelsEffectCodesAndGivesTheEditorTheLightInfo)
{
    DataSandbox data;
    data.SetEffectCodes({0, 7, 3}, 0);
    data.SetEffectCodes({5, 6}, 2);
    SimHidBackend sim;
    for (const KindCase& kind : AllKinds()) {
        for (int model : {0, 2}) {
            SCOPED_TRACE(testing::Message() << kind.name << " model " << model);
            auto device = kind.make(sim);
            EditorObserver page;
            device->SetDataFolders(data.Folders());
            device->SetPageObserver(&page);
            CBasicProfiledata* profile = device->ProfileData();
            if (profile)
                profile->SetDeviceIndex(3);
            device->SetModelIndex(model);
            LightInfoRecord light;
            light.selectItem = 2;
            light.red = 40;
            device->SetLightInfoRecord(light);

            device->RefreshPage();
            EXPECT_EQ(device->GetModelIndex(), model);
            EXPECT_EQ(page.refreshes, 1);
            if (!profile) {  // no profile data: no editor and no effect codes
                EXPECT_TRUE(page.editor.empty());
                EXPECT_TRUE(device->LightValues().Codes().empty());
                continue;
            }
            EXPECT_EQ(profile->GetDeviceIndex(), 0);
            const std::vector<int> codes = model == 0 ? std::vector<int>{0, 7, 3} : std::vector<int>{5, 6};
            EXPECT_EQ(device->LightValues().Codes(), codes);
            ASSERT_EQ(page.editor.size(), 1u);
            EXPECT_EQ(page.editor[0], light);
        }
    }
}

TEST(DeviceBaseTest, SetLightInfoStoresIntoThePreviewAndTheProfile)
{
    SimHidBackend sim;
    const LightInfoRecord light{.selectItem = 1, .light = 3, .red = 11, .green = 22, .customGroup = 4};
    for (const KindCase& kind : AllKinds()) {
        SCOPED_TRACE(kind.name);
        auto device = kind.make(sim);
        device->SetLedCount(13);
        device->SetLightInfo(CVarnokUSBDevice::PackLightInfo(light));
        EXPECT_EQ(device->GetLightInfoRecord(), light);
        if (device->Preview()) {
            EXPECT_EQ(device->Preview()->LightState().red, 11);
        }
        if (CBasicProfiledata* profile = device->ProfileData()) {
            EXPECT_EQ(profile->ReadLightInfo(), light);
        }
    }
}

TEST(DeviceBaseTest, FunctionPagesSelectTabsByKind)
{
    struct Case {
        DeviceKind kind;
        int page, function, key;
    };
    const Case cases[] = {
        {DeviceKind::Mouse, 2, 0, 1},    {DeviceKind::Mouse, 8, 1, -1},  {DeviceKind::Mouse, 4, 3, -1},
        {DeviceKind::MousePad, 4, 0, 2}, {DeviceKind::Mouse, 7, 0, 2},   {DeviceKind::Mouse, 5, 2, -1},
        {DeviceKind::Keyboard, 9, 0, 0},
    };
    SimHidBackend sim;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "page " << c.page << " kind " << int(c.kind));
        CVarnokUSBDevice device(sim, c.kind);
        TabObserver tabs;
        device.SetPageObserver(&tabs);
        device.ShowFunctionPage(c.page);
        EXPECT_EQ(device.GetFunctionPage(), c.page);
        EXPECT_EQ(tabs.function, c.function);
        EXPECT_EQ(tabs.key, c.key);
    }
}

TEST(DeviceBaseTest, LightControlIsSentOnlyByAKeyboardWhenSwitchedOn)
{
    struct Case {
        SimProductKind product;
        DeviceKind kind;
        int flag;
        size_t sent;
    };
    const Case cases[] = {
        {SimProductKind::Keyboard, DeviceKind::Keyboard, 1, 1},
        {SimProductKind::Keyboard, DeviceKind::Keyboard, 0, 0},
        {SimProductKind::Mouse, DeviceKind::Mouse, 1, 0},
    };
    SimHidBackend sim{{SimProductKind::Keyboard, SimProductKind::Mouse}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << SimKindName(c.product) << " flag " << c.flag);
        CVarnokUSBDevice device(sim, c.kind);
        const auto slot = CommandSlot(sim, c.product);
        ASSERT_TRUE(slot.has_value());
        ASSERT_TRUE(DeviceAttach::Attach(device.ChannelA(), *slot));
        sim.Product(c.product).Trace().Clear();
        device.SetLightControl(c.flag);
        EXPECT_EQ(device.LightControl(), c.flag);
        size_t sent = 0;
        for (const auto& e : sim.Product(c.product).Trace().Entries(SimDirection::HostToDevice))
            sent += e.bytes[ReportFrame::kCommandOffset] == kCmdLightControl;
        EXPECT_EQ(sent, c.sent);
    }
}

TEST(DeviceBaseTest, UnsetLayoutBindsNothingAndLedIndicesAreChecked)
{
    SimHidBackend sim;
    CVarnokUSBDevice device(sim);
    device.SetKeyCount(11);
    device.SetLedCount(4);
    device.InitPage();
    EXPECT_EQ(device.KeyCount(), 0);
    EXPECT_EQ(device.LedCount(), 0);

    device.SetPageLayoutPath("mousedevice.xml");
    device.SetLedCount(3);
    device.SetLedColour(2, 0x11223344u);
    device.SetLedColour(3, 0x55u);
    device.SetLedColour(-1, 0x55u);
    EXPECT_EQ(device.GetLedColour(2), 0x11223344u);
    EXPECT_EQ(device.GetLedColour(3), 0u);
    EXPECT_EQ(device.GetLedColour(-1), 0u);
}

TEST(DeviceBaseTest, LightInfoMovesAsFourWordsAndReachesThePreview)
{
    SimHidBackend sim;
    CVarnokMousePadDevice pad(sim);
    LightInfoRecord r;
    r.selectItem = 3;
    r.light = 4;
    r.speed = 1;
    r.fx = 1;
    r.multiColor = 1;
    r.red = 9;
    r.green = 8;
    r.blue = 7;
    r.clColor = 2;
    r.customGroup = 5;
    r.oldLedMode = 6;
    const auto words = CVarnokUSBDevice::PackLightInfo(r);
    EXPECT_EQ(CVarnokUSBDevice::UnpackLightInfo(words), r);
    EXPECT_EQ(words[3] >> 16, 0u);

    CVarnokMouseDevice mouse(sim);
    mouse.SetLedCount(14);
    mouse.SetLightInfo(words);
    EXPECT_EQ(mouse.GetLightInfoRecord(), r);
    EXPECT_EQ(mouse.Profile().ReadLightInfo().red, 9);
    ASSERT_NE(mouse.Preview(), nullptr);
    EXPECT_EQ(mouse.Preview()->LightState().selectItem, 3);
}

TEST(DeviceBaseTest, PreviewPlaysTheDevicesLightListAcrossLedCountChanges)
{
    SimHidBackend sim;
    CVarnokMousePadDevice pad(sim);
    CustomEffectStep step;
    step.mode = 1;
    step.brightness = 4;
    step.red = 40;
    step.time = 1000;
    pad.SetLightList({step});
    pad.SetLedCount(15);  // a new preview over a new colour list keeps playing the same list
    ASSERT_NE(pad.Preview(), nullptr);
    pad.Preview()->RunStep(PreviewStep::LightList);
    EXPECT_EQ(pad.LedColours().Get(14), (LedColour{40, 0, 0, 255}));
}

TEST(DeviceBaseTest, ReceiverSlotGivesTheProductKindAndTrayFlagNeedsTheIndicator)
{
    SimHidBackend sim;
    CVarnokUSBDevice device(sim);
    DeviceSlot slot;
    slot.kind = DeviceKind::MouseReceiver;
    device.SetSlot(slot);
    EXPECT_EQ(device.Kind(), DeviceKind::Mouse);
    device.SetTrayFlag(1);
    EXPECT_EQ(device.TrayFlag(), 0);
    device.SetPowerIndicator(1);
    device.SetTrayFlag(1);
    EXPECT_EQ(device.TrayFlag(), 1);
}

}  // namespace
