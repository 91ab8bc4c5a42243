#include "reports/Profile.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "platform/AtomicFile.h"

namespace quorvane {
namespace {

struct TListSection {
    std::string_view Name;
    std::vector<std::string> SearchCriteria::*List;
    bool FolderPaths; // keys compare exactly: "/data/Photos/" and "/data/photos/" are two folders
};

// The four list sections, in the order they are erased and written.
constexpr TListSection kListSections[] = {
    {kIncludeFoldersSection, &SearchCriteria::IncludeFolders, true},
    {kExcludeFoldersSection, &SearchCriteria::ExcludeFolders, true},
    {kIncludeFilesSection, &SearchCriteria::IncludeFiles, false},
    {kExcludeFilesSection, &SearchCriteria::ExcludeFiles, false},
};

// A loaded profile's options default to the current criteria, except that it compares contents
// only when it says so.
SearchCriteria ProfileDefaults(const SearchCriteria& current) {
    SearchCriteria defaults = current;
    defaults.CompareMode = cmNone;
    return defaults;
}

int ReadInRange(const TIniFile& ini, std::string_view key, int defaultValue, int low, int high) {
    const int value = ini.ReadInteger(kSearchOptsSection, key, defaultValue);
    return value >= low && value <= high ? value : defaultValue;
}

} // namespace

void WriteProfile(TIniFile& ini, const SearchCriteria& criteria) {
    for (const TListSection& section : kListSections) {
        if (section.FolderPaths)
            ini.CompareKeysExactly(section.Name);
        ini.EraseSection(section.Name);
    }
    for (const TListSection& section : kListSections)
        for (const std::string& entry : criteria.*section.List)
            if (TIniFile::CanStoreKey(entry))
                ini.WriteString(section.Name, entry, "");
    ini.WriteBool(kSearchOptsSection, "IncludeSysFolders", criteria.IncludeSysFolders);
    ini.WriteBool(kSearchOptsSection, "IncludeSysFiles", criteria.IncludeSysFiles);
    ini.WriteBool(kSearchOptsSection, "ShowZeroBytes", criteria.ShowZeroBytes);
    ini.WriteInteger(kSearchOptsSection, "CompareMode", criteria.CompareMode);
    ini.WriteInteger(kSearchOptsSection, "GroupOrder", criteria.GroupOrder);
}

SearchCriteria ReadProfile(const TIniFile& ini, const SearchCriteria& defaults) {
    SearchCriteria criteria;
    for (const TListSection& section : kListSections)
        criteria.*section.List = ini.ReadSection(section.Name);
    criteria.IncludeSysFolders =
        ini.ReadBool(kSearchOptsSection, "IncludeSysFolders", defaults.IncludeSysFolders);
    criteria.IncludeSysFiles =
        ini.ReadBool(kSearchOptsSection, "IncludeSysFiles", defaults.IncludeSysFiles);
    criteria.ShowZeroBytes =
        ini.ReadBool(kSearchOptsSection, "ShowZeroBytes", defaults.ShowZeroBytes);
    // Values outside the ranges name no compare mode or group order; they would make the later
    // stages index past their tables, so they read as unreadable.
    criteria.CompareMode =
        static_cast<TCompareMode>(ReadInRange(ini, "CompareMode", defaults.CompareMode, 0, 3));
    criteria.GroupOrder =
        static_cast<TGroupOrder>(ReadInRange(ini, "GroupOrder", defaults.GroupOrder, 0, 4));
    return criteria;
}

std::vector<TUnreadProfileEntry> UnreadProfileEntries(const TIniFile& ini) {
    std::vector<TUnreadProfileEntry> unread;
    for (const TListSection& section : kListSections)
        for (std::string& entry : ini.KeyNamesPastBuffer(section.Name))
            unread.push_back({section.Name, std::move(entry)});
    return unread;
}

std::string UnreadProfileEntriesText(std::string_view fileName,
                                     const std::vector<TUnreadProfileEntry>& unread) {
    if (unread.empty())
        return {};
    constexpr std::size_t kShown = 3, kShownBytes = 80;
    std::string text = "The profile " + std::string(fileName) +
                       " lists more than can be read: " + std::to_string(unread.size()) +
                       (unread.size() == 1 ? " entry" : " entries") +
                       " left out of the search criteria:";
    for (std::size_t i = 0; i < unread.size() && i < kShown; ++i) {
        const std::string& entry = unread[i].Entry;
        text += "\n[" + std::string(unread[i].Section) + "] " + entry.substr(0, kShownBytes) +
                (entry.size() > kShownBytes ? "..." : "");
    }
    if (unread.size() > kShown)
        text += "\n... and " + std::to_string(unread.size() - kShown) + " more";
    return text;
}

void ApplyEmptyListDefaults(SearchCriteria& criteria,
                            const std::vector<std::string>& fixedDriveRoots) {
    if (criteria.IncludeFolders.empty())
        criteria.IncludeFolders = fixedDriveRoots;
    if (criteria.IncludeFiles.empty())
        criteria.IncludeFiles = {"*.*"};
}

std::string ProfileCaption(std::string_view fileName) {
    std::string_view name = fileName.substr(fileName.rfind('/') + 1);
    // A leading dot starts a hidden name, not an extension.
    if (const auto dot = name.rfind('.'); dot != std::string_view::npos && dot > 0)
        name = name.substr(0, dot);
    return std::string(kProfileCaptionPrefix) + std::string(name);
}

void WriteProfileFile(const std::string& fileName, const SearchCriteria& criteria) {
    TIniFile ini(fileName);
    WriteProfile(ini, criteria);
    ini.UpdateFile();
}

TProfileSaveResult SaveProfile(const std::string& fileName, const SearchCriteria& criteria,
                               const std::string& configFileName) {
    TProfileSaveResult result;
    try {
        WriteProfileFile(fileName, criteria);
    } catch (const TIniWriteError&) {
        return result;
    }
    result.Saved = true;
    if (fileName != configFileName)
        result.Caption = ProfileCaption(fileName);
    return result;
}

TProfileLoadResult LoadProfile(const std::string& fileName, const SearchCriteria& current,
                               const std::string& configFileName,
                               const std::vector<std::string>& fixedDriveRoots) {
    const TIniFile ini(fileName);
    TProfileLoadResult result;
    result.Criteria = ReadProfile(ini, ProfileDefaults(current));
    result.UnreadEntries = UnreadProfileEntries(ini);
    ApplyEmptyListDefaults(result.Criteria, fixedDriveRoots);
    if (fileName != configFileName)
        result.Caption = ProfileCaption(fileName);
    return result;
}

SearchCriteria ReadProfileFile(const std::string& fileName, const SearchCriteria& current,
                               std::vector<TUnreadProfileEntry>* unreadEntries) {
    const TIniFile ini(fileName);
    const std::string_view sections[] = {kIncludeFoldersSection, kExcludeFoldersSection,
                                         kIncludeFilesSection, kExcludeFilesSection,
                                         kSearchOptsSection};
    const auto present = [&ini](std::string_view section) { return ini.SectionExists(section); };
    if (std::none_of(std::begin(sections), std::end(sections), present)) {
        // The INI reader takes an unreadable file for an empty one: read it again for the reason.
        ReadWholeFile(fileName);
        throw std::runtime_error(fileName + " is not a profile: it has none of the sections " +
                                 "IncludeFolders, ExcludeFolders, IncludeFiles, ExcludeFiles " +
                                 "and SearchOpts");
    }
    if (unreadEntries)
        *unreadEntries = UnreadProfileEntries(ini);
    return ReadProfile(ini, ProfileDefaults(current));
}

std::string ProfileNoLongerExistsText(std::string_view fileName) {
    return "Profile " + std::string(fileName) + " no longer exists";
}

} // namespace quorvane
