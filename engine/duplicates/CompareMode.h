#pragma once

namespace quorvane {

// How file contents are compared: the value of the CompareMode key and the tag of the
// "Compare contents" menu items.
enum TCompareMode : int { cmNone = 0, cmCrc = 1, cmMD4 = 2, cmMD5 = 3 };

} // namespace quorvane
