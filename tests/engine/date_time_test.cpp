#include <gtest/gtest.h>

#include <array>

#include "platform/DateTime.h"

namespace quorvane {
namespace {

TEST(DateTime, EncodesDaysSinceTheEpochOf1899) {
    EXPECT_EQ(EncodeDateTime({1899, 12, 30, 0, 0, 0}), 0.0);
    EXPECT_EQ(EncodeDateTime({1970, 1, 1, 0, 0, 0}), 25569.0);
    EXPECT_EQ(EncodeDateTime({2000, 1, 1, 12, 0, 0}), 36526.5);
    const TDateTimeParts p = DecodeDateTime(EncodeDateTime({2024, 2, 29, 23, 59, 58}));
    EXPECT_EQ((std::array{p.Year, p.Month, p.Day, p.Hour, p.Minute, p.Second}),
              (std::array{2024, 2, 29, 23, 59, 58}));
}

TEST(DateTime, FileTimesTakeTheOffsetAndRoundDownToEvenSeconds) {
    // 2007-03-15 10:20:31 UTC, seen from UTC+01:00.
    const int64_t seconds = 1173954031;
    EXPECT_EQ(FileTimeToDateTime(seconds, 3600), EncodeDateTime({2007, 3, 15, 11, 20, 30}));
    EXPECT_EQ(FileTimeToDateTime(seconds - 1, 3600), FileTimeToDateTime(seconds, 3600));
    EXPECT_EQ(FileTimeToDateTime(-1, 0), EncodeDateTime({1969, 12, 31, 23, 59, 58}));
}

TEST(DateTime, DosRoundTripAndRejection) {
    const TDateTime value = EncodeDateTime({2007, 3, 15, 10, 20, 30});
    EXPECT_EQ(DateTimeToDos(value), 0x366F528Fu);
    EXPECT_EQ(DosToDateTime(0x366F528F), value);
    EXPECT_FALSE(DosToDateTime(0x00000000)); // month 0, day 0
    EXPECT_TRUE(DosToDateTime(0x005D0000));  // 29 February 1980, a leap year
    EXPECT_FALSE(DosToDateTime(0x005E0000)); // 30 February 1980
    EXPECT_FALSE(DosToDateTime(0x0021C000)); // hour 24
}

} // namespace
} // namespace quorvane
