#include "platform/Thread.h"

#include <cassert>
#include <exception>

namespace quorvane {

TThread::TThread(IMainThreadQueue& mainThread) : FMainThread(mainThread) {}

TThread::~TThread() {
    if (FThread.joinable()) {
        if (FThread.get_id() == std::this_thread::get_id())
            FThread.detach();
        else
            FThread.join();
    }
}

void TThread::Start() {
    assert(!FThread.joinable() && "a TThread starts once");
    FThread = std::thread([this] { Run(); });
}

void TThread::WaitFor() {
    assert(!FFreeOnTerminate && "a thread that frees itself cannot be awaited by pointer");
    if (FThread.joinable() && FThread.get_id() != std::this_thread::get_id())
        FThread.join();
}

void TThread::Run() {
    try {
        Execute();
    } catch (...) {
        // Workers report nothing themselves; a stray failure must not take the process down.
        // Subclasses that need to report one catch it inside Execute.
    }
    FFinished.store(true, std::memory_order_release);
    FMainThread.Post([this] { DeliverEnd(); });
}

void TThread::DeliverEnd() {
    if (FOnTerminate)
        FOnTerminate(*this);
    if (FFreeOnTerminate)
        delete this;
}

} // namespace quorvane
