#pragma once

#include <unistd.h>

namespace quorvane {

// Owns an open file descriptor and closes it on every path out of a scope.
class TFileDescriptor {
public:
    explicit TFileDescriptor(int fd) : FFd(fd) {}
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;
    ~TFileDescriptor() {
        if (FFd >= 0)
            ::close(FFd);
    }

    int Get() const { return FFd; }
    // Gives the descriptor up, for a caller that closes it itself to see the result.
    int Release() {
        const int fd = FFd;
        FFd = -1;
        return fd;
    }

private:
    int FFd;
};

} // namespace quorvane
