#include "platform/DebugLog.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>

namespace {

std::mutex g_sinkMutex;

void StderrSink(std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fputc('\n', stderr);
}

DebugSink& Sink()
{
    static DebugSink sink = [] {
        const char* env = std::getenv("GAMING_DEVICE_DEBUG");
        return (env && *env && std::string_view(env) != "0") ? DebugSink(StderrSink) : DebugSink();
    }();
    return sink;
}

} // namespace

void SetDebugSink(DebugSink sink)
{
    std::lock_guard lock(g_sinkMutex);
    Sink() = std::move(sink);
}

void EnableDebugToStderr() { SetDebugSink(StderrSink); }

bool DebugOutputEnabled()
{
    std::lock_guard lock(g_sinkMutex);
    return static_cast<bool>(Sink());
}

void DebugOutput(std::string_view text)
{
    std::lock_guard lock(g_sinkMutex);
    if (auto& sink = Sink())
        sink(text);
}
