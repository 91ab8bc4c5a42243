#include "platform/LongPathOpen.h"

#include <cerrno>
#include <climits>

#include <fcntl.h>
#include <unistd.h>

namespace quorvane {

int OpenLongPath(const std::string& path, int flags) {
    const int file = ::open(path.c_str(), flags);
    if (file >= 0 || errno != ENAMETOOLONG)
        return file;

    int folder = AT_FDCWD;
    const auto closeFolder = [&folder] {
        if (folder != AT_FDCWD) {
            const int saved = errno;
            ::close(folder);
            errno = saved;
        }
    };
    std::size_t start = 0;
    while (path.size() - start >= PATH_MAX) {
        // The longest stretch that ends with "/" and still fits the limit with its zero byte.
        const std::size_t cut = path.rfind('/', start + PATH_MAX - 2);
        if (cut == std::string::npos || cut < start) { // one name alone is too long
            closeFolder();
            errno = ENAMETOOLONG;
            return -1;
        }
        const std::string stretch = path.substr(start, cut - start + 1);
        const int next = ::openat(folder, stretch.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        closeFolder();
        if (next < 0)
            return -1;
        folder = next;
        start = cut + 1;
    }
    const int opened = ::openat(folder, path.c_str() + start, flags);
    closeFolder();
    return opened;
}

} // namespace quorvane
