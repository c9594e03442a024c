#include "devices/LightingPreviewThread.h"
#include "devices/MouseLightingPreview.h"
#include "devices/PreviewTicker.h"
#include "platform/DebugLog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

std::vector<uint64_t> StepTimes(bool fine, unsigned threshold, uint64_t until, uint64_t passMs)
{
    PreviewTicker ticker(fine);
    ticker.Restart(0);
    std::vector<uint64_t> steps;
    for (uint64_t t = 0; t <= until; t += passMs)
        if (ticker.Pass(t, threshold))
            steps.push_back(t);
    return steps;
}

struct LogCapture {
    std::mutex mutex;
    std::vector<std::string> lines;
    LogCapture()
    {
        SetDebugSink([this](std::string_view text) {
            std::lock_guard lock(mutex);
            lines.emplace_back(text);
        });
    }
    ~LogCapture() { SetDebugSink({}); }
    bool Has(const std::string& text)
    {
        std::lock_guard lock(mutex);
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    }
};

} // namespace

TEST(PreviewTicker, StepsEveryThresholdTicksOfTwoMilliseconds)
{
    struct Case { bool fine; unsigned speed; uint64_t passMs; std::vector<uint64_t> expected; };
    const Case cases[] = {
        {true, 4, 1, {2, 4, 6, 8, 10, 12, 14, 16, 18, 20}},   // threshold 1: every tick
        {true, 0, 1, {20}},                                    // threshold 10: every tenth tick
        {true, 7, 1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}},
        {false, 4, 2, {14}},                                   // coarse threshold 7
        {false, 5, 2, {0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20}},
        {true, 2, 3, {12}},                                     // slow passes still count time
    };
    for (const auto& c : cases) {
        const unsigned threshold = c.fine ? PreviewTables::FineThreshold(c.speed) : PreviewTables::CoarseThreshold(c.speed);
        EXPECT_EQ(StepTimes(c.fine, threshold, 20, c.passMs), c.expected) << "fine " << c.fine << " speed " << c.speed;
    }
}

TEST(PreviewTicker, SleepsUntilTheNextStepIsDue)
{
    PreviewTicker ticker(true);
    ticker.Restart(100);
    EXPECT_EQ(ticker.WaitMs(100, 10, false), 20u);
    EXPECT_FALSE(ticker.Pass(105, 10));
    EXPECT_EQ(ticker.WaitMs(105, 10, false), 15u);
    EXPECT_TRUE(ticker.Pass(120, 10));
    EXPECT_EQ(ticker.WaitMs(120, 10, true), 1u);   // per-pass work keeps every pass
    EXPECT_EQ(ticker.WaitMs(120, 0, false), 1u);
    PreviewTicker coarse(false);
    EXPECT_EQ(coarse.WaitMs(0, 0, false), 2u);
}

TEST(PreviewThread, AnimatesWhileOpenAndWritesItsExitLine)
{
    LogCapture log;
    LedColourList leds(2);
    MouseLightingPreview preview(leds, [] { return uint64_t{0}; });
    preview.SetLightState({2, 4, 4, 1, 0, 40, 50, 60});  // static
    std::atomic<bool> open{true};
    LightingPreviewThread thread(preview, PreviewSchedule::Mouse(), {[&] { return open.load(); }, {}, {}});
    thread.Start();
    for (int i = 0; i < 300 && leds.Get(1).level == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(leds.Get(1), (LedColour{40, 50, 60, 255}));
    thread.Stop();
    EXPECT_FALSE(thread.Running());
    EXPECT_TRUE(log.Has("MS灯光线程设定退出"));
    EXPECT_TRUE(log.Has("线程退出：：对象处于激发状态"));
}

TEST(PreviewThread, ClosedChannelNeitherStepsNorDelaysTheStop)
{
    LedColourList leds(2);
    MouseLightingPreview preview(leds, [] { return uint64_t{0}; });
    preview.SetLightState({2, 4, 4, 1, 0, 40, 50, 60});
    std::atomic<int> polls{0};
    LightingPreviewThread thread(preview, PreviewSchedule::Mouse(), {[&] { ++polls; return false; }, {}, {}});
    thread.Start();
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    const auto start = std::chrono::steady_clock::now();
    thread.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
    EXPECT_EQ(leds.Get(0), LedColour{});
    EXPECT_LE(polls.load(), 10);  // 100 ms sleeps, not a busy loop
}
