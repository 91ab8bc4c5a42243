#include "platform/DateTime.h"

#include <cmath>
#include <ctime>

namespace quorvane {
namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kUnixEpochDay = 25569; // 1970-01-01 as days since 1899-12-30

// Days from 1970-01-01 to the given civil date (proleptic Gregorian), after H. Hinnant.
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, TDateTimeParts& parts) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    parts.Day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    parts.Month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    parts.Year = static_cast<int>(yoe + era * 400 + (parts.Month <= 2));
}

int DaysInMonth(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

TDateTime FromSeconds(int64_t secondsSince1899) {
    const int64_t day = secondsSince1899 >= 0
                            ? secondsSince1899 / kSecondsPerDay
                            : -((-secondsSince1899 + kSecondsPerDay - 1) / kSecondsPerDay);
    const int64_t secondOfDay = secondsSince1899 - day * kSecondsPerDay;
    return static_cast<double>(day) + static_cast<double>(secondOfDay) / kSecondsPerDay;
}

int64_t ToSeconds(TDateTime value) {
    const double day = std::floor(value);
    const auto secondOfDay = static_cast<int64_t>(std::llround((value - day) * kSecondsPerDay));
    return static_cast<int64_t>(day) * kSecondsPerDay + secondOfDay;
}

} // namespace

TDateTime EncodeDateTime(const TDateTimeParts& p) {
    const int64_t day = DaysFromCivil(p.Year, p.Month, p.Day) + kUnixEpochDay;
    return FromSeconds(day * kSecondsPerDay + p.Hour * 3600 + p.Minute * 60 + p.Second);
}

TDateTimeParts DecodeDateTime(TDateTime value) {
    const int64_t seconds = ToSeconds(value);
    int64_t day = seconds / kSecondsPerDay;
    int64_t secondOfDay = seconds % kSecondsPerDay;
    if (secondOfDay < 0) {
        secondOfDay += kSecondsPerDay;
        --day;
    }
    TDateTimeParts parts;
    CivilFromDays(day - kUnixEpochDay, parts);
    parts.Hour = static_cast<int>(secondOfDay / 3600);
    parts.Minute = static_cast<int>(secondOfDay / 60 % 60);
    parts.Second = static_cast<int>(secondOfDay % 60);
    return parts;
}

int64_t CurrentUtcOffsetSeconds() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local.tm_gmtoff;
}

TDateTime FileTimeToDateTime(int64_t unixSeconds, int64_t utcOffsetSeconds) {
    int64_t local = unixSeconds + utcOffsetSeconds;
    local -= ((local % 2) + 2) % 2; // round down to an even second, also before 1970
    return FromSeconds(local + kUnixEpochDay * kSecondsPerDay);
}

uint32_t DateTimeToDos(TDateTime value) {
    static const TDateTime lowest = EncodeDateTime({1980, 1, 1, 0, 0, 0});
    static const TDateTime highest = EncodeDateTime({2107, 12, 31, 23, 59, 58});
    if (!(value >= lowest)) // also catches NaN
        value = lowest;
    if (value > highest)
        value = highest;
    const TDateTimeParts p = DecodeDateTime(value);
    const uint32_t date = static_cast<uint32_t>(((p.Year - 1980) << 9) | (p.Month << 5) | p.Day);
    const uint32_t time = static_cast<uint32_t>((p.Hour << 11) | (p.Minute << 5) | (p.Second / 2));
    return date << 16 | time;
}

std::optional<TDateTime> DosToDateTime(uint32_t dos) {
    const uint32_t date = dos >> 16, time = dos & 0xFFFF;
    TDateTimeParts p;
    p.Year = static_cast<int>((date >> 9) + 1980);
    p.Month = static_cast<int>((date >> 5) & 0x0F);
    p.Day = static_cast<int>(date & 0x1F);
    p.Hour = static_cast<int>(time >> 11);
    p.Minute = static_cast<int>((time >> 5) & 0x3F);
    p.Second = static_cast<int>((time & 0x1F) * 2);
    if (p.Month < 1 || p.Month > 12 || p.Day < 1 || p.Day > DaysInMonth(p.Year, p.Month) ||
        p.Hour > 23 || p.Minute > 59 || p.Second > 59)
        return std::nullopt;
    return EncodeDateTime(p);
}

void AppendDateTimeText(std::string& out, TDateTime value, char separator) {
    const TDateTimeParts p = DecodeDateTime(value);
    // Written digit by digit: reports write millions of dates.
    char text[24];
    char* at = text;
    const auto put = [&at](int number, int digits) {
        for (int i = digits - 1; i >= 0; --i) {
            at[i] = static_cast<char>('0' + number % 10);
            number /= 10;
        }
        at += digits;
    };
    if (p.Year < 0 || p.Year > 9999) { // outside what four digits hold: rare, keep it exact
        out += std::to_string(p.Year);
    } else {
        put(p.Year, 4);
    }
    *at++ = '-';
    put(p.Month, 2);
    *at++ = '-';
    put(p.Day, 2);
    *at++ = separator;
    put(p.Hour, 2);
    *at++ = ':';
    put(p.Minute, 2);
    *at++ = ':';
    put(p.Second, 2);
    out.append(text, static_cast<std::size_t>(at - text));
}

} // namespace quorvane
