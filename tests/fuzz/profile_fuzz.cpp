// A profile file: loading never fails on its bytes, and the criteria read from it, written to a
// profile and read again, are the same (an entry listed twice, as a section given twice gives
// it, is kept once).
#include <algorithm>

#include "FuzzInput.h"
#include "platform/IniNameIndex.h"
#include "reports/Profile.h"

using namespace quorvane;

namespace {

// Folder lists keep names that differ only in letter case; mask lists take them as one mask.
std::vector<std::string> FirstOfEach(std::vector<std::string> entries, bool exactCase) {
    const auto same = [exactCase](const std::string& a, const std::string& b) {
        return exactCase ? a == b : TIniNameIndex::SameName(a, b, false);
    };
    std::vector<std::string> kept;
    for (std::string& entry : entries)
        if (std::none_of(kept.begin(), kept.end(),
                         [&](const std::string& k) { return same(k, entry); }))
            kept.push_back(std::move(entry));
    return kept;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const TIniFile ini(fuzz::WriteInputFile(fuzz::AsText(data, size), ".qvp"));
    const SearchCriteria read = ReadProfile(ini, SearchCriteria{});
    TIniFile written(fuzz::WriteInputFile("", ".copy.qvp"));
    WriteProfile(written, read);
    const TIniFile reread(fuzz::WriteInputFile(written.Text(), ".copy.qvp"));
    const SearchCriteria again = ReadProfile(reread, SearchCriteria{});
    fuzz::Require(
        FirstOfEach(again.IncludeFolders, true) == FirstOfEach(read.IncludeFolders, true) &&
        FirstOfEach(again.ExcludeFolders, true) == FirstOfEach(read.ExcludeFolders, true) &&
        FirstOfEach(again.IncludeFiles, false) == FirstOfEach(read.IncludeFiles, false) &&
        FirstOfEach(again.ExcludeFiles, false) == FirstOfEach(read.ExcludeFiles, false) &&
        again.CompareMode == read.CompareMode && again.GroupOrder == read.GroupOrder);
    return 0;
}
