// A profile file: loading never fails on its bytes, and the criteria read from it, written to a
// profile and read again, are the same (an entry listed twice, as a section given twice gives
// it, is kept once).
#include <algorithm>

#include "FuzzInput.h"
#include "reports/Profile.h"

using namespace quorvane;

namespace {

std::vector<std::string> FirstOfEach(std::vector<std::string> entries) {
    std::vector<std::string> kept;
    for (std::string& entry : entries)
        if (std::find(kept.begin(), kept.end(), entry) == kept.end())
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
    fuzz::Require(FirstOfEach(again.IncludeFolders) == FirstOfEach(read.IncludeFolders) &&
                  FirstOfEach(again.ExcludeFolders) == FirstOfEach(read.ExcludeFolders) &&
                  FirstOfEach(again.IncludeFiles) == FirstOfEach(read.IncludeFiles) &&
                  FirstOfEach(again.ExcludeFiles) == FirstOfEach(read.ExcludeFiles) &&
                  again.CompareMode == read.CompareMode && again.GroupOrder == read.GroupOrder);
    return 0;
}
