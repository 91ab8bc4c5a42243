#include "duplicates/ProtectedFolders.h"

#include "platform/TextCompare.h"

namespace quorvane {
namespace {

bool Matches(const TProtectedFolder& entry, std::string_view folderPath) {
    if (!entry.Subfolders)
        return SameTextNoCase(folderPath, entry.Path);
    // The entry and the folder both end with "/", so a sibling whose name merely begins like
    // the entry's last folder differs from it at that "/".
    return folderPath.size() >= entry.Path.size() &&
           SameTextNoCase(folderPath.substr(0, entry.Path.size()), entry.Path);
}

} // namespace

bool IsProtectedFolder(const TProtectedFolders& folders, std::string_view folderPath) {
    for (const TProtectedFolder& entry : folders)
        if (Matches(entry, folderPath))
            return true;
    return false;
}

} // namespace quorvane
