#include "platform/MakeFolders.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>

namespace quorvane {

std::string MakeFolders(const std::string& folder, unsigned mode) {
    // Each prefix that ends before a "/" is a folder on the way; the last is the folder itself.
    for (std::size_t end = 1; end <= folder.size(); ++end) {
        if ((end < folder.size() && folder[end] != '/') || folder[end - 1] == '/')
            continue;
        const std::string prefix = folder.substr(0, end);
        int error = 0;
        if (::mkdir(prefix.c_str(), static_cast<mode_t>(mode)) != 0) {
            error = errno;
            struct stat st;
            if (error == EEXIST)
                error = ::stat(prefix.c_str(), &st) != 0 ? errno
                        : S_ISDIR(st.st_mode)            ? 0
                                                         : ENOTDIR;
        }
        if (error != 0)
            return "cannot create the folder " + prefix + ": " + std::strerror(error);
    }
    return {};
}

} // namespace quorvane
