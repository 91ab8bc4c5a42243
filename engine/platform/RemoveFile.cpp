#include "platform/RemoveFile.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace quorvane {

std::string RemoveFile(const std::string& fullName) {
    if (::unlink(fullName.c_str()) != 0)
        return std::strerror(errno);
    return {};
}

} // namespace quorvane
