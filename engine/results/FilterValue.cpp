#include "results/FilterValue.h"

#include <charconv>
#include <cstdio>
#include <limits>

namespace quorvane {
namespace {

template <typename T> std::string NumberText(T value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string CurrencyText(TFilterCurrency amount) {
    const bool negative = amount.TenThousandths < 0;
    // Negated as unsigned so that the smallest amount does not overflow.
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(amount.TenThousandths)
                                        : static_cast<uint64_t>(amount.TenThousandths);
    std::string text = negative ? "-" : "";
    text += NumberText(magnitude / 10000);
    uint64_t fraction = magnitude % 10000;
    if (fraction != 0) {
        std::string digits = NumberText(fraction + 10000).substr(1);
        digits.erase(digits.find_last_not_of('0') + 1);
        text += "." + digits;
    }
    return text;
}

std::string DateText(TDateTime value) {
    const TDateTimeParts p = DecodeDateTime(value);
    char buffer[64];
    if (p.Hour == 0 && p.Minute == 0 && p.Second == 0)
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", p.Year, p.Month, p.Day);
    else
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", p.Year, p.Month,
                      p.Day, p.Hour, p.Minute, p.Second);
    return buffer;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

} // namespace

TFilterValue FilterValueFromInt64(int64_t value) {
    if (value >= std::numeric_limits<int32_t>::min() &&
        value <= std::numeric_limits<int32_t>::max())
        return TFilterValue(static_cast<int32_t>(value));
    return TFilterValue(NumberText(value));
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
            AppendUtf8(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

std::string FilterValueToText(const TFilterValue& value) {
    struct TVisitor {
        std::string operator()(const TFilterNull&) const { return {}; }
        std::string operator()(const TFilterUnassigned&) const { return {}; }
        std::string operator()(int32_t v) const { return NumberText(v); }
        std::string operator()(double v) const { return NumberText(v); }
        std::string operator()(const std::string& v) const { return v; }
        std::string operator()(bool v) const { return v ? "True" : "False"; }
        std::string operator()(float v) const { return NumberText(v); }
        std::string operator()(TFilterCurrency v) const { return CurrencyText(v); }
        std::string operator()(TFilterDate v) const { return DateText(v.Value); }
        std::string operator()(const std::u16string& v) const { return Utf16ToUtf8(v); }
        std::string operator()(const TFilterValueList& list) const {
            std::string text;
            for (std::size_t i = 0; i < list.size(); ++i)
                text += (i == 0 ? "" : ", ") + FilterValueToText(list[i]);
            return text;
        }
    };
    return std::visit(TVisitor{}, value.Data);
}

} // namespace quorvane
