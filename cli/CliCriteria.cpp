#include "CliCriteria.h"

#include <filesystem>
#include <stdexcept>

#include "reports/Profile.h"

namespace quorvane::cli {
namespace {

std::string AbsoluteFolder(const std::string& folder) {
    std::string path = std::filesystem::absolute(folder).lexically_normal().string();
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

// A folder that is not there is a mistake on the command line, not a part of the search that
// failed: it stops the run. Other failures to look at it are left to the walk, which says so.
void CheckNamedFolder(const std::string& folder) {
    std::error_code error;
    const auto status = std::filesystem::status(folder, error);
    if (status.type() == std::filesystem::file_type::not_found)
        throw std::runtime_error("cannot search " + folder + ": No such file or directory");
    if (!error && status.type() != std::filesystem::file_type::directory)
        throw std::runtime_error("cannot search " + folder + ": Not a directory");
}

} // namespace

SearchCriteria CriteriaFor(const TCliOptions& options,
                           const std::vector<std::string>& fixedDriveRoots) {
    SearchCriteria criteria;
    criteria.IncludeFolders.clear();
    if (!options.Profile.empty()) {
        // A search that silently left out part of the profile would look like the whole one.
        std::vector<TUnreadProfileEntry> unread;
        criteria = ReadProfileFile(options.Profile, criteria, &unread);
        if (!unread.empty())
            throw std::runtime_error(UnreadProfileEntriesText(options.Profile, unread));
    }
    for (const std::string& folder : options.Folders) {
        CheckNamedFolder(folder);
        criteria.IncludeFolders.push_back(AbsoluteFolder(folder));
    }
    if (!options.Profile.empty())
        ApplyEmptyListDefaults(criteria, fixedDriveRoots);
    for (const std::string& folder : options.ExcludeFolders)
        criteria.ExcludeFolders.push_back(AbsoluteFolder(folder));
    if (!options.IncludeMasks.empty())
        criteria.IncludeFiles = options.IncludeMasks;
    criteria.ExcludeFiles.insert(criteria.ExcludeFiles.end(), options.ExcludeMasks.begin(),
                                 options.ExcludeMasks.end());
    criteria.IncludeSysFolders = criteria.IncludeSysFolders || options.HiddenFolders;
    criteria.IncludeSysFiles = criteria.IncludeSysFiles || options.HiddenFiles;
    criteria.ShowZeroBytes = criteria.ShowZeroBytes || options.ZeroBytes;
    if (options.GroupOrder)
        criteria.GroupOrder = *options.GroupOrder;
    if (options.CompareMode)
        criteria.CompareMode = *options.CompareMode;
    return criteria;
}

} // namespace quorvane::cli
