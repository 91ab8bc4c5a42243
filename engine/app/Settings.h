#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "duplicates/ProtectedFolders.h"
#include "reports/ProfileList.h"
#include "search/SearchCriteria.h"

namespace quorvane {

inline constexpr std::string_view kFiltersSection = "Filters";

// The size of the primary screen (not its work area), which centres a window that has no stored
// position.
struct TScreenSize {
    int Width = 0;
    int Height = 0;
};

// The main window's normal placement (its place and size when neither maximised nor minimised).
// Left and Top are relative to the work area: the GUI adds the work area's top-left corner when it
// places the window and takes it off when it fills this in before saving.
struct TWindowPlacement {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool Maximized = false; // written at exit, never read back
};

// Everything the configuration file keeps, as the main window (or the command line) holds it
// between LoadSettings and SaveSettings. A default-constructed value holds every default.
struct TSettings {
    TSettings();

    bool UseSkin;
    std::string MoveDir; // last destination of "&Move to folder"
    std::string ZipFile; // last archive of "Compress to &zip"
    bool BlockDelete;    // no delete or move of files whose contents were not compared
    bool SeparateGroups;
    bool CopyOnDblClick;
    bool DontShowCompareMessage;
    // Only a front end with a window has one: without it the stored placement stays untouched.
    std::optional<TWindowPlacement> Window;
    TProtectedFolders ProtectedFolders;
    TSavedProfiles SavedProfiles;
    SearchCriteria Criteria;
};

// What LoadSettings needs to know about the machine and the front end.
struct TSettingsEnvironment {
    std::optional<TScreenSize> Screen;        // the GUI's primary screen; none for the CLI
    std::vector<std::string> SystemFolders;   // protected on the first start (SystemFolders())
    std::vector<std::string> FixedDriveRoots; // include folders when the last criteria have none
};

// The folders whose files a first start protects, with their subfolders: "usr/", "etc/", "boot/"
// under `root`, and each of "bin/", "sbin/", "lib/", "lib64/" that is a real folder there, not a
// symbolic link (on a merged-/usr system those are links into /usr, already protected). `root`
// ends with "/"; tests point it at a temporary folder.
std::vector<std::string> SystemFolders(const std::string& root = "/");

// Reads the whole configuration file into `settings` (the current criteria give the defaults of
// the search options, except the compare mode, which falls back to "do not compare"). On the
// first start the system folders are added to the protected folders, unless listed already in
// any letter case. Then writes the default result filters that are missing, so that a deleted one
// comes back. A missing or unreadable file gives every default. If the filters cannot be written,
// throws TIniWriteError once `settings` is complete.
void LoadSettings(const std::string& configFile, TSettings& settings,
                  const TSettingsEnvironment& environment);

// Reads the configuration file into `settings` as LoadSettings does, but writes nothing: for a
// front end that only consults the user's settings and must leave the file as it is.
void ReadSettings(const std::string& configFile, TSettings& settings,
                  const TSettingsEnvironment& environment);

// Writes the settings into the configuration file in one atomic replace: the search criteria, the
// settings, the window placement (when there is one), the first five saved profiles, the
// protected folders ("N" for a folder protected alone) and the end of the first start. Sections
// it does not own, such as the result filters, stay as they are in the file. Throws
// TIniWriteError ("Unable to write to " + file name) when the file cannot be written; the old
// file then stays whole.
void SaveSettings(const std::string& configFile, const TSettings& settings);

// Whether the main window has never been shown (Config/FirstShow, yes when missing), and the
// record, written at once, that it has. MarkFirstShown throws TIniWriteError when the file cannot
// be written.
bool IsFirstShow(const std::string& configFile);
void MarkFirstShown(const std::string& configFile);

} // namespace quorvane
