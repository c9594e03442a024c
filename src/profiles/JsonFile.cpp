#include "profiles/JsonFile.h"

#include "platform/AtomicFile.h"

#include "platform/DebugLog.h"
#include "platform/UniqueFd.h"

#include <json/reader.h>
#include <json/writer.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <memory>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// Far above any document of this system; a larger file is treated as unreadable.
constexpr off_t kMaxFileSize = 64 * 1024 * 1024;

void ReportOpenResult(int error)
{
    char line[64];
    std::snprintf(line, sizeof line, "readjsonFile 错误吗：：%d\n", error);
    DebugOutput(line);
}

} // namespace

std::string ReadFileText(const std::filesystem::path& path)
{
    errno = 0;
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    ReportOpenResult(fd ? 0 : errno);
    if (!fd)
        return {};
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxFileSize)
        return {};
    const off_t size = ::lseek(fd.Get(), 0, SEEK_END);
    if (size <= 0 || size > kMaxFileSize || ::lseek(fd.Get(), 0, SEEK_SET) != 0)
        return {};
    std::string text(static_cast<size_t>(size), '\0');
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::read(fd.Get(), text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return {};
        done += static_cast<size_t>(n);
    }
    return text;
}

Json::Value ReadJsonFile(const std::filesystem::path& path)
{
    const std::string text = ReadFileText(path);
    if (text.empty()) {
        DebugOutput(path.string());
        return Json::Value();
    }
    return ParseJsonText(text);
}

bool StoreFileText(const std::filesystem::path& path, const std::string& bytes)
{
    return WriteFileAtomically(path, bytes);
}

bool StoreJsonFileChecked(const std::filesystem::path& path, const Json::Value& value)
{
    return StoreFileText(path, StyledJsonText(value));
}

int StoreJsonFile(const std::filesystem::path& path, const Json::Value& value)
{
    StoreJsonFileChecked(path, value);
    return 0;
}

std::string MakeTimeStampName()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto millis = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local {};
    localtime_r(&seconds, &local);
    char text[64];
    std::snprintf(text, sizeof text, "%d_%02d_%02d_%02d_%02d_%02d_%03d", local.tm_year + 1900, local.tm_mon + 1,
        local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(millis));
    return text;
}

std::string MakeUniqueTimeStampName(const std::function<bool(const std::string&)>& taken)
{
    std::string name = MakeTimeStampName();
    // Bounded: a fresh millisecond comes within a few tries.
    for (int attempt = 0; attempt < 1000 && taken(name); ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        name = MakeTimeStampName();
    }
    return name;
}
