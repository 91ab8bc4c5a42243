#include "app/Resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitQuorvaneResources() {
    Q_INIT_RESOURCE(icons);
}

namespace quorvane {

void InitResources() {
    static const bool done = (InitQuorvaneResources(), true);
    static_cast<void>(done);
}

} // namespace quorvane
