#pragma once

#include "actions/FileAction.h"

namespace quorvane {

// The compress action: every file re-checked, then all stored in one write of the archive, and a
// source deleted only once its entry reads back from the written archive with the size and
// CRC-32 of the file as it is now. When the archive cannot be written nothing is deleted.
void CompressFiles(const TActionPlan& plan, int64_t utcOffset, TActionOutcome& outcome,
                   const TPump& pump);

} // namespace quorvane
