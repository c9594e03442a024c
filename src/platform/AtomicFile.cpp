#include "platform/AtomicFile.h"

#include "platform/UniqueFd.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <random>
#include <string>
#include <system_error>

namespace {

bool WriteAll(int fd, std::string_view bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

void SyncFolder(const std::filesystem::path& folder)
{
    UniqueFd dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir)
        ::fsync(dir.Get());
}

// A new file in the target's folder, created with the usual permissions (0666
// less the umask), or the old file's permissions when it exists.
UniqueFd CreateTempBeside(const std::filesystem::path& path, std::string& temp)
{
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    for (int attempt = 0; attempt < 16; ++attempt) {
        char suffix[48];
        std::snprintf(suffix, sizeof suffix, ".%d.%u.%08x", static_cast<int>(::getpid()), counter++, random());
        temp = (path.parent_path() / ("." + path.filename().string() + suffix)).string();
        UniqueFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
        if (!fd) {
            if (errno == EEXIST)
                continue;
            return {};
        }
        struct stat old {};
        if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
            ::fchmod(fd.Get(), old.st_mode & 07777);
        return fd;
    }
    return {};
}

} // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view data)
{
    if (path.filename().empty())
        return false;
    std::string temp;
    UniqueFd fd = CreateTempBeside(path, temp);
    if (!fd)
        return false;
    const bool written = WriteAll(fd.Get(), data) && ::fsync(fd.Get()) == 0;
    const bool closed = ::close(fd.Release()) == 0;
    if (!written || !closed || ::rename(temp.c_str(), path.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    SyncFolder(path.parent_path());
    return true;
}

bool WriteFileAtomicallyCreatingFolder(const std::filesystem::path& path, std::string_view data)
{
    std::error_code ec;
    if (!path.parent_path().empty())
        std::filesystem::create_directories(path.parent_path(), ec);
    return WriteFileAtomically(path, data);
}
