#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include <unicode/locid.h>

namespace quorvane {

// A locale chosen by ICU name ("de", "sv_SE", ...), or the user's own from the environment when
// the name is empty. Shared by every thread; the tests choose one, the program keeps the user's.
class TLocaleChoice {
public:
    void Set(const std::string& name);
    // The chosen locale. The C and POSIX locales (ICU's en_US_POSIX) give the root locale:
    // en_US_POSIX collation tells case apart and its numbers carry no grouping.
    icu::Locale Get() const;
    // Changes with every Set, so that threads can tell when to remake what they made for it.
    unsigned Generation() const { return FGeneration.load(std::memory_order_acquire); }

private:
    mutable std::mutex FMutex;
    std::string FName; // guarded by FMutex
    std::atomic<unsigned> FGeneration{1};
};

// The calling thread's own object for the current choice, made by `make` (which returns a
// std::unique_ptr<T>) at first use and again after every change of the choice. ICU's
// formatters and collators are not meant to be shared across threads.
template <class T, class TMake> T& ThreadObjectFor(const TLocaleChoice& choice, TMake make) {
    thread_local std::unique_ptr<T> object;
    thread_local unsigned generation = 0;
    const unsigned current = choice.Generation();
    if (!object || generation != current) {
        object = make();
        generation = current;
    }
    return *object;
}

} // namespace quorvane
