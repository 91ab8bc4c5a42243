#include "platform/MainThreadQueue.h"

namespace quorvane {

void TSimpleQueue::Post(std::function<void()> task) {
    {
        std::lock_guard lock(FMutex);
        FTasks.push_back(std::move(task));
    }
    FReady.notify_one();
}

std::function<void()> TSimpleQueue::TakeLocked(std::unique_lock<std::mutex>&) {
    auto task = std::move(FTasks.front());
    FTasks.pop_front();
    return task;
}

std::size_t TSimpleQueue::Drain() {
    std::size_t ran = 0;
    for (;;) {
        std::function<void()> task;
        {
            std::unique_lock lock(FMutex);
            if (FTasks.empty())
                return ran;
            task = TakeLocked(lock);
        }
        task();
        ++ran;
    }
}

bool TSimpleQueue::RunOne(std::chrono::milliseconds timeout) {
    std::function<void()> task;
    {
        std::unique_lock lock(FMutex);
        if (!FReady.wait_for(lock, timeout, [this] { return !FTasks.empty(); }))
            return false;
        task = TakeLocked(lock);
    }
    task();
    return true;
}

void TSimpleQueue::RunUntil(const std::function<bool()>& done) {
    while (!done())
        RunOne(std::chrono::milliseconds(50));
}

} // namespace quorvane
