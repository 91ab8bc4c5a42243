#include "search/UnreadFolders.h"

#include <algorithm>

namespace quorvane {
namespace {

// Enough to see what kind of folders they are; a hint of more lines would not fit the screen.
constexpr std::size_t kHintedFolders = 5;

} // namespace

std::string UnreadFoldersStatus(const TUnreadFolders& folders) {
    if (folders.empty())
        return {};
    return std::to_string(folders.size()) +
           (folders.size() == 1 ? " unread folder" : " unread folders");
}

std::string UnreadFoldersHint(const TUnreadFolders& folders) {
    if (folders.empty())
        return {};
    std::string hint = "Folders that could not be read:";
    const std::size_t shown = std::min(folders.size(), kHintedFolders);
    for (std::size_t i = 0; i < shown; ++i)
        hint += "\n" + folders[i].Path + ": " + folders[i].Reason;
    if (folders.size() > shown)
        hint += "\n... and " + std::to_string(folders.size() - shown) + " more";
    return hint;
}

} // namespace quorvane
