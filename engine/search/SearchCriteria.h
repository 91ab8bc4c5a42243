#pragma once

#include <string>
#include <vector>

#include "duplicates/CompareMode.h"
#include "duplicates/GroupOrder.h"

namespace quorvane {

// What to search and how to group: kept by the main window, edited by the search options dialog,
// stored in profiles. The search reads the first seven fields.
struct SearchCriteria {
    std::vector<std::string> IncludeFolders; // absolute folders; a trailing "/" is optional
    std::vector<std::string> ExcludeFolders; // absolute folders ending with "/"
    std::vector<std::string> IncludeFiles{"*.*"};
    std::vector<std::string> ExcludeFiles;
    bool IncludeSysFolders = false;
    bool IncludeSysFiles = false;
    bool ShowZeroBytes = false;
    TCompareMode CompareMode = cmNone;
    TGroupOrder GroupOrder = goNameSize;

    // The first-start values: every fixed drive's root as include folders.
    static SearchCriteria Initial();
};

} // namespace quorvane
