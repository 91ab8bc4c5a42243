#include "platform/NumberFormat.h"

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

} // namespace

std::string FormatGroupedInteger(int64_t value) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString text =
        ThreadObjectFor<icu::number::LocalizedNumberFormatter>(
            numberLocale,
            [] { return std::make_unique<icu::number::LocalizedNumberFormatter>(MakeFormatter()); })
            .formatInt(value, status)
            .toString(status);
    if (U_FAILURE(status))
        throw std::runtime_error("Number formatting failed: " + std::string(u_errorName(status)));
    std::string result;
    return text.toUTF8String(result);
}

void SetNumberLocale(const std::string& name) {
    numberLocale.Set(name);
}

} // namespace quorvane
