#include "platform/AtomicFile.h"

#include "platform/UniqueFd.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <system_error>

bool WriteFileAtomically(const std::filesystem::path& path, std::string_view data)
{
    std::error_code ec;
    const auto folder = path.parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, ec);

    std::string temp = path.string() + ".XXXXXX";
    UniqueFd fd(::mkstemp(temp.data()));
    if (!fd)
        return false;
    bool ok = true;
    size_t done = 0;
    while (ok && done < data.size()) {
        const ssize_t n = ::write(fd.Get(), data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            ok = false;
        else
            done += static_cast<size_t>(n);
    }
    // mkstemp makes the file 0600; give it the usual mode of a user file.
    ok = ok && ::fchmod(fd.Get(), 0644) == 0 && ::fsync(fd.Get()) == 0;
    ok = ::close(fd.Release()) == 0 && ok;
    if (ok)
        ok = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}
