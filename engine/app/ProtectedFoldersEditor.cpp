#include "app/ProtectedFoldersEditor.h"

#include <algorithm>
#include <filesystem>

#include "platform/TextCompare.h"

namespace quorvane {

TProtectedFoldersEditor::TProtectedFoldersEditor(std::vector<std::string> systemFolders)
    : FSystemFolders(std::move(systemFolders)) {}

std::string TProtectedFoldersEditor::NormalizeFolder(std::string_view typed) {
    if (!typed.starts_with('/'))
        return {};
    std::vector<std::string_view> names;
    while (!typed.empty()) {
        const auto slash = typed.find('/');
        const std::string_view name = typed.substr(0, slash);
        if (name == "..") {
            if (!names.empty())
                names.pop_back();
        } else if (!name.empty() && name != ".") {
            names.push_back(name);
        }
        typed.remove_prefix(slash == std::string_view::npos ? typed.size() : slash + 1);
    }
    std::string folder = "/";
    for (const std::string_view name : names) {
        folder += name;
        folder += '/';
    }
    return folder;
}

std::optional<std::size_t> TProtectedFoldersEditor::Find(std::string_view path) const {
    for (std::size_t row = 0; row < FRows.size(); ++row)
        if (SameTextNoCase(FRows[row].Path, path))
            return row;
    return std::nullopt;
}

bool TProtectedFoldersEditor::IsSystemFolder(std::string_view path) const {
    return std::any_of(FSystemFolders.begin(), FSystemFolders.end(),
                       [&](const std::string& system) { return SameTextNoCase(system, path); });
}

TProtectedFoldersEditor::TAddResult
TProtectedFoldersEditor::Add(std::string_view typed, bool subfolders,
                             const std::function<bool()>& confirmReplace) {
    if (typed.empty())
        return TAddResult::NothingTyped;
    const std::string folder = NormalizeFolder(typed);
    std::error_code error;
    if (folder.empty() || !std::filesystem::is_directory(folder, error))
        return TAddResult::NoSuchFolder;
    if (const auto row = Find(folder)) {
        if (!confirmReplace())
            return TAddResult::Kept;
        FRows[*row].Subfolders = subfolders;
        return TAddResult::Replaced;
    }
    FRows.push_back({folder, subfolders});
    return TAddResult::Appended;
}

bool TProtectedFoldersEditor::Remove(std::size_t row,
                                     const std::function<bool()>& confirmSystemFolder) {
    if (row >= FRows.size())
        return false;
    if (IsSystemFolder(FRows[row].Path) && !confirmSystemFolder())
        return false;
    FRows.erase(FRows.begin() + static_cast<std::ptrdiff_t>(row));
    return true;
}

} // namespace quorvane
