#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace quorvane {

// Runs tasks on the front end's main thread. Worker threads post their end notifications here;
// the GUI posts them into the Qt event loop, the CLI and the tests drain a TSimpleQueue.
class IMainThreadQueue {
public:
    virtual ~IMainThreadQueue() = default;
    // May be called from any thread; the task runs later on the main thread.
    virtual void Post(std::function<void()> task) = 0;
};

// A plain FIFO that the owning thread drains itself.
class TSimpleQueue final : public IMainThreadQueue {
public:
    void Post(std::function<void()> task) override;

    // Runs every task queued now (and those they queue). Returns how many ran.
    std::size_t Drain();
    // Waits up to `timeout` for one task and runs it. Returns whether one ran.
    bool RunOne(std::chrono::milliseconds timeout);
    // Runs tasks until `done()` holds, checking it after every task.
    void RunUntil(const std::function<bool()>& done);

private:
    std::function<void()> TakeLocked(std::unique_lock<std::mutex>& lock);

    std::mutex FMutex;
    std::condition_variable FReady;
    std::deque<std::function<void()>> FTasks;
};

} // namespace quorvane
