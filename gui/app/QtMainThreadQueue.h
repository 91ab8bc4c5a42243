#pragma once

#include <QObject>

#include "platform/MainThreadQueue.h"

namespace quorvane {

// The main-thread queue of the desktop program: a task posted from any thread runs in the Qt
// event loop of the thread that made the queue (the main thread), in the order posted. Tasks
// still waiting when the queue goes away are dropped with it.
class TQtMainThreadQueue final : public IMainThreadQueue {
public:
    void Post(std::function<void()> task) override;

private:
    QObject FContext;
};

} // namespace quorvane
