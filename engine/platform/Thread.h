#pragma once

#include <atomic>
#include <functional>
#include <thread>

#include "platform/MainThreadQueue.h"

namespace quorvane {

// A worker thread in the manner the pipeline expects: created suspended, configured through
// setters, started once, asked (never forced) to stop, and announcing its end on the main thread.
//
// When Execute returns, the end handler is posted to the main-thread queue. After the handler
// has run, a thread marked FreeOnTerminate deletes itself there, so its owner must drop its
// pointer inside the handler. A thread that does not free itself can be awaited with WaitFor,
// and may be deleted only after its end handler has run.
class TThread {
public:
    using TEndHandler = std::function<void(TThread&)>;

    explicit TThread(IMainThreadQueue& mainThread);
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;
    virtual ~TThread();

    void SetOnTerminate(TEndHandler handler) { FOnTerminate = std::move(handler); }
    void SetFreeOnTerminate(bool value) { FFreeOnTerminate = value; }
    bool FreeOnTerminate() const { return FFreeOnTerminate; }

    // Starts Execute on a new thread. Call once.
    void Start();
    // Asks Execute to stop at its next check of Terminated().
    void Terminate() { FTerminated.store(true, std::memory_order_relaxed); }
    bool Terminated() const { return FTerminated.load(std::memory_order_relaxed); }
    // True once Execute has returned (the end handler may still be queued).
    bool Finished() const { return FFinished.load(std::memory_order_acquire); }
    // Blocks until Execute has returned. Not for threads that free themselves.
    void WaitFor();

protected:
    virtual void Execute() = 0;

private:
    void Run();
    void DeliverEnd();

    IMainThreadQueue& FMainThread;
    TEndHandler FOnTerminate;
    bool FFreeOnTerminate = false;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    std::thread FThread;
};

} // namespace quorvane
