#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <vector>

namespace quorvane {

// Called between batches of a long step on the main thread, so that a front end can handle its
// pending events (the GUI passes its event pump). May be empty.
using TPump = std::function<void()>;

// Rows handled between two calls of the pump: a few milliseconds of work at most.
inline constexpr std::size_t kRowsPerPump = 16384;

// Counts work items and calls the pump after every kRowsPerPump of them.
class TPumpCounter {
public:
    explicit TPumpCounter(const TPump& pump) : FPump(pump) {}
    void Tick() {
        if (++FCount == kRowsPerPump) {
            FCount = 0;
            if (FPump)
                FPump();
        }
    }

private:
    const TPump& FPump;
    std::size_t FCount = 0;
};

// Sorts `items` by `less` (a strict weak order) and calls the pump between batches: runs of
// kRowsPerPump items are sorted one at a time, then merged pairwise. A sorted input costs one
// pass. The result equals std::sort's for a total order.
template <class T, class Less>
void SortInBatches(std::vector<T>& items, Less less, const TPump& pump) {
    const std::size_t count = items.size();
    if (std::is_sorted(items.begin(), items.end(), less))
        return;
    const auto callPump = [&pump] {
        if (pump)
            pump();
    };
    for (std::size_t begin = 0; begin < count; begin += kRowsPerPump) {
        const std::size_t end = std::min(count, begin + kRowsPerPump);
        std::sort(items.begin() + begin, items.begin() + end, less);
        callPump();
    }
    std::vector<T> merged(count);
    for (std::size_t width = kRowsPerPump; width < count; width *= 2) {
        for (std::size_t begin = 0; begin < count; begin += 2 * width) {
            const std::size_t middle = std::min(count, begin + width);
            const std::size_t end = std::min(count, begin + 2 * width);
            std::merge(items.begin() + begin, items.begin() + middle, items.begin() + middle,
                       items.begin() + end, merged.begin() + begin, less);
            callPump();
        }
        items.swap(merged);
    }
}

} // namespace quorvane
