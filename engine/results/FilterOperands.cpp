#include "results/FilterOperands.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

#include "results/FilterError.h"

namespace quorvane {
namespace {

constexpr double kSecondsPerDay = 86400;
// 2^63: the first double above every int64.
constexpr double kInt64Limit = 9223372036854775808.0;

std::string_view TrimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Quoted(std::string_view text) {
    std::string quoted = "\"";
    quoted.append(text).append("\"");
    return quoted;
}

const std::string* TextOf(const TFilterValue& value, std::string& converted) {
    if (value.Is<std::string>())
        return &value.As<std::string>();
    if (value.Is<std::u16string>()) {
        converted = Utf16ToUtf8(value.As<std::u16string>());
        return &converted;
    }
    return nullptr;
}

double FiniteNumber(double number) {
    if (!std::isfinite(number))
        throw TFilterError("the value is not a finite number");
    return number;
}

TSizeOperand RealSizeOperand(double real) {
    TSizeOperand operand;
    operand.IsWhole = false;
    operand.Real = FiniteNumber(real);
    return operand;
}

TSizeOperand SizeFromText(std::string_view original) {
    const std::string_view text = TrimSpaces(original);
    TSizeOperand operand;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), operand.Whole);
    if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size())
        throw TFilterError(Quoted(original) + " is not a whole number of bytes");
    return operand;
}

// Reads a field of 1 to `maxDigits` digits at `at`, followed by `separator` unless that is 0.
bool ReadField(std::string_view text, std::size_t& at, int maxDigits, char separator, int& field) {
    const std::size_t start = at;
    field = 0;
    while (at < text.size() && at - start < static_cast<std::size_t>(maxDigits) &&
           text[at] >= '0' && text[at] <= '9')
        field = field * 10 + (text[at++] - '0');
    if (at == start)
        return false;
    if (separator == 0)
        return true;
    if (at == text.size() || text[at] != separator)
        return false;
    ++at;
    return true;
}

std::optional<int64_t> SecondsFromText(std::string_view original) {
    const std::string_view text = TrimSpaces(original);
    TDateTimeParts parts;
    parts.Hour = parts.Minute = parts.Second = 0;
    std::size_t at = 0;
    if (!ReadField(text, at, 4, '-', parts.Year) || !ReadField(text, at, 2, '-', parts.Month) ||
        !ReadField(text, at, 2, 0, parts.Day))
        return std::nullopt;
    if (at < text.size()) {
        if (text[at++] != ' ' || !ReadField(text, at, 2, ':', parts.Hour))
            return std::nullopt;
        const bool withSeconds = text.find(':', at) != std::string_view::npos;
        if (!ReadField(text, at, 2, withSeconds ? ':' : 0, parts.Minute) ||
            (withSeconds && !ReadField(text, at, 2, 0, parts.Second)))
            return std::nullopt;
    }
    if (at != text.size())
        return std::nullopt;
    const bool inRange = parts.Month >= 1 && parts.Month <= 12 && parts.Day >= 1 &&
                         parts.Hour >= 0 && parts.Hour < 24 && parts.Minute >= 0 &&
                         parts.Minute < 60 && parts.Second >= 0 && parts.Second < 60;
    if (!inRange)
        return std::nullopt;
    // A day past the month's end would roll over into the next month: refuse it instead.
    const TDateTime date = EncodeDateTime(parts);
    const TDateTimeParts back = DecodeDateTime(date);
    if (back.Year != parts.Year || back.Month != parts.Month || back.Day != parts.Day)
        return std::nullopt;
    return DateSeconds(date);
}

} // namespace

TSizeOperand SizeOperand(const TFilterValue& value) {
    std::string converted;
    if (const std::string* text = TextOf(value, converted))
        return SizeFromText(*text);
    if (value.Is<int32_t>())
        return TSizeOperand{true, value.As<int32_t>(), 0};
    if (value.Is<double>())
        return RealSizeOperand(value.As<double>());
    if (value.Is<float>())
        return RealSizeOperand(value.As<float>());
    if (value.Is<TFilterCurrency>())
        return RealSizeOperand(static_cast<double>(value.As<TFilterCurrency>().TenThousandths) /
                               10000);
    throw TFilterError(Quoted(FilterValueToText(value)) + " is not a number of bytes");
}

int CompareSize(int64_t size, const TSizeOperand& operand) {
    if (operand.IsWhole)
        return (size > operand.Whole) - (size < operand.Whole);
    if (operand.Real >= kInt64Limit)
        return -1;
    if (operand.Real < -kInt64Limit)
        return 1;
    const double whole = std::trunc(operand.Real);
    const auto wholeInteger = static_cast<int64_t>(whole);
    if (size != wholeInteger)
        return size < wholeInteger ? -1 : 1;
    const double fraction = operand.Real - whole;
    return (fraction < 0) - (fraction > 0);
}

int64_t DateSeconds(TDateTime date) {
    return std::llround(date * kSecondsPerDay);
}

int64_t DateOperandSeconds(const TFilterValue& value) {
    std::string converted;
    if (const std::string* text = TextOf(value, converted)) {
        if (const auto seconds = SecondsFromText(*text))
            return *seconds;
        throw TFilterError(Quoted(*text) + " is not a date of the form YYYY-MM-DD or " +
                           "YYYY-MM-DD HH:MM:SS");
    }
    double days = 0;
    if (value.Is<TFilterDate>())
        days = value.As<TFilterDate>().Value;
    else if (value.Is<double>())
        days = value.As<double>();
    else if (value.Is<float>())
        days = value.As<float>();
    else if (value.Is<int32_t>())
        days = value.As<int32_t>();
    else
        throw TFilterError(Quoted(FilterValueToText(value)) + " is not a date");
    // Far beyond any file date, and beyond what the seconds can hold.
    if (!std::isfinite(days) || std::fabs(days) > 1e8)
        throw TFilterError("the date is out of range");
    return DateSeconds(days);
}

std::string TextOperand(const TFilterValue& value) {
    return FilterValueToText(value);
}

} // namespace quorvane
