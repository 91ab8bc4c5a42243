#include "search/SearchCriteria.h"

#include "platform/Mounts.h"

namespace quorvane {

SearchCriteria SearchCriteria::Initial() {
    SearchCriteria criteria;
    criteria.IncludeFolders = FixedDriveRoots();
    return criteria;
}

} // namespace quorvane
