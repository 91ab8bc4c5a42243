#include "app/QtMainThreadQueue.h"

#include <QMetaObject>

namespace quorvane {

void TQtMainThreadQueue::Post(std::function<void()> task) {
    QMetaObject::invokeMethod(&FContext, std::move(task), Qt::QueuedConnection);
}

} // namespace quorvane
