#pragma once

#include <cstdint>
#include <string>

#include "duplicates/CompareMode.h"
#include "duplicates/FileBlockReader.h"
#include "search/Checksum.h"

namespace quorvane {

// The checksum of a whole file under a compare mode: CRC-32 for cmCrc, MD4 for cmMD4, MD5 for
// cmMD5 (an empty checksum for cmNone). A file that cannot be opened or read to its end yields
// the unreadable checksum (text "FFFFFFFF"); no failure escapes. Reading that `stopped` ends
// yields an empty checksum: the file is as unread.
TChecksum FileCheckSum(const std::string& fileName, TCompareMode mode,
                       const TStopRequested& stopped = {});

} // namespace quorvane
