#pragma once

#include <cstdint>
#include <string_view>

namespace quorvane {

// How a worker tells the front end where it is. The worker calls it on its own thread and goes
// straight on: an implementation must be thread-safe and must never wait for the front end
// (TStatusMailbox is the one the front ends use).
class IProgress {
public:
    virtual ~IProgress() = default;
    // The step in hand; the search reports every folder it enters, with its trailing "/".
    virtual void Status(std::string_view text) = 0;
    // How many items the stage has produced so far; the search reports the files it found.
    virtual void Count(uint64_t count) = 0;
};

} // namespace quorvane
