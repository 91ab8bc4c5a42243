#include "results/ResultView.h"

#include <array>
#include <limits>
#include <stdexcept>
#include <string>

#include "platform/TextCompare.h"
#include "platform/Utf8.h"

namespace quorvane {
namespace {

std::size_t CodePointCount(std::string_view text) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < text.size(); ++count)
        i += Utf8CharAt(text, i).Length;
    return count;
}

// The first `count` code points of the text (all of it when shorter).
std::string_view CodePointPrefix(std::string_view text, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t i = 0; i < count && end < text.size(); ++i)
        end += Utf8CharAt(text, end).Length;
    return text.substr(0, end);
}

// Printable ASCII: characters the collator never ignores.
bool IsPrintableAscii(unsigned char c) {
    return c >= 0x20 && c < 0x7F;
}

// Whether the beginning of a name matches a typed text, told without the collator while both are
// made of printable ASCII characters: those are compared character by character, and the
// collator's verdict on each pair of characters is asked once and remembered. (The collator
// ignores none of them, and no locale joins two of them into a letter that equals another pair.)
// Most names differ from what was typed within their first characters, so a search over a
// million rows asks the collator about a few of them only.
class TAsciiPrefixMatcher {
public:
    enum TVerdict { vdDiffers, vdMatches, vdUndecided };

    TVerdict Match(std::string_view name, std::string_view typed) {
        for (std::size_t i = 0; i < typed.size(); ++i) {
            const auto t = static_cast<unsigned char>(typed[i]);
            if (i == name.size())
                return IsPrintableAscii(t) ? vdDiffers : vdUndecided;
            const auto n = static_cast<unsigned char>(name[i]);
            if (!IsPrintableAscii(t) || !IsPrintableAscii(n))
                return vdUndecided;
            if (!SameCharacter(n, t))
                return vdDiffers;
        }
        return vdMatches;
    }

private:
    bool SameCharacter(unsigned char a, unsigned char b) {
        int8_t& known = FSame[a][b];
        if (known < 0)
            known = SameTextNoCase(std::string_view(reinterpret_cast<const char*>(&a), 1),
                                   std::string_view(reinterpret_cast<const char*>(&b), 1))
                        ? 1
                        : 0;
        return known == 1;
    }

    // By character pair: -1 not asked yet, 0 differ, 1 the same.
    std::array<std::array<int8_t, 128>, 128> FSame = [] {
        std::array<std::array<int8_t, 128>, 128> unknown;
        for (auto& row : unknown)
            row.fill(-1);
        return unknown;
    }();
};

} // namespace

void TResultView::Load(const TFilesList& files, std::vector<TResultRow> rows,
                       const TResultLayout& layout, const TPump& pump) {
    // New rows keep the filter: the user switched it on for the results, not for one search.
    TRowPredicate predicate = std::move(FPredicate);
    *this = TResultView();
    FPredicate = predicate;
    if (rows.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()))
        throw std::out_of_range("Too many result rows: " + std::to_string(rows.size()));
    for (const TResultRow& row : rows)
        if (row.FilePosition >= files.Count())
            throw std::out_of_range("A result row points to file position " +
                                    std::to_string(row.FilePosition) + " of a list of " +
                                    std::to_string(files.Count()) + " files");
    FOrder.Build(files, rows, layout.GroupingColumns(), pump);
    FFiles = &files;
    FRows = std::move(rows);
    FLayout = layout;
    SetFilter(std::move(predicate), pump);
}

void TResultView::SetFilter(TRowPredicate predicate, const TPump& pump) {
    std::vector<uint8_t> passes(FRows.size(), 1);
    if (predicate) {
        TPumpCounter counter(pump);
        for (uint32_t record = 0; record < FRows.size(); ++record) {
            passes[record] = predicate(FRows[record], File(record)) ? 1 : 0;
            counter.Tick();
        }
    }
    FPredicate = std::move(predicate);
    ShowPassing(passes, pump);
}

void TResultView::ShowPassing(const std::vector<uint8_t>& passes, const TPump& pump) {
    FPassing.clear();
    FPosition.assign(FRows.size(), -1);
    for (uint32_t record : FOrder.Records()) {
        if (!passes[record])
            continue;
        FPosition[record] = static_cast<int32_t>(FPassing.size());
        FPassing.push_back(record);
    }
    FGroups.Build(FOrder, FPassing, pump);
}

int64_t TResultView::FindNamePrefix(std::string_view typed) const {
    if (typed.empty())
        return FPassing.empty() ? -1 : 0;
    const std::size_t typedLength = CodePointCount(typed);
    TAsciiPrefixMatcher ascii;
    for (std::size_t position = 0; position < FPassing.size(); ++position) {
        const std::string_view name = File(FPassing[position]).Name;
        const TAsciiPrefixMatcher::TVerdict verdict = ascii.Match(name, typed);
        if (verdict == TAsciiPrefixMatcher::vdMatches)
            return static_cast<int64_t>(position);
        if (verdict == TAsciiPrefixMatcher::vdDiffers)
            continue;
        if (SameTextNoCase(CodePointPrefix(name, typedLength), typed))
            return static_cast<int64_t>(position);
    }
    return -1;
}

} // namespace quorvane
