#include "platform/NumberFormat.h"

#include <array>
#include <charconv>
#include <memory>
#include <stdexcept>

#include <unicode/numberformatter.h>

#include "platform/LocaleChoice.h"

namespace quorvane {
namespace {

TLocaleChoice numberLocale;

icu::Locale NumberLocale() {
    icu::Locale locale = numberLocale.Get();
    // Keep the locale's separators but Latin digits, as file sizes are shown everywhere else.
    UErrorCode status = U_ZERO_ERROR;
    locale.setKeywordValue("numbers", "latn", status);
    return locale;
}

icu::number::LocalizedNumberFormatter MakeFormatter() {
    return icu::number::NumberFormatter::withLocale(NumberLocale())
        .grouping(UNUM_GROUPING_ON_ALIGNED)
        .precision(icu::number::Precision::integer());
}

std::string FormatWithIcu(const icu::number::LocalizedNumberFormatter& formatter, int64_t value) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString text = formatter.formatInt(value, status).toString(status);
    if (U_FAILURE(status))
        throw std::runtime_error("Number formatting failed: " + std::string(u_errorName(status)));
    std::string result;
    return text.toUTF8String(result);
}

// Formatting through ICU costs microseconds, and reports format millions of sizes. A locale groups
// the digits of every number alike, counted from the right, so the separators that ICU puts into
// one number of the most digits there are tell where they go in any other.
struct TGroupedFormatter {
    icu::number::LocalizedNumberFormatter Icu = MakeFormatter();
    std::array<std::string, 18> Separators; // [r]: between the digits r and r + 1 from the right

    TGroupedFormatter() {
        const std::string probe = FormatWithIcu(Icu, 1234567890123456789);
        std::size_t digit = 19;
        std::string pending;
        for (char c : probe) {
            if (c >= '0' && c <= '9') {
                if (digit < 19)
                    Separators[digit - 1] = pending;
                pending.clear();
                --digit;
            } else {
                pending += c;
            }
        }
    }

    std::string Format(int64_t value) const {
        if (value < 0)
            return FormatWithIcu(Icu, value);
        char digits[20];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        const auto count = static_cast<std::size_t>(end - digits);
        std::string text;
        text.reserve(count * 2);
        for (std::size_t i = 0; i < count; ++i) {
            text += digits[i];
            const std::size_t right = count - 1 - i; // digits still to come
            if (right > 0)
                text += Separators[right - 1];
        }
        return text;
    }
};

} // namespace

std::string FormatGroupedInteger(int64_t value) {
    return ThreadObjectFor<TGroupedFormatter>(numberLocale,
                                              [] { return std::make_unique<TGroupedFormatter>(); })
        .Format(value);
}

void SetNumberLocale(const std::string& name) {
    numberLocale.Set(name);
}

} // namespace quorvane
