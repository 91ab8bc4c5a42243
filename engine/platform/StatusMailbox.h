#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "platform/Progress.h"

namespace quorvane {

// The newest progress of a running worker, held for the front end to collect. The worker
// writes (the text under a short lock, the count as an atomic) and never waits for the front
// end; the front end polls on a timer, every 50 ms or so, and shows what it finds. Texts that
// arrive between two polls are replaced by the newer one: the newest is never lost, and the
// status bar shows it at the next poll.
class TStatusMailbox final : public IProgress {
public:
    void Status(std::string_view text) override;
    void Count(uint64_t count) override { FCount.store(count, std::memory_order_relaxed); }

    // Front end: copies the newest text into `text` when it changed since the last take, and
    // says whether it did.
    bool TakeStatus(std::string& text);
    uint64_t Count() const { return FCount.load(std::memory_order_relaxed); }

private:
    std::mutex FMutex;
    std::string FText;          // guarded by FMutex
    uint64_t FVersion = 0;      // guarded by FMutex; bumped by every Status
    uint64_t FTakenVersion = 0; // read and written by the front end only, under FMutex
    std::atomic<uint64_t> FCount{0};
};

} // namespace quorvane
