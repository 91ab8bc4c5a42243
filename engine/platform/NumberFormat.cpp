#include "platform/NumberFormat.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string_view>

#include <unicode/locid.h>
#include <unicode/numberformatter.h>

namespace quorvane {
namespace {

std::mutex localeMutex;
std::string localeName; // guarded by localeMutex; empty: the user's locale
std::atomic<unsigned> localeGeneration{1};

icu::Locale NumberLocale() {
    icu::Locale locale;
    {
        std::lock_guard lock(localeMutex);
        locale = localeName.empty() ? icu::Locale::getDefault() : icu::Locale(localeName.c_str());
    }
    // C and POSIX map to en_US_POSIX, whose numbers carry no grouping separator at all.
    if (std::string_view(locale.getName()) == "en_US_POSIX")
        locale = icu::Locale::getRoot();
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

// Each thread keeps its formatter and remakes it when the locale changed.
const icu::number::LocalizedNumberFormatter& ThreadFormatter() {
    thread_local std::unique_ptr<icu::number::LocalizedNumberFormatter> formatter;
    thread_local unsigned generation = 0;
    const unsigned current = localeGeneration.load(std::memory_order_acquire);
    if (!formatter || generation != current) {
        formatter = std::make_unique<icu::number::LocalizedNumberFormatter>(MakeFormatter());
        generation = current;
    }
    return *formatter;
}

} // namespace

std::string FormatGroupedInteger(int64_t value) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::UnicodeString text = ThreadFormatter().formatInt(value, status).toString(status);
    if (U_FAILURE(status))
        throw std::runtime_error("Number formatting failed: " + std::string(u_errorName(status)));
    std::string result;
    return text.toUTF8String(result);
}

void SetNumberLocale(const std::string& name) {
    {
        std::lock_guard lock(localeMutex);
        localeName = name;
    }
    localeGeneration.fetch_add(1, std::memory_order_acq_rel);
}

} // namespace quorvane
