#pragma once

#include <string>
#include <vector>

namespace quorvane {

// A folder the walk could not read, and why, as the system says it ("Permission denied").
struct TUnreadFolder {
    std::string Path; // ending with "/"
    std::string Reason;
};
using TUnreadFolders = std::vector<TUnreadFolder>;

// The status bar's word at the end of a search: "1 unread folder", "3 unread folders", or empty
// when every folder was read.
std::string UnreadFoldersStatus(const TUnreadFolders& folders);
// The hint of that word: the first few folders with their reasons, then how many more there are.
std::string UnreadFoldersHint(const TUnreadFolders& folders);

} // namespace quorvane
