#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/Thread.h"

namespace quorvane {
namespace {

using namespace std::chrono_literals;

// Counts until asked to stop, recording the thread it ran on.
class TCountingThread : public TThread {
public:
    using TThread::TThread;
    std::atomic<int> Count{0};
    std::thread::id RanOn;
    std::atomic<bool>* Destroyed = nullptr;
    ~TCountingThread() override {
        if (Destroyed)
            *Destroyed = true;
    }

protected:
    void Execute() override {
        RanOn = std::this_thread::get_id();
        while (!Terminated() && Count < 1'000'000'000) {
            ++Count;
            std::this_thread::sleep_for(1ms);
        }
    }
};

class TThrowingThread : public TThread {
public:
    using TThread::TThread;

protected:
    void Execute() override { throw std::runtime_error("boom"); }
};

TEST(Thread, CreatedSuspendedStartedTerminatedAndEndDeliveredOnTheMainThread) {
    TSimpleQueue queue;
    std::atomic<bool> destroyed{false};
    auto* thread = new TCountingThread(queue);
    thread->Destroyed = &destroyed;
    thread->SetFreeOnTerminate(true);
    std::thread::id endedOn;
    bool ended = false;
    thread->SetOnTerminate([&](TThread& t) {
        EXPECT_TRUE(t.Finished());
        endedOn = std::this_thread::get_id();
        ended = true;
    });

    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(thread->Count, 0) << "nothing runs before Start";
    thread->Start();
    while (thread->Count == 0)
        std::this_thread::sleep_for(1ms);
    EXPECT_NE(thread->RanOn, std::this_thread::get_id());
    thread->Terminate();
    EXPECT_TRUE(thread->Terminated());

    queue.RunUntil([&] { return ended; });
    EXPECT_EQ(endedOn, std::this_thread::get_id());
    EXPECT_TRUE(destroyed) << "a thread that frees itself is gone after its end handler";
}

TEST(Thread, KeptThreadCanBeAwaitedAndAFailureStillEndsIt) {
    TSimpleQueue queue;
    TThrowingThread thread(queue);
    bool ended = false;
    thread.SetOnTerminate([&](TThread&) { ended = true; });
    thread.Start();
    thread.WaitFor();
    EXPECT_TRUE(thread.Finished());
    EXPECT_FALSE(ended) << "the end handler waits for the main thread";
    EXPECT_EQ(queue.Drain(), 1u);
    EXPECT_TRUE(ended);
}

TEST(SimpleQueue, RunsTasksInOrderIncludingTasksPostedByTasks) {
    TSimpleQueue queue;
    std::string order;
    queue.Post([&] {
        order += 'a';
        queue.Post([&] { order += 'c'; });
    });
    queue.Post([&] { order += 'b'; });
    EXPECT_EQ(queue.Drain(), 3u);
    EXPECT_EQ(order, "abc");
    EXPECT_FALSE(queue.RunOne(1ms));
}

} // namespace
} // namespace quorvane
