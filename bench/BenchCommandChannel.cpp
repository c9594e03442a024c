// Exchanges per second through CommandChannel and HidInterface over the fd
// transport, against the emulated mouse serving on its own thread.
#include "hid/CommandChannel.h"
#include "hid/CommandSet.h"
#include "hid/HidPath.h"
#include "hid/ReportFrame.h"
#include "sim/SimHidBackend.h"

#include <benchmark/benchmark.h>

#include <time.h>

#include <cstring>

namespace {

double ProcessCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

// The emulated mouse with its command interface open on the cable link.
struct Rig {
    SimHidBackend sim{{SimProductKind::Mouse}};
    CommandChannel channel{sim};
    bool ok = false;

    Rig()
    {
        sim.Product(SimProductKind::Mouse).Trace().SetEnabled(false);
        const auto node = sim.QueryNode(SimHidBackend::NodePath(SimProductKind::Mouse));
        if (!node)
            return;
        const std::string path = HidPath::Make(node->devicePath, node->vendorId, node->productId,
                                               node->interfaceNumber, 4);
        ok = channel.Cable().Open(path, true, true, true, false);
        channel.SetMode(kChannelCable);
        channel.SetOpen(ok);
    }
};

// Process CPU (this thread and the emulator's) per exchange, in microseconds.
void ReportCounters(benchmark::State& state, double cpuStart, int64_t exchanges)
{
    const double cpu = ProcessCpuSeconds() - cpuStart;
    state.SetItemsProcessed(exchanges);
    state.counters["exchanges/s"] = benchmark::Counter(static_cast<double>(exchanges), benchmark::Counter::kIsRate);
    state.counters["process_cpu_us/exchange"] = exchanges ? cpu * 1e6 / static_cast<double>(exchanges) : 0.0;
}

void BM_Exchange(benchmark::State& state)
{
    Rig rig;
    if (!rig.ok) {
        state.SkipWithError("the emulated mouse did not open");
        return;
    }
    uint8_t command[ReportFrame::kSize] = {};
    command[0] = ReportFrame::kReportId;
    command[ReportFrame::kCommandOffset] = kCmdReadParams;
    command[ReportFrame::kLengthOffset] = 56;
    ReportFrame::StoreChecksum(command);
    uint8_t reply[ReportFrame::kSize];
    int64_t exchanges = 0;
    const double cpuStart = ProcessCpuSeconds();
    for (auto _ : state) {
        size_t n = 0;
        if (rig.channel.Exchange(command, sizeof command, reply, sizeof reply, n) != kResultOk) {
            state.SkipWithError("exchange failed");
            break;
        }
        benchmark::DoNotOptimize(reply);
        ++exchanges;
    }
    ReportCounters(state, cpuStart, exchanges);
}
BENCHMARK(BM_Exchange)->UseRealTime();

// A whole 512-byte key table read: ten reports under the command lock.
void BM_ReadKeymap(benchmark::State& state)
{
    Rig rig;
    if (!rig.ok) {
        state.SkipWithError("the emulated mouse did not open");
        return;
    }
    CommandSet commands(rig.channel);
    uint8_t table[CommandChannel::kMaxBlockSize];
    int64_t exchanges = 0;
    const double cpuStart = ProcessCpuSeconds();
    for (auto _ : state) {
        if (commands.CMD_READ_KEYMAP(table) != kResultOk) {
            state.SkipWithError("key table read failed");
            break;
        }
        benchmark::DoNotOptimize(table);
        exchanges += (CommandChannel::kMaxBlockSize + 55) / 56;
    }
    ReportCounters(state, cpuStart, exchanges);
}
BENCHMARK(BM_ReadKeymap)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
