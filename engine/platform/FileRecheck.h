#pragma once

#include <cstdint>
#include <string>

#include "platform/DateTime.h"

namespace quorvane {

// A file is acted on only while it is still the file the search recorded: between the search and
// the action it may have been edited, replaced or removed, and deleting the new contents because
// the old ones had a copy would lose data.

inline constexpr const char* kFileVanishedText = "no longer exists";
inline constexpr const char* kFileChangedText = "changed since the search";

// Empty while `fullName` is a regular file (not a link) of the recorded size whose modification
// time, turned into a date as the search does (local time with the given offset, two-second
// resolution), equals the recorded date. Otherwise why not: kFileVanishedText,
// kFileChangedText, or the reason the file could not be looked at.
std::string RecheckFile(const std::string& fullName, int64_t size, TDateTime date,
                        int64_t utcOffsetSeconds);

} // namespace quorvane
