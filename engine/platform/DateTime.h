#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quorvane {

// A date-time as a floating-point count of days since 30 December 1899; the fraction is the
// time of day. File dates are held at the two-second resolution of the MS-DOS format.
using TDateTime = double;

struct TDateTimeParts {
    int Year = 1899, Month = 12, Day = 30, Hour = 0, Minute = 0, Second = 0;
};

TDateTime EncodeDateTime(const TDateTimeParts& parts);
TDateTimeParts DecodeDateTime(TDateTime value);

// Appends "2024-05-31 23:59:58": the date and time in a form that reads the same in every locale
// and sorts as text. `separator` goes between the date and the time ('T' gives ISO 8601).
void AppendDateTimeText(std::string& out, TDateTime value, char separator = ' ');

// The local-time offset from UTC, in seconds, in effect now.
int64_t CurrentUtcOffsetSeconds();
// A file time (seconds since the Unix epoch) as local time with the given offset, seconds
// rounded down to even.
TDateTime FileTimeToDateTime(int64_t unixSeconds, int64_t utcOffsetSeconds);

// MS-DOS date and time: date in the high 16 bits, time in the low 16 bits.
// Dates outside 1980-01-01 00:00:00 .. 2107-12-31 23:59:58 are clamped to that range.
uint32_t DateTimeToDos(TDateTime value);
// Empty when the value names no valid date and time (month 0, 31 February, hour 24 ...).
std::optional<TDateTime> DosToDateTime(uint32_t dos);

} // namespace quorvane
