#include "platform/TextCompare.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/stringpiece.h>
#include <unicode/ucol.h>
#include <unicode/uiter.h>

#include "platform/LocaleChoice.h"
#include "platform/Utf8.h"

namespace quorvane {
namespace {

TLocaleChoice collationLocale;

std::unique_ptr<icu::Collator> MakeCollator() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> collator(
        icu::Collator::createInstance(collationLocale.Get(), status));
    if (U_FAILURE(status) || !collator)
        throw std::runtime_error("Unable to create a text collator: " +
                                 std::string(u_errorName(status)));
    collator->setStrength(icu::Collator::SECONDARY);
    return collator;
}

icu::Collator& ThreadCollator() {
    return ThreadObjectFor<icu::Collator>(collationLocale, MakeCollator);
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

// The collator's verdict alone, without a tie-break.
int CollatorCompare(std::string_view a, std::string_view b) {
    UErrorCode status = U_ZERO_ERROR;
    UCollationResult result = ThreadCollator().compareUTF8(
        icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
        icu::StringPiece(b.data(), static_cast<int32_t>(b.size())), status);
    if (U_FAILURE(status))
        throw std::runtime_error("Text comparison failed: " + std::string(u_errorName(status)));
    return static_cast<int>(result);
}

} // namespace

int CompareTextNoCase(std::string_view a, std::string_view b) {
    const int result = CollatorCompare(a, b);
    if (result == 0 && a != b && (!IsValidUtf8(a) || !IsValidUtf8(b)))
        return Sign(a.compare(b));
    return result;
}

int CompareTextNoCaseForSort(std::string_view a, std::string_view b) {
    const int result = CollatorCompare(a, b);
    if (result != 0 || a == b)
        return result;
    const bool validA = IsValidUtf8(a), validB = IsValidUtf8(b);
    if (validA && validB)
        return 0;
    if (validA != validB)
        return validA ? -1 : 1;
    return Sign(a.compare(b));
}

uint64_t CollationKeyPart(std::string_view text, std::size_t offset) {
    UCharIterator iterator;
    uiter_setUTF8(&iterator, text.data(), static_cast<int32_t>(text.size()));
    const UCollator* collator = ThreadCollator().toUCollator();
    uint32_t state[2] = {0, 0};
    UErrorCode status = U_ZERO_ERROR;
    // A partial key goes on from its state. The key is produced in chunks up to the part's end,
    // the last chunk holding the whole part; one chunk does for the usual short offsets.
    uint8_t bytes[64];
    const std::size_t partEnd = offset + 8;
    std::size_t chunkStart = 0; // where in the key bytes[0] lies
    std::size_t count = 0;      // bytes in the chunk
    for (;;) {
        const std::size_t remaining = partEnd - chunkStart;
        const std::size_t wanted =
            remaining <= sizeof bytes ? remaining : std::min(sizeof bytes, offset - chunkStart);
        count = static_cast<std::size_t>(ucol_nextSortKeyPart(
            collator, &iterator, state, bytes, static_cast<int32_t>(wanted), &status));
        if (U_FAILURE(status))
            throw std::runtime_error("Collation key failed: " + std::string(u_errorName(status)));
        if (count < wanted || wanted == remaining)
            break; // the key ended, or the chunk holds the part
        chunkStart += count;
    }
    uint64_t part = 0;
    for (std::size_t i = offset; i < partEnd; ++i)
        part =
            (part << 8) | (i >= chunkStart && i < chunkStart + count ? bytes[i - chunkStart] : 0);
    return part;
}

void SetCollationLocale(const std::string& name) {
    collationLocale.Set(name);
}

} // namespace quorvane
