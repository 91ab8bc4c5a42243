#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "platform/DateTime.h"

namespace quorvane {

// The value of a filter condition, in every kind a criteria stream can hold. Each kind keeps what
// its stream form holds, so that a filter read from a stream is written back unchanged.
struct TFilterNull { // no value
    bool operator==(const TFilterNull&) const = default;
};
struct TFilterUnassigned { // a value never given
    bool operator==(const TFilterUnassigned&) const = default;
};
struct TFilterCurrency { // a fixed-point amount in ten-thousandths
    int64_t TenThousandths = 0;
    bool operator==(const TFilterCurrency&) const = default;
};
struct TFilterDate {
    TDateTime Value = 0;
    bool operator==(const TFilterDate&) const = default;
};

struct TFilterValue;
using TFilterValueList = std::vector<TFilterValue>;

// The kinds in stream terms: integer (32-bit), floating-point number (80-bit extended in streams),
// text (raw bytes, UTF-8 when valid), boolean, single, currency, date, wide text (UTF-16 code
// units) and list (the values of "between" and "in list").
struct TFilterValue {
    using TData =
        std::variant<TFilterNull, TFilterUnassigned, int32_t, double, std::string, bool, float,
                     TFilterCurrency, TFilterDate, std::u16string, TFilterValueList>;
    TData Data;

    TFilterValue() = default;
    template <typename T>
    requires(!std::is_same_v<std::remove_cvref_t<T>, TFilterValue> &&
             std::is_constructible_v<TData, T&&>) TFilterValue(T&& value)
        : Data(std::forward<T>(value)) {}

    bool operator==(const TFilterValue&) const = default;

    template <typename T> bool Is() const { return std::holds_alternative<T>(Data); }
    template <typename T> const T& As() const { return std::get<T>(Data); }
    // Null or unassigned: the condition carries no value.
    bool IsMissing() const { return Is<TFilterNull>() || Is<TFilterUnassigned>(); }
};

// A 64-bit integer as a stream can carry it: an integer when it fits 32 bits, else its decimal text
// (criteria streams have no 64-bit integer kind).
TFilterValue FilterValueFromInt64(int64_t value);

// The value as text: numbers in decimal with "." as the decimal point, booleans as "True" and
// "False", dates as "YYYY-MM-DD" with " HH:MM:SS" when the time is not midnight, wide text as
// UTF-8, lists as their elements joined by ", ", missing values as "".
std::string FilterValueToText(const TFilterValue& value);

// UTF-16 code units as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

} // namespace quorvane
