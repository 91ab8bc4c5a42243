#include "testsupport/DeepChain.h"

#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane::test {

TDeepChain::TDeepChain(const std::string& folder, int depth) : FDepth(depth), FBottom(folder) {
    if (FBottom.back() != '/')
        FBottom += '/';
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (int level = 0; fd >= 0 && level < depth; ++level) {
        const int child = ::mkdirat(fd, "d", 0755) == 0
                              ? ::openat(fd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC)
                              : -1;
        ::close(fd);
        fd = child;
        FBottom += "d/";
    }
    if (fd < 0)
        throw std::runtime_error("cannot build a deep chain below " + folder);
    FBottomFd = fd;
}

TDeepChain::~TDeepChain() {
    for (std::size_t at = 0; at < FNames.size(); at = FNames.find('\0', at) + 1)
        ::unlinkat(FBottomFd, FNames.c_str() + at, 0);
    int fd = FBottomFd;
    for (int level = 0; fd >= 0 && level < FDepth; ++level) {
        const int parent = ::openat(fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(fd);
        if (parent >= 0)
            ::unlinkat(parent, "d", AT_REMOVEDIR);
        fd = parent;
    }
    if (fd >= 0)
        ::close(fd);
}

std::string TDeepChain::WriteFile(const std::string& name, std::string_view contents) {
    const int fd =
        ::openat(FBottomFd, name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    const bool written = fd >= 0 && ::write(fd, contents.data(), contents.size()) ==
                                        static_cast<ssize_t>(contents.size());
    if (fd >= 0)
        ::close(fd);
    if (!written)
        throw std::runtime_error("cannot write " + name + " in a deep chain");
    FNames.append(name).push_back('\0');
    return FBottom + name;
}

} // namespace quorvane::test
