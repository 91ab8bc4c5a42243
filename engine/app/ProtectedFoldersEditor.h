#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "duplicates/ProtectedFolders.h"

namespace quorvane {

inline constexpr std::string_view kFolderDoesNotExistText = "Folder does not exist";
inline constexpr std::string_view kReplaceFolderSettingsText =
    "Directory already exists.\r\nReplace settings?";
inline constexpr std::string_view kRemoveSystemFolderText =
    "You are removing a system directory from your protected folders.\rDoing so, files in that "
    "folder can be deleted and that could trash your system.\rAre you sure you want to remove it?";

// The rows of the settings dialog's protected-folder grid ("Sub" is TProtectedFolder::Subfolders)
// and the rules for adding and removing them. Rows are looked up without regard to letter case.
class TProtectedFoldersEditor {
public:
    // The system folders (SystemFolders()) ask before they leave the list.
    explicit TProtectedFoldersEditor(std::vector<std::string> systemFolders);

    const TProtectedFolders& Rows() const { return FRows; }
    void SetRows(TProtectedFolders rows) { FRows = std::move(rows); }
    void SetSubfolders(std::size_t row, bool subfolders) { FRows.at(row).Subfolders = subfolders; }

    enum class TAddResult {
        NothingTyped, // the edit was empty: nothing happens
        NoSuchFolder, // show kFolderDoesNotExistText
        Appended,
        Replaced, // the folder was listed and the user chose to take the new "Sub" setting
        Kept,     // the folder was listed and the user kept its row as it was
    };
    // Adds the typed folder with its "Sub" setting. A folder already listed gets no second row:
    // `confirmReplace` asks kReplaceFolderSettingsText and on yes the row takes `subfolders`.
    TAddResult Add(std::string_view typed, bool subfolders,
                   const std::function<bool()>& confirmReplace);

    // Removes the row; a system folder only when `confirmSystemFolder` (asking
    // kRemoveSystemFolderText) says yes. Returns whether the row went.
    bool Remove(std::size_t row, const std::function<bool()>& confirmSystemFolder);

    std::optional<std::size_t> Find(std::string_view path) const;
    bool IsSystemFolder(std::string_view path) const;

    // The folder as a row holds it: absolute, with "." and ".." steps and repeated "/" resolved
    // (a row must match the folder paths the search produces) and a trailing "/". Empty for a
    // relative path, which names no folder the user could mean.
    static std::string NormalizeFolder(std::string_view typed);

private:
    std::vector<std::string> FSystemFolders;
    TProtectedFolders FRows;
};

} // namespace quorvane
