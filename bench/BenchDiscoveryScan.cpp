// The cost of one discovery pass (the discovery thread runs one every 100 ms):
// over a sysfs tree laid out like a desktop's, and over the emulator with the
// five products plugged.
#include "devices/DiscoveryScan.h"
#include "hid/HidEnumerator.h"
#include "hid/SysfsHidBackend.h"
#include "sim/SimDescriptors.h"
#include "sim/SimHidBackend.h"

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int kNodes = 12;  // keyboard, mouse, webcam, headset... of a desktop

void Write(const fs::path& file, const std::string& text)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

// USB HID devices, one hidraw node each, none of them a supported product
// but the last one (the wired mouse).
class FakeDesktop {
public:
    FakeDesktop() : m_root(fs::temp_directory_path() / ("gd-bench-sysfs-" + std::to_string(::getpid())))
    {
        fs::remove_all(m_root);
        fs::create_directories(m_root / "sys" / "class" / "hidraw");
        fs::create_directories(m_root / "dev");
        const auto descriptor = SimDescriptors::For(SimProductKind::Mouse);
        const std::string bytes(descriptor.begin(), descriptor.end());
        for (int i = 0; i < kNodes; ++i) {
            const bool supported = i == kNodes - 1;
            char product[8];
            std::snprintf(product, sizeof product, "%04X", supported ? 0x221C : 0x1000 + i);
            const std::string vendor = supported ? "320F" : "046D";
            const fs::path usb = m_root / "sys" / "devices" / "pci0000:00" / "0000:00:14.0" / "usb1"
                                 / ("1-" + std::to_string(i + 1));
            Write(usb / "bcdDevice", "0105\n");
            const fs::path interface = usb / ("1-" + std::to_string(i + 1) + ":1.1");
            Write(interface / "bInterfaceNumber", "01\n");
            const fs::path hid = interface / ("0003:" + vendor + ":" + product + "." + std::to_string(1000 + i));
            Write(hid / "uevent", "DRIVER=hid-generic\nHID_ID=0003:0000" + vendor + ":0000" + product
                                      + "\nHID_NAME=Bench device\nHID_PHYS=usb-0000:00:14.0-1/input1\n");
            Write(hid / "report_descriptor", bytes);
            const std::string name = "hidraw" + std::to_string(i);
            const fs::path classDir = hid / "hidraw" / name;
            fs::create_directories(classDir);
            fs::create_directory_symlink(hid, classDir / "device");
            fs::create_directory_symlink(classDir, m_root / "sys" / "class" / "hidraw" / name);
            Write(m_root / "dev" / name, "");
        }
    }
    ~FakeDesktop() { fs::remove_all(m_root); }

    std::string Sys() const { return (m_root / "sys").string(); }
    std::string Dev() const { return (m_root / "dev").string(); }

private:
    fs::path m_root;
};

void BM_SysfsListNodes(benchmark::State& state)
{
    FakeDesktop tree;
    SysfsHidBackend backend(tree.Sys(), tree.Dev());
    for (auto _ : state)
        benchmark::DoNotOptimize(backend.ListNodes());
}
BENCHMARK(BM_SysfsListNodes);

void BM_SysfsEnumerate(benchmark::State& state)
{
    FakeDesktop tree;
    SysfsHidBackend backend(tree.Sys(), tree.Dev());
    HidEnumerator list(backend);
    for (auto _ : state)
        benchmark::DoNotOptimize(list.Enumerate());
}
BENCHMARK(BM_SysfsEnumerate);

// Fill and Probe with the supported mouse attached: what the thread does per pass.
void BM_SysfsDiscoveryPass(benchmark::State& state)
{
    FakeDesktop tree;
    SysfsHidBackend backend(tree.Sys(), tree.Dev());
    DiscoveryScan scan(backend);
    scan.Fill({});
    for (auto _ : state) {
        scan.Fill({});
        scan.Probe({});
    }
}
BENCHMARK(BM_SysfsDiscoveryPass);

void BM_SimDiscoveryPass(benchmark::State& state)
{
    SimHidBackend sim({SimProductKind::Mouse, SimProductKind::MouseReceiver, SimProductKind::Keyboard,
                       SimProductKind::MousePad, SimProductKind::Headset});
    DiscoveryScan scan(sim);
    scan.Fill({});
    for (auto _ : state) {
        scan.Fill({});
        scan.Probe({});
    }
}
BENCHMARK(BM_SimDiscoveryPass);

} // namespace

BENCHMARK_MAIN();
