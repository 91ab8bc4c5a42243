#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/IniFile.h"
#include "search/SearchCriteria.h"

namespace quorvane {

// A profile is an INI file (".qvp") of five sections holding one set of search criteria. The
// configuration file holds the last criteria in the same five sections, read and written by the
// same functions, so the writer touches nothing else in a file.
inline constexpr std::string_view kIncludeFoldersSection = "IncludeFolders";
inline constexpr std::string_view kExcludeFoldersSection = "ExcludeFolders";
inline constexpr std::string_view kIncludeFilesSection = "IncludeFiles";
inline constexpr std::string_view kExcludeFilesSection = "ExcludeFiles";
inline constexpr std::string_view kSearchOptsSection = "SearchOpts";

inline constexpr std::string_view kProfileCaptionPrefix = "Quorvane 2.0 - ";
inline constexpr std::string_view kCouldNotSaveProfileText =
    "Could not save profile.\r\nPlease, check if you have write access to the folder";

// Writes the criteria into the file's text in memory: erases the four list sections, writes each
// list entry as a key with an empty value, in list order (an entry the format cannot hold, such
// as a name with a line break, is left out), then replaces the five SearchOpts keys, keeping any
// other key of that section. An entry given twice is written once; folders whose names differ
// only in letter case are two folders and are both written (masks keep the case-blind rule).
void WriteProfile(TIniFile& ini, const SearchCriteria& criteria);

// Reads criteria: each list is replaced by its section's key names (empty when the section is
// missing); each option not in the file, unreadable, or out of its range (CompareMode 0..3,
// GroupOrder 0..4) takes its value from `defaults`. Empty lists stay empty.
SearchCriteria ReadProfile(const TIniFile& ini, const SearchCriteria& defaults);

// An entry of a list section that the reader left out because the section's names overflow the
// reader's key-name buffer (TIniFile::kKeyNamesBufferBytes); the list read holds the entries
// before it. Section is the section's name as written by WriteProfile, such as "IncludeFolders".
struct TUnreadProfileEntry {
    std::string_view Section;
    std::string Entry;
};

// The entries ReadProfile could not read, section by section in the order written, each section's
// in file order. Empty for every profile this program writes with fewer than 16 KiB of names.
std::vector<TUnreadProfileEntry> UnreadProfileEntries(const TIniFile& ini);
// What to tell the user about them: the file, how many entries were left out and the first
// few, each cut to a readable length. Empty when there are none.
std::string UnreadProfileEntriesText(std::string_view fileName,
                                     const std::vector<TUnreadProfileEntry>& unread);

// The defaults of a loaded profile: no include folders means every fixed drive's root, no include
// masks means "*.*".
void ApplyEmptyListDefaults(SearchCriteria& criteria,
                            const std::vector<std::string>& fixedDriveRoots);

// "Quorvane 2.0 - " followed by the file name without folder and extension.
std::string ProfileCaption(std::string_view fileName);

// Writes the criteria into the file in one atomic replace. Throws TIniWriteError
// ("Unable to write to " + file name) when it cannot; the old file then stays whole.
void WriteProfileFile(const std::string& fileName, const SearchCriteria& criteria);

// The main window's writer. A write failure is reported through Saved (show
// kCouldNotSaveProfileText); the file then stays as it was. Caption is the new window caption,
// empty when the file is the configuration file (names compared exactly) or nothing was saved.
struct TProfileSaveResult {
    bool Saved = false;
    std::optional<std::string> Caption;
};
TProfileSaveResult SaveProfile(const std::string& fileName, const SearchCriteria& criteria,
                               const std::string& configFileName);

// The main window's reader. A missing or unreadable file reads as one without sections. The
// options default to the current criteria's values, except CompareMode, which falls back to "do
// not compare"; empty lists then take their defaults. Caption as for SaveProfile. UnreadEntries
// are the entries too long to be read (UnreadProfileEntries), which the caller should report.
struct TProfileLoadResult {
    SearchCriteria Criteria;
    std::optional<std::string> Caption;
    std::vector<TUnreadProfileEntry> UnreadEntries;
};
TProfileLoadResult LoadProfile(const std::string& fileName, const SearchCriteria& current,
                               const std::string& configFileName,
                               const std::vector<std::string>& fixedDriveRoots);

// The command line's reader, for which a file it cannot use must not pass for a profile without
// criteria: throws std::runtime_error naming the file when it cannot be read or holds none of the
// five sections. Options default as for LoadProfile; the lists are the file's, empty ones too,
// for the caller to complete. When `unreadEntries` is given, it receives the entries too long to
// be read (UnreadProfileEntries), for the caller to report.
SearchCriteria ReadProfileFile(const std::string& fileName, const SearchCriteria& current,
                               std::vector<TUnreadProfileEntry>* unreadEntries = nullptr);

// The text shown when a recent profile's file has gone.
std::string ProfileNoLongerExistsText(std::string_view fileName);

} // namespace quorvane
