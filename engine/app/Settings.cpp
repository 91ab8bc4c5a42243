#include "app/Settings.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <variant>

#include "platform/IniFile.h"
#include "platform/TextCompare.h"
#include "reports/Profile.h"
#include "results/DefaultFilters.h"

namespace quorvane {
namespace {

constexpr std::string_view kConfigSection = "Config";
constexpr std::string_view kSettingsSection = "Settings";
constexpr std::string_view kProtectedFoldersSection = "ProtectedFolders";

// The keys of the Config and Settings sections. The settings the program holds in TSettings are
// in the table below, with their defaults; the others are read and written by their own steps.
constexpr std::string_view kFirstTimeKey = "FirstTime"; // yes when missing; written as no
constexpr std::string_view kFirstShowKey = "FirstShow"; // yes when missing
constexpr std::string_view kWidthKey = "Width";         // kDefaultWidth when missing
constexpr std::string_view kHeightKey = "Height";       // kDefaultHeight when missing
constexpr std::string_view kTopKey = "Top";             // centred on the screen when missing
constexpr std::string_view kLeftKey = "Left";           // centred on the screen when missing
constexpr std::string_view kMaximizedKey = "Maximized"; // written only
constexpr int kDefaultWidth = 750;
constexpr int kDefaultHeight = 560;

constexpr std::string_view kFolderAloneValue = "N";

struct TFlagKey {
    bool TSettings::*Field;
    bool Default;
};
struct TTextKey {
    std::string TSettings::*Field;
    std::string_view Default;
};
struct TSettingKey {
    std::string_view Section;
    std::string_view Name;
    std::variant<TFlagKey, TTextKey> Value;
};

const TSettingKey kSettingKeys[] = {
    {kConfigSection, "UseSkin", TFlagKey{&TSettings::UseSkin, true}},
    {kSettingsSection, "MoveDir", TTextKey{&TSettings::MoveDir, ""}},
    {kSettingsSection, "ZipFile", TTextKey{&TSettings::ZipFile, ""}},
    {kSettingsSection, "BlockDelete", TFlagKey{&TSettings::BlockDelete, true}},
    {kSettingsSection, "SeparateGroups", TFlagKey{&TSettings::SeparateGroups, true}},
    {kSettingsSection, "CopyOnDblClick", TFlagKey{&TSettings::CopyOnDblClick, false}},
    {kSettingsSection, "DontShowCompareMessage",
     TFlagKey{&TSettings::DontShowCompareMessage, false}},
};

void ReadSettingKeys(const TIniFile& ini, TSettings& settings) {
    for (const TSettingKey& key : kSettingKeys) {
        if (const auto* flag = std::get_if<TFlagKey>(&key.Value))
            settings.*flag->Field = ini.ReadBool(key.Section, key.Name, flag->Default);
        else if (const auto* text = std::get_if<TTextKey>(&key.Value))
            settings.*text->Field = ini.ReadString(key.Section, key.Name, text->Default);
    }
}

void WriteSettingKeys(TIniFile& ini, const TSettings& settings) {
    for (const TSettingKey& key : kSettingKeys) {
        if (const auto* flag = std::get_if<TFlagKey>(&key.Value)) {
            ini.WriteBool(key.Section, key.Name, settings.*flag->Field);
        } else if (const auto* text = std::get_if<TTextKey>(&key.Value)) {
            // A text the format cannot hold (a line break in a folder name) keeps the stored one.
            if (TIniFile::CanStoreValue(settings.*text->Field))
                ini.WriteString(key.Section, key.Name, settings.*text->Field);
        }
    }
}

TWindowPlacement ReadWindowPlacement(const TIniFile& ini, TScreenSize screen) {
    TWindowPlacement placement;
    placement.Width = ini.ReadInteger(kSettingsSection, kWidthKey, kDefaultWidth);
    placement.Height = ini.ReadInteger(kSettingsSection, kHeightKey, kDefaultHeight);
    // Integer division truncates toward zero, also for a window larger than the screen.
    placement.Top =
        ini.ReadInteger(kSettingsSection, kTopKey, (screen.Height - placement.Height) / 2);
    placement.Left =
        ini.ReadInteger(kSettingsSection, kLeftKey, (screen.Width - placement.Width) / 2);
    return placement;
}

void WriteWindowPlacement(TIniFile& ini, const TWindowPlacement& placement) {
    ini.WriteInteger(kSettingsSection, kWidthKey, placement.Width);
    ini.WriteInteger(kSettingsSection, kHeightKey, placement.Height);
    ini.WriteInteger(kSettingsSection, kTopKey, placement.Top);
    ini.WriteInteger(kSettingsSection, kLeftKey, placement.Left);
    ini.WriteBool(kSettingsSection, kMaximizedKey, placement.Maximized);
}

TProtectedFolders ReadProtectedFolders(const TIniFile& ini) {
    TProtectedFolders folders;
    for (std::string& path : ini.ReadSection(kProtectedFoldersSection)) {
        // Any non-empty value, not only "N", protects the folder alone.
        const bool alone = !ini.ReadString(kProtectedFoldersSection, path, "").empty();
        // A folder written by hand without its "/" would otherwise protect nothing.
        if (!path.ends_with('/'))
            path += '/';
        folders.push_back({std::move(path), !alone});
    }
    return folders;
}

void WriteProtectedFolders(TIniFile& ini, const TProtectedFolders& folders) {
    ini.EraseSection(kProtectedFoldersSection);
    for (const TProtectedFolder& folder : folders)
        if (TIniFile::CanStoreKey(folder.Path))
            ini.WriteString(kProtectedFoldersSection, folder.Path,
                            folder.Subfolders ? "" : kFolderAloneValue);
}

// The configuration file, with the keys of its protected folders compared exactly: on Linux
// "/data/Photos/" and "/data/photos/" are two folders.
TIniFile OpenConfigFile(const std::string& configFile) {
    TIniFile ini(configFile);
    ini.CompareKeysExactly(kProtectedFoldersSection);
    return ini;
}

void ProtectSystemFolders(TProtectedFolders& folders, const std::vector<std::string>& system) {
    for (const std::string& path : system) {
        const bool listed = std::any_of(folders.begin(), folders.end(), [&](const auto& folder) {
            return SameTextNoCase(folder.Path, path);
        });
        if (!listed)
            folders.push_back({path, true});
    }
}

// Returns whether anything was written.
bool WriteMissingDefaultFilters(TIniFile& ini) {
    bool written = false;
    for (const TNamedFilterText& filter : DefaultFilters()) {
        if (ini.ReadString(kFiltersSection, filter.Name, "").empty()) {
            ini.WriteString(kFiltersSection, filter.Name, filter.CriteriaHex);
            written = true;
        }
    }
    return written;
}

} // namespace

TSettings::TSettings() {
    for (const TSettingKey& key : kSettingKeys) {
        if (const auto* flag = std::get_if<TFlagKey>(&key.Value))
            this->*flag->Field = flag->Default;
        else if (const auto* text = std::get_if<TTextKey>(&key.Value))
            this->*text->Field = text->Default;
    }
}

std::vector<std::string> SystemFolders(const std::string& root) {
    std::vector<std::string> folders = {root + "usr/", root + "etc/", root + "boot/"};
    for (const char* name : {"bin", "sbin", "lib", "lib64"}) {
        std::error_code error;
        if (std::filesystem::symlink_status(root + name, error).type() ==
            std::filesystem::file_type::directory)
            folders.push_back(root + name + "/");
    }
    return folders;
}

namespace {

void ReadSettingsFrom(const TIniFile& ini, TSettings& settings,
                      const TSettingsEnvironment& environment) {
    ReadSettingKeys(ini, settings);
    if (environment.Screen)
        settings.Window = ReadWindowPlacement(ini, *environment.Screen);
    else
        settings.Window.reset();
    settings.ProtectedFolders = ReadProtectedFolders(ini);
    if (ini.ReadBool(kConfigSection, kFirstTimeKey, true))
        ProtectSystemFolders(settings.ProtectedFolders, environment.SystemFolders);
    settings.SavedProfiles = TSavedProfiles::ReadFrom(ini);

    SearchCriteria defaults = settings.Criteria;
    defaults.CompareMode = cmNone;
    settings.Criteria = ReadProfile(ini, defaults);
    ApplyEmptyListDefaults(settings.Criteria, environment.FixedDriveRoots);
}

} // namespace

void LoadSettings(const std::string& configFile, TSettings& settings,
                  const TSettingsEnvironment& environment) {
    TIniFile ini = OpenConfigFile(configFile);
    ReadSettingsFrom(ini, settings, environment);
    // The only write at start comes last, so that a failure leaves every setting read.
    if (WriteMissingDefaultFilters(ini))
        ini.UpdateFile();
}

void ReadSettings(const std::string& configFile, TSettings& settings,
                  const TSettingsEnvironment& environment) {
    ReadSettingsFrom(OpenConfigFile(configFile), settings, environment);
}

void SaveSettings(const std::string& configFile, const TSettings& settings) {
    TIniFile ini = OpenConfigFile(configFile);
    WriteProfile(ini, settings.Criteria);
    WriteSettingKeys(ini, settings);
    if (settings.Window)
        WriteWindowPlacement(ini, *settings.Window);
    settings.SavedProfiles.WriteTo(ini);
    WriteProtectedFolders(ini, settings.ProtectedFolders);
    ini.WriteBool(kConfigSection, kFirstTimeKey, false);
    ini.UpdateFile();
}

bool IsFirstShow(const std::string& configFile) {
    return TIniFile(configFile).ReadBool(kConfigSection, kFirstShowKey, true);
}

void MarkFirstShown(const std::string& configFile) {
    TIniFile ini(configFile);
    ini.WriteBool(kConfigSection, kFirstShowKey, false);
    ini.UpdateFile();
}

} // namespace quorvane
