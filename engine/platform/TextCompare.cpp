#include "platform/TextCompare.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <stdexcept>

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/stringpiece.h>
#include <unicode/utf8.h>

namespace quorvane {
namespace {

std::mutex localeMutex;
std::string localeName; // guarded by localeMutex; empty: the user's locale
std::atomic<unsigned> localeGeneration{1};

icu::Locale CollationLocale() {
    std::lock_guard lock(localeMutex);
    if (!localeName.empty())
        return icu::Locale(localeName.c_str());
    icu::Locale user = icu::Locale::getDefault();
    // The C and POSIX locales map to en_US_POSIX, whose collation tells case apart at the
    // primary level; the root collation is the neutral choice there.
    if (std::string_view(user.getName()) == "en_US_POSIX")
        return icu::Locale::getRoot();
    return user;
}

std::unique_ptr<icu::Collator> MakeCollator() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> collator(
        icu::Collator::createInstance(CollationLocale(), status));
    if (U_FAILURE(status) || !collator)
        throw std::runtime_error("Unable to create a text collator: " +
                                 std::string(u_errorName(status)));
    collator->setStrength(icu::Collator::SECONDARY);
    return collator;
}

// Collators are cheap to use but not meant to be shared across threads: each thread keeps its own.
icu::Collator& ThreadCollator() {
    thread_local std::unique_ptr<icu::Collator> collator;
    thread_local unsigned generation = 0;
    unsigned current = localeGeneration.load(std::memory_order_acquire);
    if (!collator || generation != current) {
        collator = MakeCollator();
        generation = current;
    }
    return *collator;
}

bool IsValidUtf8(std::string_view text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const int32_t length = static_cast<int32_t>(text.size());
    for (int32_t i = 0; i < length;) {
        if (bytes[i] < 0x80) {
            ++i;
            continue;
        }
        UChar32 c;
        U8_NEXT(bytes, i, length, c);
        if (c < 0)
            return false;
    }
    return true;
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

} // namespace

int CompareTextNoCase(std::string_view a, std::string_view b) {
    UErrorCode status = U_ZERO_ERROR;
    UCollationResult result = ThreadCollator().compareUTF8(
        icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
        icu::StringPiece(b.data(), static_cast<int32_t>(b.size())), status);
    if (U_FAILURE(status))
        throw std::runtime_error("Text comparison failed: " + std::string(u_errorName(status)));
    if (result == UCOL_EQUAL && a != b && (!IsValidUtf8(a) || !IsValidUtf8(b)))
        return Sign(a.compare(b));
    return static_cast<int>(result);
}

void SetCollationLocale(const std::string& name) {
    {
        std::lock_guard lock(localeMutex);
        localeName = name;
    }
    localeGeneration.fetch_add(1, std::memory_order_acq_rel);
}

} // namespace quorvane
