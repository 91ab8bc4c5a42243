#include "duplicates/HashFiles.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "duplicates/Checksums.h"

namespace quorvane {
namespace {

// Beyond four readers a disk gains little, and a spinning one loses to seeking.
constexpr unsigned MaxReaders = 4;

unsigned ReaderCount(std::size_t count) {
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    return static_cast<unsigned>(std::min<std::size_t>(count, std::min(cores, MaxReaders)));
}

} // namespace

void ReadInParallel(std::size_t count, const std::function<void(std::size_t)>& work,
                    const std::function<bool()>& stopped) {
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr failure;
    std::mutex failureMutex;

    const auto read = [&] {
        try {
            while (!failed.load(std::memory_order_relaxed) && !stopped()) {
                const std::size_t i = next.fetch_add(1, std::memory_order_relaxed);
                if (i >= count)
                    return;
                work(i);
            }
        } catch (...) {
            std::lock_guard lock(failureMutex);
            if (!failure)
                failure = std::current_exception();
            failed = true;
        }
    };

    const unsigned readers = ReaderCount(count);
    std::vector<std::thread> helpers;
    helpers.reserve(readers);
    try {
        for (unsigned i = 1; i < readers; ++i)
            helpers.emplace_back(read);
    } catch (const std::system_error&) {
        // No more threads to be had: the ones running and this one share the files.
    }
    read();
    for (std::thread& helper : helpers)
        helper.join();
    if (failure)
        std::rethrow_exception(failure);
}

void ComputeChecksums(std::span<TFile* const> files, TCompareMode mode,
                      const std::function<bool()>& stopped) {
    ReadInParallel(
        files.size(),
        [&](std::size_t i) {
            // A file whose reading a stop cut short keeps what it had.
            const TChecksum checksum = FileCheckSum(files[i]->FullName(), mode, stopped);
            if (!stopped())
                files[i]->Checksum = checksum;
        },
        stopped);
}

} // namespace quorvane
