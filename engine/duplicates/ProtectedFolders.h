#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// A folder whose files may not be checked for file actions, alone or with every folder below it.
struct TProtectedFolder {
    std::string Path; // ends with "/"
    bool Subfolders = true;
};

using TProtectedFolders = std::vector<TProtectedFolder>;

// Whether a file in the folder (ending with "/") is protected by the first entry that matches.
bool IsProtectedFolder(const TProtectedFolders& folders, std::string_view folderPath);

} // namespace quorvane
